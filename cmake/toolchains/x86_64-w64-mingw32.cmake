# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads)
# compilers. What it builds runs under Wine, the build's test emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KXTMAT_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KXTMAT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KXTMAT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KXTMAT_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${KXTMAT_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${KXTMAT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The GCC, C++ and threads runtimes go into each DLL and program, so that
# they need nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)

find_program(KXTMAT_WINE wine)
if(KXTMAT_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KXTMAT_WINE})
endif()


# Wine shows the build machine's root as drive Z:, so the programs it runs
# name the build's files with that drive before the path.
set(KXTMAT_TARGET_PATH_PREFIX Z:)
