# The Windows game's own parts, for the cross build (cmake/toolchains/
# mingw-w64.cmake): the exe's resources (icon, version, manifest) and the two
# things a player downloads:
#   BrickVoyagerWindowsZip        build-windows/BrickVoyager-<version>-windows-x64.zip
#   BrickVoyagerWindowsInstaller  build-windows/BrickVoyager-<version>-setup.exe (NSIS)
# The icon is packed at build time from the PNGs tools/icongen drew for Linux,
# so both systems show the same artwork.
if(NOT TARGET BrickVoyager)
  return()
endif()
enable_language(RC)

set(BV_WINDOWS_SOURCE ${CMAKE_SOURCE_DIR}/packaging/windows)
set(BV_WINDOWS_OUT ${CMAKE_BINARY_DIR}/windows)
file(MAKE_DIRECTORY ${BV_WINDOWS_OUT})

# Windows versions have four numbers; the project's missing ones are 0.
set(BV_VERSION_PARTS ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
  ${PROJECT_VERSION_TWEAK})
list(TRANSFORM BV_VERSION_PARTS REPLACE "^$" "0")
list(APPEND BV_VERSION_PARTS 0 0 0 0)
list(SUBLIST BV_VERSION_PARTS 0 4 BV_VERSION_PARTS)
list(JOIN BV_VERSION_PARTS "." BV_VERSION_QUAD)
list(JOIN BV_VERSION_PARTS "," BV_VERSION_COMMAS)

# Largest first: Explorer takes the first image that is large enough.
set(BV_ICON_PNGS)
foreach(size 256 128 64 48)
  list(APPEND BV_ICON_PNGS ${CMAKE_SOURCE_DIR}/cmake/install/icons/${size}x${size}/BrickVoyager.png)
endforeach()
set(BV_WINDOWS_ICO ${BV_WINDOWS_OUT}/BrickVoyager.ico)
add_custom_command(OUTPUT ${BV_WINDOWS_ICO}
  COMMAND sh ${BV_WINDOWS_SOURCE}/make-ico.sh ${BV_WINDOWS_ICO} ${BV_ICON_PNGS}
  DEPENDS ${BV_WINDOWS_SOURCE}/make-ico.sh ${BV_ICON_PNGS}
  COMMENT "Packing the icon's PNGs into BrickVoyager.ico"
  VERBATIM)
add_custom_target(BrickVoyagerWindowsIcon DEPENDS ${BV_WINDOWS_ICO})

set(BV_WINDOWS_MANIFEST ${BV_WINDOWS_OUT}/BrickVoyager.exe.manifest)
configure_file(${BV_WINDOWS_SOURCE}/BrickVoyager.exe.manifest.in ${BV_WINDOWS_MANIFEST} @ONLY)
configure_file(${BV_WINDOWS_SOURCE}/BrickVoyager.rc.in ${BV_WINDOWS_OUT}/BrickVoyager.rc @ONLY)
target_sources(BrickVoyager PRIVATE ${BV_WINDOWS_OUT}/BrickVoyager.rc)
set_source_files_properties(${BV_WINDOWS_OUT}/BrickVoyager.rc PROPERTIES
  OBJECT_DEPENDS "${BV_WINDOWS_ICO};${BV_WINDOWS_MANIFEST}")
add_dependencies(BrickVoyager BrickVoyagerWindowsIcon)
# A program of the Windows subsystem: started from Explorer it opens no
# console window (the entry function attaches to a terminal's console).
set_target_properties(BrickVoyager PROPERTIES WIN32_EXECUTABLE ON)

# The texts go out with Windows line ends, for Notepad before Windows 10.
configure_file(${BV_WINDOWS_SOURCE}/README-Windows.txt.in ${BV_WINDOWS_OUT}/README-Windows.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${BV_WINDOWS_OUT}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# The folder the zip holds, laid out as the game expects: the exe beside
# Contents/Resources. Made anew each time, so that nothing stale goes along.
set(BV_WINDOWS_PACKAGE BrickVoyager-${PROJECT_VERSION}-windows-x64)
set(BV_WINDOWS_STAGE ${CMAKE_BINARY_DIR}/stage/${BV_WINDOWS_PACKAGE})
set(BV_WINDOWS_ZIP ${CMAKE_BINARY_DIR}/${BV_WINDOWS_PACKAGE}.zip)
add_custom_target(BrickVoyagerWindowsZip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/stage ${BV_WINDOWS_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${BV_WINDOWS_STAGE}
  COMMAND ${CMAKE_STRIP} -o ${BV_WINDOWS_STAGE}/BrickVoyager.exe $<TARGET_FILE:BrickVoyager>
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${BV_RESOURCES_DIR} ${BV_WINDOWS_STAGE}/Contents/Resources
  COMMAND ${CMAKE_COMMAND} -E copy ${BV_WINDOWS_OUT}/README-Windows.txt ${BV_WINDOWS_OUT}/LICENSE.txt
    ${BV_WINDOWS_STAGE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/stage
    ${CMAKE_COMMAND} -E tar cf ${BV_WINDOWS_ZIP} --format=zip ${BV_WINDOWS_PACKAGE}
  DEPENDS BrickVoyager
  COMMENT "Packing ${BV_WINDOWS_PACKAGE}.zip"
  VERBATIM)
# The music is copied by a target of its own, which a build of the game alone
# does not run.
if(TARGET BrickVoyagerMusicResource)
  add_dependencies(BrickVoyagerWindowsZip BrickVoyagerMusicResource)
endif()

find_program(BV_MAKENSIS makensis)
if(BV_MAKENSIS)
  set(BV_WINDOWS_SETUP ${CMAKE_BINARY_DIR}/BrickVoyager-${PROJECT_VERSION}-setup.exe)
  add_custom_target(BrickVoyagerWindowsInstaller
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${BV_WINDOWS_STAGE} -DOUT=${BV_WINDOWS_OUT}
      -P ${BV_WINDOWS_SOURCE}/NsisFileLists.cmake
    COMMAND ${BV_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DVERSION_QUAD=${BV_VERSION_QUAD}
      -DFILES=${BV_WINDOWS_OUT} -DICON=${BV_WINDOWS_ICO} -DOUTFILE=${BV_WINDOWS_SETUP}
      ${BV_WINDOWS_SOURCE}/installer.nsi
    DEPENDS BrickVoyagerWindowsZip
    COMMENT "Making BrickVoyager-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
else()
  message(STATUS "makensis is not installed: no installer (scripts/windows.sh installs it)")
endif()
