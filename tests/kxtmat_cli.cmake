# The command-line host, run as a child process on the sample installation.
find_package(nlohmann_json 3.11 REQUIRED)
kxtmat_add_test(kxtmat_cli_test SAMPLE
  SOURCES kxtmat_cli_test.cpp support/kxtmat_run.cpp support/temp_dir.cpp
  LIBS kxtmat_platform nlohmann_json::nlohmann_json)
target_compile_definitions(kxtmat_cli_test PRIVATE KXTMAT_CLI="$<TARGET_FILE:kxtmat>" KXTMAT_VERSION="${PROJECT_VERSION}")
add_dependencies(kxtmat_cli_test kxtmat)
