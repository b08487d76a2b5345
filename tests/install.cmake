# The install rules: a consumer finds the installed module through its CMake
# package and its pkg-config file. Sanitizer builds are skipped: the consumer
# would need the same runtime. A Windows build's consumer is built with the
# same toolchain against the import library and headers alone (the CMake
# package) and run under the emulator; its DLL's exports are checked.
find_program(KXTMAT_PKG_CONFIG pkg-config)
if(WIN32)
  add_test(NAME install_consumer
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK_DIR=${CMAKE_BINARY_DIR}/install_check -DGENERATOR=${CMAKE_GENERATOR}
            -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE} "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DPROGRAMS=consumer_cmake
            -P ${PROJECT_SOURCE_DIR}/tests/install_consumer/install_check.cmake)
  add_test(NAME dll_exports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:kxTerraMatU>
            -DINCLUDE_DIR=${PROJECT_SOURCE_DIR}/include -P ${PROJECT_SOURCE_DIR}/tests/dll_exports_check.cmake)
elseif(KXTMAT_SANITIZE OR NOT KXTMAT_PKG_CONFIG)
  message(STATUS "install check skipped (sanitizer build or no pkg-config)")
else()
  add_test(NAME install_consumer
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -DWORK_DIR=${CMAKE_BINARY_DIR}/install_check -DGENERATOR=${CMAKE_GENERATOR}
            -DCXX=${CMAKE_CXX_COMPILER} -P ${PROJECT_SOURCE_DIR}/tests/install_consumer/install_check.cmake)
endif()
