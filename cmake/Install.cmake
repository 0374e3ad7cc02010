# cmake --install build --prefix DIR gives:
#   DIR/lib/BrickVoyager/BrickVoyager           the game
#   DIR/lib/BrickVoyager/Contents/Resources/    levels.xml, sounds/music.ogg
#   DIR/bin/BrickVoyager                        a link to the game
#   DIR/share/applications/BrickVoyager.desktop
#   DIR/share/icons/hicolor/<size>/apps/BrickVoyager.png
# With BV_DEBIAN_LAYOUT (the package, prefix /usr) the game is laid out as
# Debian lays out games:
#   /usr/lib/games/brickvoyager/BrickVoyager    the game, beside Contents/Resources
#   /usr/games/brickvoyager                     a link to the game
#   /usr/share/applications/<BV_APP_ID>.desktop
#   /usr/share/metainfo/<BV_APP_ID>.metainfo.xml
#   /usr/share/man/man6/brickvoyager.6.gz
#   /usr/share/doc/brickvoyager/copyright, changelog.gz
# and cmake/Package.cmake makes the .deb of it.
# The game finds its resources beside its own executable (through the link
# too), so it runs from any working directory.

# Windows has no such layout: cmake/Windows.cmake makes the zip and the
# installer instead.
if(WIN32)
  return()
endif()

# The name software centres know the game by; the desktop entry and the
# metainfo of the package are named after it.
set(BV_APP_ID org.brickvoyager.BrickVoyager)
# The day this version was released; the metainfo and the package's
# changelog say it.
set(BV_RELEASE_DATE 2026-12-07)
set(BV_INSTALL_DATA ${CMAKE_CURRENT_LIST_DIR}/install)

if(BV_DEBIAN_LAYOUT)
  set(BV_INSTALL_APP_DIR lib/games/brickvoyager)
  set(BV_INSTALL_COMMAND games/brickvoyager)
  set(BV_DESKTOP_NAME ${BV_APP_ID})
else()
  set(BV_INSTALL_APP_DIR lib/BrickVoyager)
  set(BV_INSTALL_COMMAND bin/BrickVoyager)
  set(BV_DESKTOP_NAME BrickVoyager)
endif()

install(TARGETS BrickVoyager RUNTIME DESTINATION ${BV_INSTALL_APP_DIR})
# The resources are made by the build into BV_RESOURCES_DIR; whatever is
# there goes along.
install(DIRECTORY ${BV_RESOURCES_DIR}/ DESTINATION ${BV_INSTALL_APP_DIR}/Contents/Resources
  OPTIONAL)

file(GLOB BV_ICON_SIZES RELATIVE ${BV_INSTALL_DATA}/icons ${BV_INSTALL_DATA}/icons/*)
foreach(size IN LISTS BV_ICON_SIZES)
  install(FILES ${BV_INSTALL_DATA}/icons/${size}/BrickVoyager.png
    DESTINATION share/icons/hicolor/${size}/apps)
endforeach()

# The link and the desktop entry name the installed place, which is known
# only when installing (--prefix). The link is relative, so the installed
# tree can be moved (and packaged) as a whole.
get_filename_component(BV_COMMAND_DIR ${BV_INSTALL_COMMAND} DIRECTORY)
file(RELATIVE_PATH BV_LINK_TARGET /${BV_COMMAND_DIR} /${BV_INSTALL_APP_DIR}/BrickVoyager)
install(CODE "
  set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${BV_INSTALL_COMMAND}\")
  get_filename_component(dir \"\${link}\" DIRECTORY)
  file(MAKE_DIRECTORY \"\${dir}\")
  message(STATUS \"Installing: \${link}\")
  file(CREATE_LINK ${BV_LINK_TARGET} \"\${link}\" SYMBOLIC)

  set(BV_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${BV_INSTALL_COMMAND}\")
  configure_file(\"${BV_INSTALL_DATA}/BrickVoyager.desktop.in\"
    \"${CMAKE_BINARY_DIR}/install/${BV_DESKTOP_NAME}.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/install/${BV_DESKTOP_NAME}.desktop\"
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")

# Every build makes the manual page, so that a README that no longer has a
# section the page takes its text from fails the build where it is changed.
include(${CMAKE_CURRENT_LIST_DIR}/ManPage.cmake)

if(BV_DEBIAN_LAYOUT)
  configure_file(${BV_INSTALL_DATA}/BrickVoyager.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/install/${BV_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/install/${BV_APP_ID}.metainfo.xml DESTINATION share/metainfo)
  install(FILES ${BV_MANPAGE}.gz DESTINATION share/man/man6)
  include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
endif()
