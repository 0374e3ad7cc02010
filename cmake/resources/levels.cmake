# The shipped levels file, copied beside the executable whenever it changes.
set(BV_LEVELS_SOURCE ${CMAKE_SOURCE_DIR}/resources/levels.xml)
set(BV_LEVELS_COPY ${BV_RESOURCES_DIR}/levels.xml)
add_custom_command(OUTPUT ${BV_LEVELS_COPY}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BV_RESOURCES_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${BV_LEVELS_SOURCE} ${BV_LEVELS_COPY}
  DEPENDS ${BV_LEVELS_SOURCE}
  COMMENT "Copying levels.xml into Contents/Resources")
add_custom_target(BrickVoyagerLevels DEPENDS ${BV_LEVELS_COPY})
add_dependencies(BrickVoyagerGame BrickVoyagerLevels)
