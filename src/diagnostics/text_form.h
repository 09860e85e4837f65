#pragma once
// The compiler form of the diagnostics, the one editors and terminals read.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"

// One diagnostic after another:
//   PATH:LINE:COL: error: MESSAGE [E16]
//   <the source line, as UTF-8>
//         ^~~~
//   PATH:LINE:COL: note: replace with 'TEXT'   (each fix-it)
//   <the source line as the fix-it makes it>
//         ^~~~                                  (under TEXT)
//   PATH:LINE:COL: note: MESSAGE                (each note, with its source line)
// then "N errors, M warnings generated." when there is any. Colours (as the
// usual compilers use them) only with colour set.
void print_diagnostics(std::ostream& err, const std::vector<diagnostic>& diagnostics, const source_files& sources,
                       bool colour);

// "3 errors generated.", "2 errors, 1 warning generated.", "" for none.
std::string diagnostics_summary(const std::vector<diagnostic>& diagnostics);

// Text as a terminal is to show it, from an author's file or argument: control
// characters (C0, DEL and, in UTF-8, C1) become '?', one character each, so that
// none of them acts on the terminal and a caret still lines up. Tabs stay.
std::string printable(std::string_view utf8);
