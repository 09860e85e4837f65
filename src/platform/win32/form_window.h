#pragma once
// The fixed run's window, the owner of its message boxes. Internal to the
// Windows platform layer.
#include <windows.h>

#include <string>

// The window while it is shown, else nullptr.
HWND form_window();

// UTF-16 of UTF-8 text, for the wide Windows calls.
std::wstring wide(const std::string& utf8);

// A modal box with only an OK button and no icon, titled with the application's title.
void message_box(const std::string& text);
