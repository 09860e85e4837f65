#pragma once
#include <string>

// Ends the process at once with the given status, flushing the standard streams.
[[noreturn]] void end_process(int status);

// The numbered error report: " Errore n. " + a on stderr, then the process ends
// with exit status 4. Nothing else runs after it.
[[noreturn]] void errore(const std::string& a);

// Called by errore just before the process ends; the author's command line uses
// it to print its JSON summary. Empty by default.
using before_errore_hook = void (*)(const std::string& numero);
void set_before_errore_hook(before_errore_hook hook);
