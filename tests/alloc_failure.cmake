# Memory exhaustion at every allocation of a load; the program replaces the
# global allocation functions, so it has its own process.
kxtmat_add_test(alloc_failure_test SAMPLE
  SOURCES alloc_failure_test.cpp support/temp_installation.cpp support/temp_dir.cpp support/live_objects.cpp support/registry_hive.cpp
  LIBS kxtmat_manager)
target_include_directories(alloc_failure_test PRIVATE ${PROJECT_SOURCE_DIR})
