# The game's desktop icon, drawn at build time by the game's own code on the headless host
# (tools/chilly_icon.cpp) into ${CHILLY_ICON_DIR}/hicolor/<size>/apps/virtual-chilly.png.
set(CHILLY_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set(CHILLY_ICON_SIZES 48 64 128 256)

add_executable(chilly-icon ${PROJECT_SOURCE_DIR}/tools/chilly_icon.cpp)
target_link_libraries(chilly-icon PRIVATE chilly_game easel_static PkgConfig::LIBPNG)

set(CHILLY_ICON_FILES)
foreach(size ${CHILLY_ICON_SIZES})
  list(APPEND CHILLY_ICON_FILES ${CHILLY_ICON_DIR}/hicolor/${size}x${size}/apps/virtual-chilly.png)
endforeach()
add_custom_command(OUTPUT ${CHILLY_ICON_FILES}
                   COMMAND chilly-icon ${CHILLY_ICON_DIR}
                   DEPENDS chilly-icon
                   COMMENT "Drawing the game's icon")
add_custom_target(chilly_icons ALL DEPENDS ${CHILLY_ICON_FILES})
