#pragma once
#include <ostream>
#include <string>

// The text of the numbered report: " Errore n. " and the number.
std::string testo_errore(const std::string& a);

// The numbered report as the console shows it: its text, one line on `out`. The
// caller ends the run afterwards, with exit status 4.
void errore(const std::string& a, std::ostream& out);
