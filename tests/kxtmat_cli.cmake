# The command-line host, run as a child process on the sample installation.
kxtmat_add_test(kxtmat_cli_test SAMPLE
  SOURCES kxtmat_cli_test.cpp support/kxtmat_run.cpp support/registry_hive.cpp support/temp_dir.cpp
  LIBS kxtmat_platform nlohmann_json::nlohmann_json)
target_compile_definitions(kxtmat_cli_test PRIVATE KXTMAT_CLI="${KXTMAT_TARGET_PATH_PREFIX}$<TARGET_FILE:kxtmat>" KXTMAT_VERSION="${PROJECT_VERSION}")
add_dependencies(kxtmat_cli_test kxtmat)

# The same answers on Windows as on Linux: the Windows build runs its kxtmat
# under the emulator beside the Linux build's (KXTMAT_LINUX_BUILD_DIR).
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(KXTMAT_LINUX_BUILD_DIR ${PROJECT_SOURCE_DIR}/build/default CACHE PATH "The Linux build that the parity test compares with")
  add_test(NAME kxtmat_parity
    COMMAND ${CMAKE_COMMAND} -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
            -DWINDOWS_KXTMAT=$<TARGET_FILE:kxtmat> "-DWINDOWS_SAMPLE=${KXTMAT_TARGET_PATH_PREFIX}${KXTMAT_SAMPLE_DIR}"
            -DLINUX_KXTMAT=${KXTMAT_LINUX_BUILD_DIR}/kxtmat -DLINUX_SAMPLE=${KXTMAT_LINUX_BUILD_DIR}/sample
            -P ${PROJECT_SOURCE_DIR}/tests/kxtmat_parity.cmake)
endif()
