# What the Windows build installs (`make windows` installs into build/windows/) and what
# `make windows-zip` packs from it (CPack, ZIP): EASEL-<version>-win64/ holding the game, one
# file; README-Windows.txt; easel.dll and its import library, libeasel.a, easel.h, the CMake
# package and easel.pc; the examples with their sources, scripts and programs (these take the
# package from the easel.dll beside them). Every path is relative, so the folder works wherever
# it is unpacked.
include(CMakePackageConfigHelpers)

set(EASEL_CMAKE_DIR lib/cmake/EASEL)

install(TARGETS virtual-chilly RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README-Windows.txt DESTINATION .)
foreach(licence LICENSE LICENSE.txt COPYING)
  if(EXISTS ${PROJECT_SOURCE_DIR}/${licence})
    install(FILES ${PROJECT_SOURCE_DIR}/${licence} DESTINATION . RENAME LICENSE.txt)
  endif()
endforeach()

# The package. A program built with find_package(EASEL) links as a GUI program (no console
# window), whether it has WinMain or its own main().
set_target_properties(easel PROPERTIES EXPORT_NAME easel)
set_target_properties(easel_static PROPERTIES EXPORT_NAME easel_static)
foreach(library easel easel_static)
  target_include_directories(${library} INTERFACE $<INSTALL_INTERFACE:include>)
  target_link_options(${library} INTERFACE $<INSTALL_INTERFACE:-mwindows>)
endforeach()
install(TARGETS easel EXPORT EASELTargets RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(TARGETS easel_static EXPORT EASELStaticTargets ARCHIVE DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/easel/include/easel/easel.h DESTINATION include)
install(EXPORT EASELTargets NAMESPACE EASEL:: DESTINATION ${EASEL_CMAKE_DIR})
install(EXPORT EASELStaticTargets NAMESPACE EASEL:: DESTINATION ${EASEL_CMAKE_DIR})
set(EASEL_STATIC_MODULES "")
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/EASELConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/EASELConfig.cmake
                              INSTALL_DESTINATION ${EASEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/EASELConfigVersion.cmake
                                 VERSION ${EASEL_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/EASELConfig.cmake ${PROJECT_BINARY_DIR}/EASELConfigVersion.cmake
        DESTINATION ${EASEL_CMAKE_DIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/easel-windows.pc.in ${PROJECT_BINARY_DIR}/easel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/easel.pc DESTINATION lib/pkgconfig)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME EASEL)
set(CPACK_PACKAGE_VERSION ${EASEL_VERSION})
set(CPACK_PACKAGE_FILE_NAME EASEL-${EASEL_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
