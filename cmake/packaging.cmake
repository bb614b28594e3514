# make package: CPack builds a Debian package on Linux (everything that cmake --install
# puts in place) and, in the Windows build, an NSIS installer and a plain zip that
# hold only morv.scr.
set(CPACK_PACKAGE_NAME morv)
set(CPACK_PACKAGE_VENDOR morv)
set(CPACK_PACKAGE_CONTACT "morv developers <morv@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "full-screen screensaver with German texts, and the zvgfx graphics library")
set(CPACK_PACKAGE_DESCRIPTION
  "morv draws a tower and a credit line that move over the screen until a key or the\n"
  "mouse ends it. This package holds the saver (morv), morv-render, which writes the\n"
  "saver's frames to PNG or GIF files, and morv-hack for XScreenSaver and\n"
  "xsecurelock, with its settings file and manual page; and, for developers, zvgfx,\n"
  "the 2-D graphics library the saver is built on, with its headers, a CMake package\n"
  "and a pkg-config file.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY morv)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR "NSIS;ZIP")
  # The installer's own code and the Program Files folder follow the saver's width.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME morv-${PROJECT_VERSION}-win64)
    set(CPACK_NSIS_ZV_TARGET amd64-unicode)
    set(CPACK_NSIS_ZV_PROGRAM_FILES "$PROGRAMFILES64")
  else()
    set(CPACK_PACKAGE_FILE_NAME morv-${PROJECT_VERSION}-win32)
    set(CPACK_NSIS_ZV_TARGET x86-unicode)
    set(CPACK_NSIS_ZV_PROGRAM_FILES "$PROGRAMFILES")
  endif()
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  # The packages take only the saver file, at their top.
  install(TARGETS morv RUNTIME DESTINATION . COMPONENT windows_package EXCLUDE_FROM_ALL)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};morv;windows_package;/")
  # Our own installer script (cmake/packaging/NSIS.template.in) in place of CPack's.
  set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
  set(CPACK_NSIS_COMPRESSOR lzma)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # What a program built against the library needs besides it.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libx11-dev, libxext-dev, libxrandr-dev, libxpresent-dev, g++, cmake | pkgconf, xscreensaver | xsecurelock")
endif()
include(CPack)
