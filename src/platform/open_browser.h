#pragma once
#include <string>

// Asks the desktop to open `url` (http only) in the user's browser, without
// waiting for it: xdg-open on Linux, the shell on Windows. False when that
// could not be started.
bool open_in_browser(const std::string& url);
