# kxtmat lint, run as a child process on small faulty files and on the sample installation.
kxtmat_add_test(lint_test SAMPLE
  SOURCES lint_test.cpp support/kxtmat_run.cpp support/registry_hive.cpp support/temp_dir.cpp
  LIBS kxtmat_platform nlohmann_json::nlohmann_json)
target_compile_definitions(lint_test PRIVATE KXTMAT_CLI="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxtmat>")
add_dependencies(lint_test kxtmat)
