# `make deb`: one Debian package of everything `cmake --install` puts under /usr (the library,
# header, pkg-config module and CMake package, the game, the runner, desktop entry, icons and
# manual pages). The libraries it needs at run time come from dpkg-shlibdeps; the fonts are
# named, since the text is drawn with them.
if(NOT EASEL_INSTALL)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME virtual-chilly)
set(CPACK_PACKAGE_VERSION ${EASEL_VERSION})
set(CPACK_PACKAGE_VENDOR "EASEL")
set(CPACK_PACKAGE_CONTACT "EASEL maintainers <chilly@easel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "VIRTUAL CHILLY!! snowman game and the EASEL graphics package")
set(CPACK_PACKAGE_DESCRIPTION
    "A family of snowmen walks, glides or hops across the seasons, and melts when spring comes.
The game is built on EASEL, a small graphics package for C and C++ programs: windows, a
pull-style event stream, shapes and text in 24 colours, a Run menu, recorded scripts.
Included: the game (virtual-chilly), the library with its header, pkg-config module and
CMake package, and easel-run, which runs any EASEL program without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-liberation2")
# easel-grade --sandbox runs student programs under bubblewrap.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bubblewrap")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
