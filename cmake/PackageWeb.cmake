# `make deb`, when the web build is there: the web kit as its own Debian package, easel-web-dev,
# beside the native one (virtual-chilly) and sharing no file with it. WebAssembly is the same on
# every machine, so the package is for all architectures.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME easel-web-dev)
set(CPACK_PACKAGE_VERSION ${EASEL_VERSION})
set(CPACK_PACKAGE_VENDOR "EASEL")
set(CPACK_PACKAGE_CONTACT "EASEL maintainers <chilly@easel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "EASEL graphics package for web pages (WebAssembly)")
set(CPACK_PACKAGE_DESCRIPTION
    "The EASEL graphics package built for WebAssembly, with the page that runs a program, and
easel-web, which makes a page of a C or C++ EASEL program with Debian's emscripten, serves a
folder of pages and writes their index. Includes a CMake package for emcmake projects
(easel_add_web_page). With the native package installed, easel-web also draws each page's
first frame as its thumbnail.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "emscripten, python3")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "virtual-chilly (= ${EASEL_VERSION})")
include(CPack)
