#pragma once
#include <filesystem>

// The directory that holds the program file.
std::filesystem::path app_directory();
