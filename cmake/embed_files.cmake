# embed_files(OUTPUT DIR FILE...) writes OUTPUT, a header with each FILE of DIR
# as a byte array named after the file (page.js -> page_js) and a string_view
# over it. The header is rewritten only when its text changes.
function(embed_files output dir)
  file(RELATIVE_PATH from ${CMAKE_SOURCE_DIR} ${dir})
  set(text "#pragma once\n// Made from ${from}; edit those files.\n#include <string_view>\n\n")
  foreach(file ${ARGN})
    get_filename_component(name ${file} NAME)
    string(MAKE_C_IDENTIFIER ${name} id)
    file(READ ${dir}/${file} bytes HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
    string(APPEND text "inline constexpr char ${id}_bytes[] = {${bytes}0};\n"
                       "inline constexpr std::string_view ${id}{${id}_bytes, sizeof ${id}_bytes - 1};\n")
  endforeach()
  file(CONFIGURE OUTPUT ${output} CONTENT "${text}" @ONLY)
endfunction()
