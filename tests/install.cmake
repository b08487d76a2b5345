# The install rules: a consumer finds the installed module through its CMake
# package and its pkg-config file. Sanitizer builds are skipped: the consumer
# would need the same runtime.
find_program(KXTMAT_PKG_CONFIG pkg-config)
if(KXTMAT_SANITIZE OR NOT KXTMAT_PKG_CONFIG)
  message(STATUS "install check skipped (sanitizer build or no pkg-config)")
else()
  add_test(NAME install_consumer
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK_DIR=${CMAKE_BINARY_DIR}/install_check -DGENERATOR=${CMAKE_GENERATOR}
            -DCXX=${CMAKE_CXX_COMPILER} -P ${PROJECT_SOURCE_DIR}/tests/install_consumer/install_check.cmake)
endif()
