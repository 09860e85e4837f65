#pragma once
#include <functional>
#include <string>

// Asks the desktop to open `url` (http only) in the user's browser, without
// waiting for it: xdg-open on Linux, the shell on Windows. False when that
// could not be started. Where the opener's own failure is known only once it
// ends (xdg-open's exit status), `failed_later` gets that status, on another thread.
bool open_in_browser(const std::string& url, std::function<void(int status)> failed_later = {});
