# Tests of the platform layer.
kxtmat_add_test(platform_text_test SOURCES platform_text_test.cpp LIBS kxtmat_platform)
kxtmat_add_test(platform_files_test SOURCES platform_files_test.cpp support/temp_dir.cpp LIBS kxtmat_platform)

# A resource module that the module tests load at run time; it sits in a folder
# of its own, and the test program does not link it.
include(KxtmatStringTable)
kxtmat_resource_library(kxtTestRes OUTPUT_NAME kxtTestRes TABLE ${CMAKE_CURRENT_SOURCE_DIR}/platform_test_strings.inc
  DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/platform_modules/Lang)
kxtmat_add_test(platform_modules_test SOURCES platform_modules_test.cpp LIBS kxtmat_platform)
add_dependencies(platform_modules_test kxtTestRes)
target_compile_definitions(platform_modules_test PRIVATE KXT_TEST_MODULE_DIR="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE_DIR:kxtTestRes>")
kxtmat_add_test(platform_registry_test SOURCES platform_registry_test.cpp support/temp_dir.cpp support/registry_hive.cpp LIBS kxtmat_platform)

# The win32 implementation cannot run here, but it must compile against the
# real Windows API: a syntax check with the MinGW-w64 cross compiler.
find_program(KXTMAT_MINGW_CXX x86_64-w64-mingw32-g++-posix)
if(KXTMAT_MINGW_CXX)
  add_test(NAME platform_win32_syntax
    COMMAND ${KXTMAT_MINGW_CXX} -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror
            -I${PROJECT_SOURCE_DIR}/src -I${PROJECT_SOURCE_DIR}/include ${KXTMAT_PLATFORM_WIN32_SOURCES})
else()
  message(STATUS "MinGW-w64 C++ compiler not found: the win32 platform syntax check is skipped")
endif()
