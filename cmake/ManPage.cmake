# The manual page brickvoyager.6, written at build time from the README's own
# sections by tools/manpage, so that the page and the README say the same.
# Each pair is the page's section and the README heading it takes whole.
add_executable(BrickVoyagerManPage ${CMAKE_SOURCE_DIR}/tools/manpage/manpage.cpp)

set(BV_MANPAGE ${CMAKE_BINARY_DIR}/install/brickvoyager.6)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install)
set(BV_MANPAGE_SECTIONS OPTIONS=Options KEYS=Controls "MORE KEYS=More keys, and the journey kept"
  "FILES=Where things live" "FILE LIMITS=What the game takes from files")
add_custom_command(OUTPUT ${BV_MANPAGE} ${BV_MANPAGE}.gz
  COMMAND BrickVoyagerManPage ${CMAKE_SOURCE_DIR}/README.md ${BV_MANPAGE} brickvoyager
    "Brick Voyager ${PROJECT_VERSION}" ${BV_MANPAGE_SECTIONS}
  # Debian wants manual pages compressed, and -n keeps the time stamp out.
  COMMAND gzip -9nkf ${BV_MANPAGE}
  DEPENDS BrickVoyagerManPage ${CMAKE_SOURCE_DIR}/README.md
  COMMENT "Writing the manual page from README.md"
  VERBATIM)
add_custom_target(BrickVoyagerManual ALL DEPENDS ${BV_MANPAGE})
