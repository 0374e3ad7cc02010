# Cross-compiles for 64-bit Windows on Debian with MinGW-w64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
#         -DBV_WINDOWS_DEPS=<prefix printed by scripts/windows/build-deps.sh>
# The -posix compilers are the ones whose C++ library has std::thread. Headers,
# libraries and pkg-config files are looked for in the dependency prefix and
# the MinGW sysroot only, never in the build machine's /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(BV_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BV_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BV_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${BV_MINGW_HOST}-windres)
# CMake cannot tell the binutils' prefix from the -posix compiler names.
set(CMAKE_AR ${BV_MINGW_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${BV_MINGW_HOST}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${BV_MINGW_HOST}-strip CACHE FILEPATH "")
set(CMAKE_OBJDUMP ${BV_MINGW_HOST}-objdump CACHE FILEPATH "")

# CMake reads this file again for each check it compiles; the prefix must
# reach those runs too.
if(NOT BV_WINDOWS_DEPS AND DEFINED ENV{BV_WINDOWS_DEPS})
  set(BV_WINDOWS_DEPS $ENV{BV_WINDOWS_DEPS})
endif()
set(BV_WINDOWS_DEPS "${BV_WINDOWS_DEPS}" CACHE PATH "Prefix of the libraries scripts/windows/build-deps.sh built")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BV_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH ${BV_WINDOWS_DEPS} /usr/${BV_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(BV_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} ${BV_WINDOWS_DEPS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()

# libgcc, libstdc++ and winpthread linked in: the exe needs no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine where it is installed.
find_program(BV_WINE wine)
if(BV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BV_WINE})
endif()
