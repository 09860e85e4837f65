#include "platform/errore.h"

#include "platform/win32/form_window.h"

void errore(const std::string& a, std::ostream&) { message_box(testo_errore(a)); }
