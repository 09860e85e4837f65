#pragma once
// A fresh directory for one test, removed with everything in it afterwards.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

class temp_dir {
public:
    temp_dir() {
        // create_directory is false for a name already taken: try another.
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() / ("scenario-test-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(path_, ec)) return;
        }
        std::abort();
    }
    ~temp_dir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    temp_dir(const temp_dir&) = delete;
    temp_dir& operator=(const temp_dir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Names of the files in the directory, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    // Regular files anywhere below the directory: what a run wrote, wherever it went.
    size_t file_count() const {
        size_t n = 0;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_)) n += e.is_regular_file();
        return n;
    }

private:
    std::filesystem::path path_;
};
