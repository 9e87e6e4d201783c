# The browser build (make web: emcmake, Debian's emscripten): what it needs before the window
# system and the package are configured. FreeType comes built for WebAssembly by
# scripts/web-deps.sh; the fonts the desktop finds through fontconfig are cut to Latin-1 here.
set(EASEL_FREETYPE_DIR "" CACHE PATH "FreeType built for WebAssembly (scripts/web-deps.sh)")
set(EASEL_WEB_OUT "${CMAKE_BINARY_DIR}/site" CACHE PATH "Where the pages go")
set(EASEL_FONT_DIR /usr/share/fonts/truetype CACHE PATH "Debian's TrueType fonts, embedded in the pages")

# Bulk memory: memcpy and memset become single instructions that run at the machine's own copy
# speed; SIMD: loops over pixels (the page's colour conversion, fills, blends) take four at a time.
# Every current browser has both; pixels are the hot paths.
add_compile_options(-mbulk-memory -msimd128)

# Found by path: the toolchain confines find_library and find_file to emscripten's own root.
set(EASEL_FREETYPE_ARCHIVE "${EASEL_FREETYPE_DIR}/lib/libfreetype.a")
if(NOT EXISTS "${EASEL_FREETYPE_ARCHIVE}")
  message(FATAL_ERROR "no FreeType for WebAssembly at ${EASEL_FREETYPE_ARCHIVE}: run scripts/web-deps.sh")
endif()
add_library(web_freetype INTERFACE)
target_include_directories(web_freetype INTERFACE ${EASEL_FREETYPE_DIR}/include/freetype2)
# FreeType's objects go into libeasel.a itself, so that a page links the one archive: taken out
# of FreeType's archive when configuring, again whenever that archive changes.
# Only then: fresh objects would make every page link again.
set(EASEL_FREETYPE_OBJECT_DIR ${CMAKE_BINARY_DIR}/freetype-objects)
file(TIMESTAMP ${EASEL_FREETYPE_ARCHIVE} archive_time "%s" UTC)
set(extracted_from "${EASEL_FREETYPE_ARCHIVE} ${archive_time}")
set(stamp ${EASEL_FREETYPE_OBJECT_DIR}.stamp)
set(extracted "")
if(EXISTS ${stamp})
  file(READ ${stamp} extracted)
endif()
if(NOT extracted STREQUAL extracted_from)
  file(REMOVE_RECURSE ${EASEL_FREETYPE_OBJECT_DIR})
  file(MAKE_DIRECTORY ${EASEL_FREETYPE_OBJECT_DIR})
  execute_process(COMMAND ${CMAKE_AR} x ${EASEL_FREETYPE_ARCHIVE}
                  WORKING_DIRECTORY ${EASEL_FREETYPE_OBJECT_DIR} COMMAND_ERROR_IS_FATAL ANY)
  file(WRITE ${stamp} "${extracted_from}")
endif()
file(GLOB EASEL_FREETYPE_OBJECTS ${EASEL_FREETYPE_OBJECT_DIR}/*)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${EASEL_FREETYPE_ARCHIVE})

# The fonts cut to the Latin-1 codes that the package's text can hold (its characters are bytes):
# a third of the page's size, and the same pixels (fonts.test.js checks every glyph at sizes
# 1-128 and five larger ones against the full files).
find_program(PYFTSUBSET pyftsubset)
if(NOT PYFTSUBSET)
  message(FATAL_ERROR "no pyftsubset: install the Debian package fonttools (scripts/web-deps.sh)")
endif()
set(EASEL_WEB_FONT_DIR ${CMAKE_BINARY_DIR}/fonts)
set(EASEL_WEB_FONT_FILES "")
set(font_list "")
foreach(font dejavu/DejaVuSans.ttf dejavu/DejaVuSansMono.ttf liberation2/LiberationSans-Regular.ttf)
  set(path "${EASEL_FONT_DIR}/${font}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "no font ${path}: install fonts-dejavu-core and fonts-liberation2")
  endif()
  get_filename_component(file ${font} NAME)
  set(subset "${EASEL_WEB_FONT_DIR}/${file}")
  add_custom_command(
    OUTPUT ${subset}
    COMMAND ${PYFTSUBSET} ${path} --unicodes=U+0000-00FF --notdef-outline
            --drop-tables+=FFTM --output-file=${subset}
    DEPENDS ${path}
    COMMENT "Cutting ${file} to Latin-1")
  list(APPEND EASEL_WEB_FONT_FILES ${subset})
  string(APPEND font_list "${path} ${subset}\n")
endforeach()
add_custom_target(easel_web_fonts ALL DEPENDS ${EASEL_WEB_FONT_FILES})
# Each embedded font beside the file it was cut from, for fonts.test.js.
file(WRITE ${EASEL_WEB_FONT_DIR}/fonts.txt "${font_list}")
