#include "platform/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/exit_status.h"

namespace {
before_errore_hook g_hook = nullptr;
}

void set_before_errore_hook(before_errore_hook hook) { g_hook = hook; }

void end_process(int status) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(status);
}

void errore(const std::string& a) {
    if (g_hook) g_hook(a);
    std::cerr << " Errore n. " << a << '\n';
    end_process(EXIT_RESERVED);
}
