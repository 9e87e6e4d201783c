# The game's resources on Windows: its icon (the one the Linux package installs, drawn by the
# Linux build's chilly-icon; `make windows` draws it first and names its folder in
# CHILLY_ICON_DIR), made into one .ico with ImageMagick, and its version information.
# Sets CHILLY_WINDOWS_RESOURCES, the .rc file the game is linked with.
set(CHILLY_ICON_DIR "" CACHE PATH
    "The game's icon as PNG files (hicolor/SIZExSIZE/apps/virtual-chilly.png), from the Linux build")
set(icon_pngs)
foreach(size 256 128 64 48)
  list(APPEND icon_pngs ${CHILLY_ICON_DIR}/hicolor/${size}x${size}/apps/virtual-chilly.png)
endforeach()
list(GET icon_pngs -1 smallest_png)
if(NOT CHILLY_ICON_DIR OR NOT EXISTS "${smallest_png}")
  message(FATAL_ERROR "no icon in CHILLY_ICON_DIR='${CHILLY_ICON_DIR}': configure with `make windows`, "
                      "which draws it with the Linux build first")
endif()
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)

# Windows picks the size it shows: 16 and 32 pixels for title bars and lists, scaled down from
# the drawn 48-pixel one; the larger ones as drawn.
set(CHILLY_ICO ${PROJECT_BINARY_DIR}/virtual-chilly.ico)
add_custom_command(OUTPUT ${CHILLY_ICO}
                   COMMAND ${IMAGEMAGICK_CONVERT} ${icon_pngs} "(" ${smallest_png} -resize 32x32 ")"
                           "(" ${smallest_png} -resize 16x16 ")" ${CHILLY_ICO}
                   DEPENDS ${icon_pngs}
                   COMMENT "Making the game's Windows icon" VERBATIM)

string(REPLACE "." "," CHILLY_VERSION_COMMAS "${EASEL_VERSION}.0")
set(CHILLY_WINDOWS_RESOURCES ${PROJECT_BINARY_DIR}/virtual-chilly.rc)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/virtual-chilly.rc.in
               ${CHILLY_WINDOWS_RESOURCES} @ONLY)
set_source_files_properties(${CHILLY_WINDOWS_RESOURCES} PROPERTIES OBJECT_DEPENDS ${CHILLY_ICO})
