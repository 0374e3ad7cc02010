# The music track, copied beside the executable whenever the committed file
# changes; install takes it from there with the rest of Contents/Resources.
set(BV_MUSIC_SOURCE ${CMAKE_SOURCE_DIR}/resources/sounds/music.ogg)
set(BV_MUSIC_OUTPUT ${BV_RESOURCES_DIR}/sounds/music.ogg)
add_custom_command(
  OUTPUT ${BV_MUSIC_OUTPUT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BV_RESOURCES_DIR}/sounds
  COMMAND ${CMAKE_COMMAND} -E copy ${BV_MUSIC_SOURCE} ${BV_MUSIC_OUTPUT}
  DEPENDS ${BV_MUSIC_SOURCE}
  COMMENT "Copying the music to ${BV_MUSIC_OUTPUT}"
  VERBATIM)
add_custom_target(BrickVoyagerMusicResource ALL DEPENDS ${BV_MUSIC_OUTPUT})
