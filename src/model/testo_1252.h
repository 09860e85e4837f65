#pragma once
// Text in the model is Windows-1252 bytes, as the compiled files store it; the
// platforms name files in Unicode. These convert between the two at the edges.
#include <string>
#include <string_view>

#include "platform/failure.h"

// UTF-8 of Windows-1252 bytes. Every byte has a form (the five bytes the code
// page leaves unassigned keep their C1 code points), so this cannot fail.
std::string utf8_da_1252(std::string_view testo);

// Windows-1252 bytes of UTF-8 text; a failure (status 2) when the text is not
// valid UTF-8 or holds a character the code page cannot, saying which.
result<std::string> cp1252_da_utf8(std::string_view testo);

// Whether Windows-1252 bytes look like UTF-8 text instead: well-formed UTF-8 that
// holds a character beyond ASCII (an accented letter's byte alone is not).
bool sembra_utf8(std::string_view testo);
