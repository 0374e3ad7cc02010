# The Debian package of the game, made by CPack from the BV_DEBIAN_LAYOUT
# install (scripts/package.sh): brickvoyager_<version>_<arch>.deb.
set(BV_MAINTAINER "The Brick Voyager developers <developers@brickvoyager.org>")
execute_process(COMMAND date -u -R -d ${BV_RELEASE_DATE}
  OUTPUT_VARIABLE BV_RELEASE_DATE_CHANGELOG OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)
configure_file(${BV_INSTALL_DATA}/changelog.in ${CMAKE_BINARY_DIR}/install/changelog @ONLY)
# Compressed at configure time with -n, so the package does not change with
# the time it was built.
execute_process(COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/install/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_BINARY_DIR}/install/changelog.gz DESTINATION share/doc/brickvoyager)

# The copyright file carries the licence from LICENSE, in Debian's
# machine-readable form: a continuation line for each line, "." for a blank.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE BV_LICENSE_TEXT)
string(FIND "${BV_LICENSE_TEXT}" "Permission" BV_LICENSE_START)
string(SUBSTRING "${BV_LICENSE_TEXT}" ${BV_LICENSE_START} -1 BV_LICENSE_TEXT)
string(STRIP "${BV_LICENSE_TEXT}" BV_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" BV_LICENSE_TEXT "${BV_LICENSE_TEXT}")
string(REPLACE "\n" "\n " BV_LICENSE_TEXT " ${BV_LICENSE_TEXT}")
configure_file(${BV_INSTALL_DATA}/copyright.in ${CMAKE_BINARY_DIR}/install/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/copyright DESTINATION share/doc/brickvoyager)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brickvoyager)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${BV_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small, quiet platform game of breathing blocks")
# CPack puts the summary on the first line itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A little figure walks, jumps and falls across pale green screens of white
blocks that slowly swell and shrink, looking for the dark door that leads on
to the next plane of the world. Each plane is a two by two arrangement of
screens that wrap around; each is a little greyer than the last, and a calm
piece of music loops underneath. It is played with the arrow keys or a
joystick, in a window or full screen.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Depends comes from the libraries the executable really links
# (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game draws through OpenGL, which needs a driver at run time that no
# library names; Mesa's is the one that works everywhere, software included,
# but a machine with another vendor's driver does without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1-mesa-dri)
# The install names /usr in the desktop entry, so it must run with the real
# prefix and DESTDIR pointing at the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
