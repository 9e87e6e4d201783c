# Run by `cmake --install` (see Install.cmake): writes easel.pc (and easel-static.pc) for the prefix being installed
# to, which may differ from the one the build was configured with. A program built against a
# private prefix (not /usr or /usr/local) finds the shared library again through an rpath, so it
# runs without LD_LIBRARY_PATH.
# In: EASEL_PC_TEMPLATE, EASEL_PC_OUTPUT, EASEL_VERSION, EASEL_PC_LIBS_PRIVATE,
#     CMAKE_INSTALL_LIBDIR, CMAKE_INSTALL_INCLUDEDIR, and CMAKE_INSTALL_PREFIX (the install's).
set(EASEL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(EASEL_PC_RPATH "")
if(NOT EASEL_PC_PREFIX STREQUAL "/usr" AND NOT EASEL_PC_PREFIX STREQUAL "/usr/local")
  set(EASEL_PC_RPATH " -Wl,-rpath,\${libdir}")
endif()
configure_file("${EASEL_PC_TEMPLATE}" "${EASEL_PC_OUTPUT}" @ONLY)
# The static library's module beside it (easel-static.pc from easel-static.pc.in).
get_filename_component(template_dir "${EASEL_PC_TEMPLATE}" DIRECTORY)
get_filename_component(output_dir "${EASEL_PC_OUTPUT}" DIRECTORY)
configure_file("${template_dir}/easel-static.pc.in" "${output_dir}/easel-static.pc" @ONLY)
