# easel_add_web_page(): an EASEL program as a web page, NAME.html with NAME.js and NAME.wasm,
# built with emscripten. The same file serves this project's own pages (make web) and, installed
# with the web kit, a program's own project (find_package(EASEL) under emcmake).
#
# Before it is included, the includer sets:
#   EASEL_WEB_HOST_JS    the web host's JavaScript, linked into every page (--pre-js)
#   EASEL_WEB_PAGE_DIR   the page's template (program.html.in), page.js and page.css
#   EASEL_WEB_FONT_DIR   the fonts every page carries (embedded, as /fonts/NAME)
#   EASEL_WEB_LIBRARY    the target of the package built for WebAssembly

# The fonts the desktop finds through fontconfig; the page has no fontconfig, and the package's
# font table names these files.
set(EASEL_WEB_FONTS DejaVuSans.ttf DejaVuSansMono.ttf LiberationSans-Regular.ttf)

# The link options of every page, without the paths (easel-web reads them from the kit too).
# The program's wait suspends on a promise, and the stack it unwinds through needs room. Nothing
# lives in the first 64 KiB, as on Windows: a class name pointer below 0x10000 is taken for an
# atom. Bulk memory and SIMD: memcpy and pixel loops at the machine's own speed (every current
# browser has both).
set(EASEL_WEB_LINK_OPTIONS
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536 -sGLOBAL_BASE=65536 -sALLOW_MEMORY_GROWTH=1
    -sEXIT_RUNTIME=1 -sENVIRONMENT=web "-sEXPORTED_RUNTIME_METHODS=['FS']" -mbulk-memory -msimd128)

# easel_add_web_page(TARGET [TITLE text] [SCRIPT file] [OUTPUT_DIRECTORY dir])
# TARGET is an executable of the program's sources (C or C++, WinMain or its own main). Its page
# goes to OUTPUT_DIRECTORY (default: the target's binary directory), with page.js and page.css;
# SCRIPT is copied beside it as TARGET.scr, so TARGET.html?script=TARGET.scr plays it.
function(easel_add_web_page target)
  cmake_parse_arguments(PARSE_ARGV 1 page "" "TITLE;SCRIPT;OUTPUT_DIRECTORY" "")
  if(page_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "easel_add_web_page: unknown arguments ${page_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT page_TITLE)
    set(page_TITLE ${target})
  endif()
  if(NOT page_OUTPUT_DIRECTORY)
    set(page_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(options ${EASEL_WEB_LINK_OPTIONS} "SHELL:--pre-js ${EASEL_WEB_HOST_JS}")
  set(depends ${EASEL_WEB_HOST_JS})
  foreach(font ${EASEL_WEB_FONTS})
    # SHELL: keeps the repeated option from being folded into one.
    list(APPEND options "SHELL:--embed-file ${EASEL_WEB_FONT_DIR}/${font}@/fonts/${font}")
    list(APPEND depends ${EASEL_WEB_FONT_DIR}/${font})
  endforeach()
  target_link_libraries(${target} PRIVATE ${EASEL_WEB_LIBRARY})
  target_link_options(${target} PRIVATE ${options})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${page_OUTPUT_DIRECTORY}
                                             SUFFIX ".js" LINK_DEPENDS "${depends}")
  # The template's @PROGRAM@ and @TITLE@, HTML-escaped.
  set(PROGRAM ${target})
  string(REPLACE "&" "&amp;" TITLE "${page_TITLE}")
  string(REPLACE "<" "&lt;" TITLE "${TITLE}")
  string(REPLACE ">" "&gt;" TITLE "${TITLE}")
  configure_file(${EASEL_WEB_PAGE_DIR}/program.html.in ${page_OUTPUT_DIRECTORY}/${target}.html @ONLY)
  configure_file(${EASEL_WEB_PAGE_DIR}/page.js ${page_OUTPUT_DIRECTORY}/page.js COPYONLY)
  configure_file(${EASEL_WEB_PAGE_DIR}/page.css ${page_OUTPUT_DIRECTORY}/page.css COPYONLY)
  if(page_SCRIPT)
    get_filename_component(script "${page_SCRIPT}" ABSOLUTE)
    configure_file(${script} ${page_OUTPUT_DIRECTORY}/${target}.scr COPYONLY)
  endif()
endfunction()
