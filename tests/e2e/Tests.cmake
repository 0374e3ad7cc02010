# End-to-end tests: the built game started as a player starts it, each test
# with an X server and a home folder of its own.
if(NOT TARGET BrickVoyager)
  return()
endif()

file(GLOB BV_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
foreach(source IN LISTS BV_E2E_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(${name} PRIVATE BrickVoyagerTestSupport GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE BV_GAME_PATH="$<TARGET_FILE:BrickVoyager>")
  add_dependencies(${name} BrickVoyager)
  add_test(NAME ${name} COMMAND ${name})
  # A sanitized game unloads the GL driver and ALSA's plugins before the leak
  # check runs, which then blames their bookkeeping on nameless modules that
  # no suppression can name. The game's own code is leak-checked in-process
  # by ApplicationTest, so neither the game started from here nor the test
  # around it checks.
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=x11"
    ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::detect_leaks=0" TIMEOUT 600)
endforeach()

# Heard in real time through JACK while the game itself keeps a core busy
# drawing: anything else running beside it could make the server miss its
# deadlines and drop the game's client.
if(TARGET GameSoundEndToEndTest)
  set_tests_properties(GameSoundEndToEndTest PROPERTIES RUN_SERIAL TRUE)
endif()
