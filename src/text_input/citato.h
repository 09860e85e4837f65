#pragma once
// A field as a message quotes it.
#include <string>

// The field between single quotes; a runaway one (a whole file without a comma)
// by its start only, with its length.
std::string citato(const std::string& testo);
