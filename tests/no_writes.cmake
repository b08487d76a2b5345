# kxtmat under strace: the load and the queries open nothing for writing.
# Not in AddressSanitizer builds: LeakSanitizer cannot run under ptrace.
if(NOT "address" IN_LIST KXTMAT_SANITIZE)
  kxtmat_add_test(no_writes_test SAMPLE SOURCES no_writes_test.cpp support/temp_dir.cpp LIBS kxtmat_platform)
  target_compile_definitions(no_writes_test PRIVATE KXTMAT_CLI="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxtmat>")
  add_dependencies(no_writes_test kxtmat)
else()
  message(STATUS "no_writes_test left out: LeakSanitizer cannot run under ptrace")
endif()
