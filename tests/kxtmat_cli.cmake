# The command-line host, run as a child process on the sample installation.
kxtmat_add_test(kxtmat_cli_test SAMPLE
  SOURCES kxtmat_cli_test.cpp support/json_reader.cpp support/kxtmat_run.cpp support/temp_dir.cpp
  LIBS kxtmat_platform ${KXTMAT_PUGIXML})
target_compile_definitions(kxtmat_cli_test PRIVATE KXTMAT_CLI="$<TARGET_FILE:kxtmat>")
add_dependencies(kxtmat_cli_test kxtmat)
