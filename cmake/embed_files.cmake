# Writes OUTPUT, a header with each of FILES (a ;-list) as a byte array named
# after the file (page.js -> page_js) and a string_view over it. Run with -P.
set(text "#pragma once\n// Made at build time from ${FILES_DIR}; edit those files.\n#include <string_view>\n\n")
foreach(file ${FILES})
  get_filename_component(name ${file} NAME)
  string(MAKE_C_IDENTIFIER ${name} id)
  file(READ ${FILES_DIR}/${file} bytes HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
  string(APPEND text "inline constexpr char ${id}_bytes[] = {${bytes}0};\n"
                     "inline constexpr std::string_view ${id}{${id}_bytes, sizeof ${id}_bytes - 1};\n")
endforeach()
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
