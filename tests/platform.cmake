# Tests of the platform layer.
kxtmat_add_test(platform_text_test SOURCES platform_text_test.cpp LIBS kxtmat_platform)
kxtmat_add_test(platform_files_test SOURCES platform_files_test.cpp LIBS kxtmat_platform)
