#include "platform/errore.h"

void errore(const std::string& a, std::ostream& out) { out << testo_errore(a) << std::endl; }
