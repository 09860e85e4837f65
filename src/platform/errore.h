#pragma once
#include <ostream>
#include <string>

// The text of the numbered report: " Errore n. " and the number.
inline std::string testo_errore(const std::string& a) { return " Errore n. " + a; }

// The numbered report of the fixed run: a line on `out` on the console, a modal
// message box with an OK button on Windows. The caller ends the run afterwards,
// with exit status 4.
void errore(const std::string& a, std::ostream& out);
