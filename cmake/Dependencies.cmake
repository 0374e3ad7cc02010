# Every library the game uses comes from Debian's -dev packages through
# pkg-config; a missing one stops configuration with the module's name.
# The page's are Emscripten's own or built from Debian's sources.
if(EMSCRIPTEN)
  include(${CMAKE_CURRENT_LIST_DIR}/web/Dependencies.cmake)
  return()
endif()
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

# A cross build for Windows takes them from the static prefix that
# scripts/windows/build-deps.sh builds, as the same targets.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDependencies.cmake)
  return()
endif()

function(bv_pkg alias)
  pkg_check_modules(${alias}_PKG REQUIRED IMPORTED_TARGET ${ARGN})
  add_library(BV::${alias} INTERFACE IMPORTED GLOBAL)
  target_link_libraries(BV::${alias} INTERFACE PkgConfig::${alias}_PKG)
endfunction()

bv_pkg(SDL sdl)
bv_pkg(SDLImage SDL_image)
bv_pkg(SDLTTF SDL_ttf)
bv_pkg(GLEW glew)
bv_pkg(GL gl glu)
bv_pkg(X11 x11)
bv_pkg(TinyXML tinyxml)
bv_pkg(PortAudio portaudio-2.0)
bv_pkg(Vorbis vorbisfile vorbis ogg)
bv_pkg(VorbisEnc vorbisenc)
bv_pkg(ALSA alsa)
bv_pkg(ZLIB zlib)
