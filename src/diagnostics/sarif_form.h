#pragma once
// The diagnostics as a SARIF 2.1.0 log, for code-scanning services.
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/diagnostic.h"

// One run, one result per diagnostic, the rules from the error table and the warning names.
std::string diagnostics_sarif(const std::vector<diagnostic>& diagnostics, const source_files& sources,
                              const compile_outcome& outcome);

// A file's path as a URI reference for SARIF: forward slashes, percent-encoded
// where a URI does not allow the byte; relative paths stay relative, absolute
// ones (POSIX, drive letter, UNC) become file: URIs.
std::string file_uri_reference(std::string_view path);
