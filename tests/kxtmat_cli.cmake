# The command-line host, run as a child process on the sample installation.
kxtmat_add_test(kxtmat_cli_test SAMPLE
  SOURCES kxtmat_cli_test.cpp support/kxtmat_run.cpp support/registry_hive.cpp support/temp_dir.cpp
  LIBS kxtmat_platform nlohmann_json::nlohmann_json)
target_compile_definitions(kxtmat_cli_test PRIVATE KXTMAT_CLI="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxtmat>" KXTMAT_VERSION="${PROJECT_VERSION}")
add_dependencies(kxtmat_cli_test kxtmat)
