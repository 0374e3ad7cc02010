# cmake --install build --prefix DIR gives:
#   DIR/lib/BrickVoyager/BrickVoyager           the game
#   DIR/lib/BrickVoyager/Contents/Resources/    levels.xml, sounds/music.ogg
#   DIR/bin/BrickVoyager                        a link to the game
#   DIR/share/applications/BrickVoyager.desktop
#   DIR/share/icons/hicolor/<size>/apps/BrickVoyager.png
# The game finds its resources beside its own executable (through the link
# too), so it runs from any working directory.
set(BV_INSTALL_APP_DIR lib/BrickVoyager)

install(TARGETS BrickVoyager RUNTIME DESTINATION ${BV_INSTALL_APP_DIR})
# The resources are made by the build into BV_RESOURCES_DIR; whatever is
# there goes along.
install(DIRECTORY ${BV_RESOURCES_DIR}/ DESTINATION ${BV_INSTALL_APP_DIR}/Contents/Resources
  OPTIONAL)

set(BV_INSTALL_DATA ${CMAKE_CURRENT_LIST_DIR}/install)
file(GLOB BV_ICON_SIZES RELATIVE ${BV_INSTALL_DATA}/icons ${BV_INSTALL_DATA}/icons/*)
foreach(size IN LISTS BV_ICON_SIZES)
  install(FILES ${BV_INSTALL_DATA}/icons/${size}/BrickVoyager.png
    DESTINATION share/icons/hicolor/${size}/apps)
endforeach()

# The link and the desktop entry name the installed place, which is known
# only when installing (--prefix).
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${bin}\")
  message(STATUS \"Installing: \${bin}/BrickVoyager\")
  file(CREATE_LINK ../${BV_INSTALL_APP_DIR}/BrickVoyager \"\${bin}/BrickVoyager\" SYMBOLIC)

  set(BV_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/BrickVoyager\")
  configure_file(\"${BV_INSTALL_DATA}/BrickVoyager.desktop.in\"
    \"${CMAKE_BINARY_DIR}/install/BrickVoyager.desktop\" @ONLY)
  file(INSTALL \"${CMAKE_BINARY_DIR}/install/BrickVoyager.desktop\"
    DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
")
