# The game as a page: the script, the WebAssembly and the data (levels,
# music) written beside index.html into BV_WEB_PAGE_DIR, a folder any static
# server can host as it is. Included by the top CMakeLists.txt when building
# with Emscripten (cmake/web/Toolchain.cmake).
set(BV_WEB_PAGE_DIR ${CMAKE_BINARY_DIR}/page CACHE PATH "Where the page's files are written")
# The main loop under Asyncify runs as on the desktop, waiting in SDL_Delay;
# without it the browser calls one pass of the loop per animation frame.
option(BV_WEB_ASYNCIFY "Keep the desktop's main loop, suspended in SDL_Delay by Asyncify" OFF)

# Programs run at build time (the resource embedder) run under node with the
# real file system of the machine. Compiled synchronously: this Emscripten's
# asynchronous start fetches the .wasm by URL, which a node that has fetch
# refuses for a file path.
set_property(TARGET BrickVoyagerEmbed APPEND PROPERTY LINK_OPTIONS -sNODERAWFS=1 -sWASM_ASYNC_COMPILATION=0)
# The manual page is the desktop package's; its maker would need the same.
if(TARGET BrickVoyagerManual)
  set_target_properties(BrickVoyagerManual PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()

if(TARGET BrickVoyager)
  set_target_properties(BrickVoyager PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${BV_WEB_PAGE_DIR})
  add_dependencies(BrickVoyager BrickVoyagerLevels BrickVoyagerMusicResource)
  target_link_options(BrickVoyager PRIVATE
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web
    # The game finds its files in <executable's folder>/Contents/Resources;
    # on the page the executable's folder is the root of the file system.
    "SHELL:--preload-file ${BV_RESOURCES_DIR}@/Contents/Resources"
    # The settings and the journey live in a folder kept in IndexedDB.
    -lidbfs.js
    -sFORCE_FILESYSTEM=1
    "SHELL:-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency']"
    # The heap held now, which the soak reads beside the memory's size
    # (src/platform/web/HeapInUse.cpp; nothing else refers to it).
    "SHELL:-sEXPORTED_FUNCTIONS=['_main','_bvHeapInUse']"
    -sEXIT_RUNTIME=0)
  if(BV_WEB_ASYNCIFY)
    target_link_options(BrickVoyager PRIVATE -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536)
    # The loop's code asks for the variant it runs in.
    foreach(target BrickVoyager BrickVoyagerShell BrickVoyagerPlatform)
      if(TARGET ${target})
        target_compile_definitions(${target} PUBLIC BV_WEB_ASYNCIFY)
      endif()
    endforeach()
  endif()

  # The page itself, copied whenever it changes, and the game's own icon for
  # the browser's tab (a page without one has the browser ask for a
  # favicon.ico that is not there).
  set(BV_WEB_SOURCE ${CMAKE_SOURCE_DIR}/packaging/web)
  set(BV_WEB_COPIES)
  foreach(pair index.html=index.html page.js=page.js page.css=page.css
               ../../cmake/install/icons/48x48/BrickVoyager.png=icon.png)
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 source)
    list(GET pair 1 file)
    add_custom_command(OUTPUT ${BV_WEB_PAGE_DIR}/${file}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${BV_WEB_SOURCE}/${source} ${BV_WEB_PAGE_DIR}/${file}
      DEPENDS ${BV_WEB_SOURCE}/${source}
      COMMENT "Copying the page's ${file}"
      VERBATIM)
    list(APPEND BV_WEB_COPIES ${BV_WEB_PAGE_DIR}/${file})
  endforeach()
  add_custom_target(BrickVoyagerPage ALL DEPENDS ${BV_WEB_COPIES})
endif()
