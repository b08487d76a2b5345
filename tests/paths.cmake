# Path functions against a temporary installation, once per language setting:
# the language is remembered for the process. "italian" has no resource module.
kxtmat_add_test(paths_test SAMPLE
  SOURCES paths_test.cpp support/temp_installation.cpp support/temp_dir.cpp
  LIBS kxtmat_paths kxtmat_module)
kxtmat_discover_tests(paths_test TEST_PREFIX "french."
  PROPERTIES ENVIRONMENT "KXT_LANGUAGE=french")
kxtmat_discover_tests(paths_test TEST_PREFIX "italian."
  PROPERTIES ENVIRONMENT "KXT_LANGUAGE=italian")
