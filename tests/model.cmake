# Tests of the data model and the property search.
kxtmat_add_test(model_test
  SOURCES model_material_test.cpp
          model_db_test.cpp model_lookup_test.cpp model_search_test.cpp
  LIBS kxtmat_model)
# The cost criterion of the search is named by the English stand-in resource module.
if(TARGET kxTerraMatResU_english)
  add_dependencies(model_test kxTerraMatResU_english)
endif()
