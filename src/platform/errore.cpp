#include "platform/errore.h"

std::string testo_errore(const std::string& a) { return " Errore n. " + a; }

void errore(const std::string& a, std::ostream& out) { out << testo_errore(a) << std::endl; }
