# The same BV:: targets as for the desktop, made for Emscripten. SDL 1.2,
# SDL_image, SDL_ttf, GLEW and legacy OpenGL are Emscripten's own (its headers,
# its JavaScript libraries); libogg, libvorbis and TinyXML come from the prefix
# that scripts/web/build-deps.sh builds from Debian's sources. The page has
# no PortAudio, ALSA, X11, zlib or threads: those targets are empty, so that a
# target that still names them configures, and a source that still includes
# their headers fails to compile with the header's name.
set(BV_WEB_DEPS "" CACHE PATH "Prefix of the libraries scripts/web/build-deps.sh built")
if(NOT EXISTS "${BV_WEB_DEPS}/.built")
  message(FATAL_ERROR "BV_WEB_DEPS (${BV_WEB_DEPS}) holds no finished build of the web libraries: "
    "pass -DBV_WEB_DEPS=$(bash scripts/web/build-deps.sh)")
endif()

function(bv_web_target alias)
  cmake_parse_arguments(T "" "" "COMPILE;LINK;LINK_OPTIONS;INCLUDE" ${ARGN})
  add_library(BV::${alias} INTERFACE IMPORTED GLOBAL)
  if(T_COMPILE)
    target_compile_options(BV::${alias} INTERFACE ${T_COMPILE})
  endif()
  if(T_LINK)
    target_link_libraries(BV::${alias} INTERFACE ${T_LINK})
  endif()
  if(T_LINK_OPTIONS)
    target_link_options(BV::${alias} INTERFACE ${T_LINK_OPTIONS})
  endif()
  if(T_INCLUDE)
    target_include_directories(BV::${alias} SYSTEM INTERFACE ${T_INCLUDE})
  endif()
endfunction()

# Emscripten's SDL 1.2 headers live in include/SDL, which the desktop's
# pkg-config puts on the path as well (<SDL.h>, not <SDL/SDL.h>).
bv_web_target(SDL COMPILE -sUSE_SDL=1 INCLUDE ${EMSCRIPTEN_SYSROOT}/include/SDL LINK_OPTIONS -sUSE_SDL=1)
# The page decodes PNGs with stb_image (src/VellumDrawingLib/stb/), which
# Emscripten ships with its header and links with -sSTB_IMAGE=1; SDL_image on
# the web would decode through a 2-D canvas, which premultiplies alpha.
bv_web_target(SDLImage INCLUDE ${EMSCRIPTEN_ROOT_PATH}/third_party LINK_OPTIONS -sSTB_IMAGE=1)
bv_web_target(SDLTTF)
bv_web_target(GLEW)
# Fixed-function OpenGL 1.x through Emscripten's emulation on WebGL 1; the
# ARB and EXT names the drawer calls are mapped onto it by gl-names.js.
bv_web_target(GL LINK_OPTIONS -lGL -sLEGACY_GL_EMULATION=1
  "SHELL:--js-library ${CMAKE_CURRENT_LIST_DIR}/gl-names.js")
bv_web_target(TinyXML COMPILE -DTIXML_USE_STL INCLUDE ${BV_WEB_DEPS}/include
  LINK ${BV_WEB_DEPS}/lib/libtinyxml.a)
bv_web_target(Vorbis INCLUDE ${BV_WEB_DEPS}/include
  LINK ${BV_WEB_DEPS}/lib/libvorbisfile.a ${BV_WEB_DEPS}/lib/libvorbis.a ${BV_WEB_DEPS}/lib/libogg.a)
foreach(absent PortAudio ALSA X11 VorbisEnc ZLIB)
  bv_web_target(${absent})
endforeach()
if(NOT TARGET Threads::Threads)
  add_library(Threads::Threads INTERFACE IMPORTED GLOBAL)
endif()
