#include "platform/app_directory.h"

#include <system_error>

#include "platform/io_failure.h"
#include "platform/win32/form_window.h"

std::filesystem::path app_directory() {
    std::wstring nome(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size()));
        if (n == 0)
            throw io_failure("the program file", "locate", std::system_category().message(static_cast<int>(GetLastError())));
        if (n < nome.size()) {
            nome.resize(n);
            return std::filesystem::path(nome).parent_path();
        }
        nome.resize(nome.size() * 2);  // cut short: a longer path
    }
}
