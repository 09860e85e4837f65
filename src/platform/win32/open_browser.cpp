#include "platform/open_browser.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/path_text.h"

// ShellExecute tells its failure at once: nothing is heard later.
bool open_in_browser(const std::string& url, std::function<void(int status)>) {
    const std::wstring wide = path_from_utf8(url).wstring();
    // Above 32: started (ShellExecute's convention).
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}
