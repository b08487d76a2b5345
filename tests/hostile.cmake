# Hostile inputs. The 200 MB library runs only in the entry labelled "slow",
# which the test presets exclude (ctest -L slow in the build folder runs it).
kxtmat_add_test(hostile_test SAMPLE
  SOURCES hostile_test.cpp support/temp_installation.cpp support/temp_dir.cpp support/live_objects.cpp
  LIBS kxtmat_manager)
target_include_directories(hostile_test PRIVATE ${PROJECT_SOURCE_DIR})
add_test(NAME hostile_large_library
  COMMAND hostile_test --gtest_filter=HostileInputs/HostileInputTest.LoadsWithinBoundedTimeAndMemoryAsTheRulesSay/TwoHundredMegabyteLibrary)
set_tests_properties(hostile_large_library PROPERTIES LABELS slow ENVIRONMENT KXT_SLOW_TESTS=1 TIMEOUT 900)
