# Toolchain for the page: Debian's Emscripten (its own toolchain file does the
# work), plus what this machine's node needs to run Emscripten's optimiser.
#   cmake -S . -B build-web/cmake -DCMAKE_TOOLCHAIN_FILE=cmake/web/Toolchain.cmake
# A machine without Emscripten stops here with the package's name.
set(BV_EMSCRIPTEN_ROOT "/usr/share/emscripten" CACHE PATH "Where Debian's emscripten package lives")
set(_bv_emscripten_toolchain "${BV_EMSCRIPTEN_ROOT}/cmake/Modules/Platform/Emscripten.cmake")
if(NOT EXISTS "${_bv_emscripten_toolchain}")
  message(FATAL_ERROR "Emscripten's toolchain file is not at ${_bv_emscripten_toolchain}: "
    "install Debian's emscripten package (scripts/web.sh does)")
endif()
include("${_bv_emscripten_toolchain}")

# The optimiser that runs at link time (acorn-optimizer.js) requires acorn,
# which Debian installs under /usr/share/nodejs; a node that does not come
# from Debian does not look there by itself.
set(BV_NODE_PATH "/usr/share/nodejs" CACHE PATH "Where the linker's node finds Debian's node modules")
set(CMAKE_C_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=${BV_NODE_PATH}")
set(CMAKE_CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=${BV_NODE_PATH}")

# Programs the build runs (the resource embedder) are built for node too.
find_program(BV_NODE node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${BV_NODE}")

# The game reports a failed start by throwing; Emscripten compiles without
# catching unless asked.
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")
