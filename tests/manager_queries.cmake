# The manager's queries over databases built in memory; a temporary
# installation supplies the resource module for the default processes.
kxtmat_add_test(manager_queries_test SAMPLE
  SOURCES manager_queries_test.cpp support/temp_installation.cpp support/temp_dir.cpp
  LIBS kxtmat_manager
  ENV KXT_REGISTRY_FILE=${CMAKE_CURRENT_BINARY_DIR}/manager_queries_no_registry.reg)
