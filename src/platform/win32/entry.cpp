#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/entry.h"
#include "platform/win32/form_window.h"

namespace {

std::string utf8(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 1 ? n - 1 : 0), '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w, -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Started on its own (a double-click), the fixed run has no use for the console
    // Windows opened for it: its window and message boxes say everything. Started
    // from cmd.exe or PowerShell the console is shared and stays, so the shell
    // waits for the exit status.
    if (argc <= 1) {
        DWORD processi[2];
        if (GetConsoleProcessList(processi, 2) == 1) FreeConsole();
    }
    // The same bytes as on Linux: UTF-8, and no CR added before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);

    std::vector<std::string> argomenti;
    for (int i = 0; i < argc; ++i) argomenti.push_back(utf8(argv[i]));
    std::vector<char*> puntatori;
    for (std::string& a : argomenti) puntatori.push_back(a.data());
    puntatori.push_back(nullptr);
    return program(argc, puntatori.data());
}
