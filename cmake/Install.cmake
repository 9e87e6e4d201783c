# What `cmake --install` (and `make install`) puts under the prefix: the EASEL library, shared
# and static, its header, a pkg-config module and a CMake package; the game with its desktop
# entry, icon and manual page; the runner and its manual page. Every file stays relative to the
# prefix, so one build installs anywhere (--prefix, DESTDIR, CPack's staging directory).
#
# In a program's own build (add_subdirectory of a checkout) nothing is installed unless
# EASEL_INSTALL is switched on.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# A browser build (emscripten) has nothing to install here, and its programs cannot run at
# build time to draw the icon.
set(easel_install_default ${PROJECT_IS_TOP_LEVEL})
if(EMSCRIPTEN)
  set(easel_install_default OFF)
endif()
option(EASEL_INSTALL "Install the EASEL package, the game and the runner" ${easel_install_default})
if(NOT EASEL_INSTALL)
  return()
endif()

set(EASEL_SOVERSION 2)
set(EASEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/EASEL)
set(EASEL_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The library. Both files are called libeasel, so `-leasel` finds one or the other.
set_target_properties(easel PROPERTIES VERSION ${EASEL_VERSION} SOVERSION ${EASEL_SOVERSION}
                                       EXPORT_NAME easel)
set_target_properties(easel_static PROPERTIES OUTPUT_NAME easel EXPORT_NAME easel_static)
target_include_directories(easel INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(easel_static INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS easel EXPORT EASELTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS easel_static EXPORT EASELStaticTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/easel/include/easel/easel.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# CMake package: find_package(EASEL) gives EASEL::easel (and EASEL::easel_static).
install(EXPORT EASELTargets NAMESPACE EASEL:: DESTINATION ${EASEL_CMAKE_DIR})
install(EXPORT EASELStaticTargets NAMESPACE EASEL:: DESTINATION ${EASEL_CMAKE_DIR})
# The pkg-config modules behind the static library's dependencies, as PREFIX:module pairs.
set(EASEL_STATIC_MODULES FREETYPE:freetype2 FONTCONFIG:fontconfig LIBPNG:libpng)
if(TARGET PkgConfig::SDL2)
  list(APPEND EASEL_STATIC_MODULES SDL2:sdl2)
endif()
string(REPLACE ";" " " EASEL_STATIC_MODULES "${EASEL_STATIC_MODULES}")
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/EASELConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/EASELConfig.cmake
                              INSTALL_DESTINATION ${EASEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/EASELConfigVersion.cmake
                                 VERSION ${EASEL_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/EASELConfig.cmake ${PROJECT_BINARY_DIR}/EASELConfigVersion.cmake
        DESTINATION ${EASEL_CMAKE_DIR})

# pkg-config module. Its prefix is the one in force when installing (cmake --install --prefix
# may name another than the build's), so the file is made by the install step itself.
# Libs.private lists what the static library needs besides itself, without naming other
# pkg-config modules, so that `pkg-config --libs easel` works where only the runtime libraries
# of SDL2, FreeType, fontconfig and libpng are installed.
set(EASEL_PC_LIBS_PRIVATE ${SDL2_LIBRARIES} ${FREETYPE_LIBRARIES} ${FONTCONFIG_LIBRARIES}
                          ${LIBPNG_LIBRARIES} stdc++ m)
list(REMOVE_DUPLICATES EASEL_PC_LIBS_PRIVATE)
list(TRANSFORM EASEL_PC_LIBS_PRIVATE PREPEND -l)
string(JOIN " " EASEL_PC_LIBS_PRIVATE ${EASEL_PC_LIBS_PRIVATE})
install(CODE "
  set(EASEL_PC_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/easel.pc.in\")
  set(EASEL_PC_OUTPUT \"${PROJECT_BINARY_DIR}/install/easel.pc\")
  set(EASEL_VERSION \"${EASEL_VERSION}\")
  set(EASEL_PC_LIBS_PRIVATE \"${EASEL_PC_LIBS_PRIVATE}\")
  set(CMAKE_INSTALL_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(CMAKE_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/WritePkgConfig.cmake\")
")
install(FILES ${PROJECT_BINARY_DIR}/install/easel.pc ${PROJECT_BINARY_DIR}/install/easel-static.pc
        DESTINATION ${EASEL_PC_DIR})

# Programs. They link the shared library, found from an installed program's own directory.
file(RELATIVE_PATH EASEL_BIN_TO_LIB /${CMAKE_INSTALL_BINDIR} /${CMAKE_INSTALL_LIBDIR})
set(EASEL_PROGRAMS virtual-chilly)
if(TARGET easel-run)
  list(APPEND EASEL_PROGRAMS easel-run)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/easel-run.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET easel-grade)
  list(APPEND EASEL_PROGRAMS easel-grade)
endif()
set_target_properties(${EASEL_PROGRAMS} PROPERTIES INSTALL_RPATH "$ORIGIN/${EASEL_BIN_TO_LIB}")
install(TARGETS ${EASEL_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The reference and the examples, for a student who has only the installed package: the API page
# as it is and as easel(3) (made with pandoc when the build has it), the example programs with
# their scripts, and a CMakeLists.txt that builds every program in a folder copied out of here.
set(EASEL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/easel)
install(FILES ${PROJECT_SOURCE_DIR}/docs/API.md DESTINATION ${EASEL_DOC_DIR})
find_program(PANDOC_PROGRAM pandoc)
if(PANDOC_PROGRAM)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/man/easel.3
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND ${PANDOC_PROGRAM} --standalone --from gfm --to man --metadata title=EASEL
            --metadata section=3 --metadata "header=EASEL graphics package" --metadata
            date=${EASEL_VERSION} ${PROJECT_SOURCE_DIR}/docs/API.md -o ${PROJECT_BINARY_DIR}/man/easel.3
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/API.md
    COMMENT "Making the easel(3) manual page from docs/API.md")
  add_custom_target(easel_man_page ALL DEPENDS ${PROJECT_BINARY_DIR}/man/easel.3)
  install(FILES ${PROJECT_BINARY_DIR}/man/easel.3 DESTINATION ${CMAKE_INSTALL_MANDIR}/man3)
else()
  message(WARNING "pandoc not found: the easel(3) manual page is not made (apt-get install pandoc)")
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${EASEL_DOC_DIR}/examples
        FILES_MATCHING PATTERN "*.c" PATTERN "*.cpp" PATTERN "*.scr"
        PATTERN "standalone" EXCLUDE PATTERN "web" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/examples/standalone/CMakeLists.txt DESTINATION ${EASEL_DOC_DIR}/examples)

# The game's place on the desktop: menu entry, icon at the theme's sizes, manual page.
include(${CMAKE_CURRENT_LIST_DIR}/Icon.cmake)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/virtual-chilly.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CHILLY_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/virtual-chilly.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Installed straight into the system's own prefix, the new shared library is made known to the
# dynamic linker at once (a package manager does this itself; DESTDIR means one is at work).
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\" AND CMAKE_INSTALL_PREFIX MATCHES \"^/usr(/local)?$\")
    execute_process(COMMAND ldconfig RESULT_VARIABLE ignored OUTPUT_QUIET ERROR_QUIET)
  endif()
")
