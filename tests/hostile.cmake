# Hostile inputs, each loaded in a child process within bounded time and memory.
kxtmat_add_test(hostile_test SAMPLE
  SOURCES hostile_test.cpp support/temp_installation.cpp support/temp_dir.cpp support/live_objects.cpp support/registry_hive.cpp
  LIBS kxtmat_manager)
target_include_directories(hostile_test PRIVATE ${PROJECT_SOURCE_DIR})
