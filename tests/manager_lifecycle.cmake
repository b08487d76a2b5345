# The manager's lifecycle; it links the areas and loads a copy of the module
# from a temporary installation so that the module finds its resource module.
kxtmat_add_test(manager_lifecycle_test SAMPLE
  SOURCES manager_lifecycle_test.cpp support/temp_installation.cpp support/temp_dir.cpp
  LIBS kxtmat_manager)
