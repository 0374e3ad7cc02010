# Resources are committed as plain files and compiled in at build time: the
# bytes of each file become a const array in a namespace, with its exact size.
#
#   bv_embed(TARGET lib NAMESPACE Images HEADER Images.h FILES a.png b.png)
#
# gives, for a.png, `Images::a_png` (const unsigned char[]) and
# `Images::a_png_size` (const unsigned int) declared in the generated header
# <Images.h>, which is on the target's include path.
if(CMAKE_CROSSCOMPILING)
  # The embedder runs during the build, so it is built for this machine,
  # with its compiler, whenever its source changes.
  set(BV_EMBED_SOURCE ${CMAKE_SOURCE_DIR}/tools/embed/embed.cpp)
  set(BV_HOST_EMBED ${CMAKE_BINARY_DIR}/host/BrickVoyagerEmbed)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${BV_EMBED_SOURCE})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/host)
  execute_process(COMMAND c++ -std=c++17 -O1 -o ${BV_HOST_EMBED} ${BV_EMBED_SOURCE}
    RESULT_VARIABLE BV_HOST_EMBED_RESULT)
  if(NOT BV_HOST_EMBED_RESULT EQUAL 0)
    message(FATAL_ERROR "Could not build the embedder for this machine with c++")
  endif()
  add_executable(BrickVoyagerEmbed IMPORTED)
  set_target_properties(BrickVoyagerEmbed PROPERTIES IMPORTED_LOCATION ${BV_HOST_EMBED})
else()
  add_executable(BrickVoyagerEmbed ${CMAKE_SOURCE_DIR}/tools/embed/embed.cpp)
endif()

function(bv_embed)
  cmake_parse_arguments(E "" "TARGET;NAMESPACE;HEADER" "FILES" ${ARGN})
  set(outdir ${CMAKE_BINARY_DIR}/embedded/${E_TARGET})
  set(header ${outdir}/${E_HEADER})
  file(MAKE_DIRECTORY ${outdir})
  set(sources)
  set(symbols)
  foreach(file IN LISTS E_FILES)
    get_filename_component(abs ${file} ABSOLUTE)
    get_filename_component(name ${abs} NAME)
    string(MAKE_C_IDENTIFIER ${name} symbol)
    set(out ${outdir}/${symbol}.cpp)
    add_custom_command(OUTPUT ${out}
      COMMAND BrickVoyagerEmbed source ${E_NAMESPACE} ${symbol} ${abs} ${out}
      DEPENDS BrickVoyagerEmbed ${abs}
      COMMENT "Embedding ${name} as ${E_NAMESPACE}::${symbol}"
      VERBATIM)
    list(APPEND sources ${out})
    list(APPEND symbols ${symbol})
  endforeach()
  add_custom_command(OUTPUT ${header}
    COMMAND BrickVoyagerEmbed header ${E_NAMESPACE} ${header} ${symbols}
    DEPENDS BrickVoyagerEmbed
    COMMENT "Writing ${E_HEADER}"
    VERBATIM)
  target_sources(${E_TARGET} PRIVATE ${sources} ${header})
  target_include_directories(${E_TARGET} PUBLIC ${outdir})
endfunction()
