# The BV:: targets of cmake/Dependencies.cmake for a cross build for Windows,
# from the static prefix scripts/windows/build-deps.sh builds (the toolchain
# file points pkg-config there). A missing module stops configuration with
# its name, as on Linux.

# Static libraries bring what they need in turn only through their .pc files'
# private parts, so the link takes the --static set.
function(bv_pkg alias)
  pkg_check_modules(${alias}_PKG REQUIRED ${ARGN})
  set(cflags ${${alias}_PKG_STATIC_CFLAGS_OTHER})
  set(ldflags ${${alias}_PKG_STATIC_LDFLAGS})
  # The game has an entry function of its own, which calls SDL_main; SDL's
  # would take its place. A console or a window is each program's choice.
  list(REMOVE_ITEM cflags -Dmain=SDL_main)
  list(REMOVE_ITEM ldflags -lSDLmain -mwindows)
  add_library(BV::${alias} INTERFACE IMPORTED GLOBAL)
  target_include_directories(BV::${alias} INTERFACE ${${alias}_PKG_STATIC_INCLUDE_DIRS})
  target_compile_options(BV::${alias} INTERFACE ${cflags})
  target_link_libraries(BV::${alias} INTERFACE ${ldflags})
endfunction()

function(bv_system_libraries alias)
  add_library(BV::${alias} INTERFACE IMPORTED GLOBAL)
  target_link_libraries(BV::${alias} INTERFACE ${ARGN})
endfunction()

bv_pkg(SDL sdl)
# Debian's SDL_image and SDL_ttf cannot be built here: the drawing library
# decodes PNGs with libpng itself, with SDL_image's own transformations, and
# reads no font files (cmake/Platform.cmake picks libpng/ and nofonts/).
bv_pkg(SDLImage libpng)
bv_system_libraries(SDLTTF)
bv_pkg(GLEW glew)
bv_system_libraries(GL opengl32 glu32)
# Windows has neither X11 nor ALSA; the targets stay, empty.
bv_system_libraries(X11)
bv_pkg(TinyXML tinyxml)
bv_pkg(PortAudio portaudio-2.0)
bv_pkg(Vorbis vorbisfile vorbis ogg)
bv_pkg(VorbisEnc vorbisenc)
bv_system_libraries(ALSA)
bv_pkg(ZLIB zlib)
