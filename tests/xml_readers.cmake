kxtmat_add_test(xml_readers_test
  SOURCES xml_readers_library_test.cpp xml_readers_process_test.cpp
          support/temp_dir.cpp support/resource_module.cpp
  LIBS kxtmat_xml)
# The process reader tests load the English stand-in resource module.
if(TARGET kxTerraMatResU_english)
  add_dependencies(xml_readers_test kxTerraMatResU_english)
endif()
