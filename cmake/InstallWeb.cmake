# The web kit: what `make install-web` puts under the prefix so that a program in its own folder
# becomes a page (easel-web, or easel_add_web_page() under emcmake).
#
# Layout, beside the native package and never over it (both may be installed in one prefix, and
# the Debian packages easel-dev and easel-web-dev share no file):
#   lib/wasm32-emscripten/libeasel.a            the package for WebAssembly, FreeType and entry in it
#   lib/wasm32-emscripten/cmake/EASEL/          the CMake package: emscripten's toolchain sets
#                                               CMAKE_LIBRARY_ARCHITECTURE to wasm32-emscripten,
#                                               so find_package(EASEL) there looks in this folder
#                                               first, and a native find_package never does
#   include/wasm32-emscripten/easel.h           the header (the native one is include/easel.h)
#   share/easel-web/                            web host JavaScript, page template, page.js,
#                                               page.css, the Latin-1 fonts, emcc's link options
#   bin/easel-web, share/man/man1/easel-web.1   a program (C or C++) to a page
#   share/doc/easel/examples/web/               a project template using easel_add_web_page()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(EASEL_WEB_TRIPLET wasm32-emscripten)
set(EASEL_WEB_LIB_DIR ${CMAKE_INSTALL_LIBDIR}/${EASEL_WEB_TRIPLET})
set(EASEL_WEB_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/${EASEL_WEB_TRIPLET})
set(EASEL_WEB_CMAKE_DIR ${EASEL_WEB_LIB_DIR}/cmake/EASEL)
set(EASEL_WEB_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/easel-web)

install(TARGETS easel_static ARCHIVE DESTINATION ${EASEL_WEB_LIB_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/easel/include/easel/easel.h DESTINATION ${EASEL_WEB_INCLUDE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/platform/hosts/web/web_host.js
              ${PROJECT_SOURCE_DIR}/web/page/program.html.in ${PROJECT_SOURCE_DIR}/web/page/page.js
              ${PROJECT_SOURCE_DIR}/web/page/page.css
        DESTINATION ${EASEL_WEB_SHARE_DIR})
install(FILES ${EASEL_WEB_FONT_FILES} DESTINATION ${EASEL_WEB_SHARE_DIR}/fonts)

# The link options every page takes, one a line, for easel-web: the same list as the CMake
# function's.
include(${PROJECT_SOURCE_DIR}/cmake/EASELWeb.cmake)
string(JOIN "\n" link_options ${EASEL_WEB_LINK_OPTIONS})
file(WRITE ${PROJECT_BINARY_DIR}/kit/link-options "${link_options}\n")
install(FILES ${PROJECT_BINARY_DIR}/kit/link-options DESTINATION ${EASEL_WEB_SHARE_DIR})
install(PROGRAMS ${PROJECT_SOURCE_DIR}/tools/easel-web DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/easel-web.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

configure_package_config_file(
  ${CMAKE_CURRENT_LIST_DIR}/EASELWebConfig.cmake.in ${PROJECT_BINARY_DIR}/kit/EASELConfig.cmake
  INSTALL_DESTINATION ${EASEL_WEB_CMAKE_DIR}
  PATH_VARS EASEL_WEB_LIB_DIR EASEL_WEB_INCLUDE_DIR EASEL_WEB_SHARE_DIR)
# Made under emcmake, the version file accepts only a 32-bit build: a native project never takes
# the web kit for its package.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/kit/EASELConfigVersion.cmake
                                 VERSION ${EASEL_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/kit/EASELConfig.cmake ${PROJECT_BINARY_DIR}/kit/EASELConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/EASELWeb.cmake
        DESTINATION ${EASEL_WEB_CMAKE_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/examples/web/CMakeLists.txt
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/easel/examples/web)
