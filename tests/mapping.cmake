kxtmat_add_test(mapping_test
  SOURCES mapping_tables_test.cpp mapping_din_test.cpp support/temp_dir.cpp support/resource_module.cpp
  LIBS kxtmat_mapping)
# The table tests load the English stand-in resource module.
if(TARGET kxTerraMatResU_english)
  add_dependencies(mapping_test kxTerraMatResU_english)
endif()
