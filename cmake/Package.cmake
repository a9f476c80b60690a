# The Debian package: `cpack -G DEB` in a build folder makes
# tresselby_<version>_<architecture>.deb holding the install tree under /usr,
# with its dependencies found by dpkg-shlibdeps, its copyright and changelog,
# and the manual pages compressed (PackageStage.cmake.in). The desktop's databases
# (file types, launchers, icons) are brought up to date by the triggers of
# the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tresselby)
set(CPACK_PACKAGE_VERSION ${TRESSELBY_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tresselby developers")
set(CPACK_PACKAGE_CONTACT "The Tresselby developers <developers@tresselby.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diagram editor for equipment and its wiring")
set(CPACK_PACKAGE_DESCRIPTION
    "A small, fast desktop diagram editor for drawing equipment and how it is
wired together: shapes, text, junction points and pictures joined by lines
and arrows that follow them. Diagrams are saved as .tsb files and exported
as JPEG, PNG, PDF or SVG, or as a from-to wiring list for a spreadsheet.
tresselby-convert converts diagrams without a display, also to JSON.")
# The files go under /usr, staged through DESTDIR, so the install does not
# build the desktop's databases into the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tresselby.example.org/)
configure_file(${CMAKE_CURRENT_LIST_DIR}/PackageStage.cmake.in
               ${CMAKE_BINARY_DIR}/PackageStage.cmake @ONLY)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_BINARY_DIR}/PackageStage.cmake)
include(CPack)
