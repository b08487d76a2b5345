# The manager's loading, custom library changes and favourites, each program
# on a small temporary installation of its own, in English and in French; and
# the sample installation loaded as the host loads it, in three languages.
set(manager_test_support manager_loading_fixture.cpp support/temp_installation.cpp support/temp_dir.cpp support/live_objects.cpp
                         support/registry_hive.cpp)

# kxtmat_add_manager_test(NAME SOURCE LANGUAGES languages...)
# The first language is the plain ctest entry; each further one is a second
# run of the same program with the suffix .<language>.
function(kxtmat_add_manager_test name source)
  cmake_parse_arguments(ARG "" "" "LANGUAGES;SUPPORT" ${ARGN})
  list(POP_FRONT ARG_LANGUAGES first)
  kxtmat_add_test(${name} SAMPLE SOURCES ${source} ${ARG_SUPPORT} LIBS kxtmat_manager ENV KXT_LANGUAGE=${first})
  foreach(language IN LISTS ARG_LANGUAGES)
    kxtmat_discover_tests(${name} TEST_SUFFIX .${language}
                         PROPERTIES ENVIRONMENT "KXT_LANGUAGE=${language}")
  endforeach()
endfunction()

kxtmat_add_manager_test(manager_loading_test manager_loading_test.cpp
  SUPPORT ${manager_test_support} LANGUAGES english french)
kxtmat_add_manager_test(manager_custom_changes_test manager_custom_changes_test.cpp
  SUPPORT ${manager_test_support} LANGUAGES english french)
kxtmat_add_manager_test(manager_favourites_test manager_favourites_test.cpp
  SUPPORT ${manager_test_support} LANGUAGES english french)
kxtmat_add_manager_test(manager_sample_test manager_sample_test.cpp
  SUPPORT support/temp_dir.cpp LANGUAGES english french german)
