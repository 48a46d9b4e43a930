# Cross build for 64-bit Windows with Debian's MinGW-w64 (POSIX threads flavour).
#
# Every binary is linked fully statically (libgcc, libstdc++ and winpthread included), so that
# ostrel_v4_64.dll, the tests and ostrel-sim.exe import only system DLLs: without it the DLL needs
# libwinpthread-1.dll and a host refuses to load it. Tests and tools run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSTREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${OSTREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${OSTREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${OSTREL_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSTREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The C runtime here is msvcrt, whose printf family formats differently from C99 (three-digit
# exponents, no %zu in older versions); MinGW's own conforming implementation keeps the
# simulator's output identical to the Linux build. Wine's own msvcrt prints C99 exponents, so
# running under Wine alone would not show the difference.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")

# Tests and ostrel-sim.exe run through Wine. `wine` picks the 64-bit loader for a PE32+ file.
find_program(OSTREL_WINE wine)
if(OSTREL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTREL_WINE})
endif()

# RapidJSON is header-only and target-neutral, so the build machine's copy serves. It is reached
# through a directory that holds nothing else: putting /usr/include itself on the include path
# would shadow MinGW's own C and C++ headers.
if(NOT CMAKE_IN_TRY_COMPILE AND EXISTS /usr/include/rapidjson/document.h)
  set(_ostrel_rapidjson_dir "${CMAKE_BINARY_DIR}/build-host-headers")
  if(NOT EXISTS "${_ostrel_rapidjson_dir}/rapidjson/document.h")
    file(MAKE_DIRECTORY "${_ostrel_rapidjson_dir}")
    file(CREATE_LINK /usr/include/rapidjson "${_ostrel_rapidjson_dir}/rapidjson" SYMBOLIC)
  endif()
  set(RAPIDJSON_INCLUDE "${_ostrel_rapidjson_dir}" CACHE PATH "Directory holding rapidjson/")
endif()

# GoogleTest is built from Debian's sources for the target (tests/CMakeLists.txt).
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  set(OSTREL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources to build")
endif()
