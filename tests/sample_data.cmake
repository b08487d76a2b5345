# Consistency checks of the sample installation's data files.
kxtmat_add_test(sample_data_test SOURCES sample_data_test.cpp support/temp_dir.cpp LIBS kxtmat_platform ${KXTMAT_PUGIXML})
