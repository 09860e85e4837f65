#pragma once
// The carried scenario's two text files, written into a folder for a test, and
// a text with some of its lines replaced.
#include <filesystem>
#include <map>
#include <string>

#include "app/scenario_trasportato.h"
#include "model/modello.h"
#include "model/nomi_file.h"

struct carried_files {
    std::filesystem::path route, train;
};

inline carried_files write_carried_texts(const std::filesystem::path& dir) {
    modello m;
    identifica_scenario(m);
    carried_files out;
    const auto& writers = scrittori_scenario();
    writers[0].scrivi(dir, m);
    writers[1].scrivi(dir, m);
    out.route = percorso_file(dir, writers[0].nome_file(m));
    out.train = percorso_file(dir, writers[1].nome_file(m));
    return out;
}

// `text` (CR LF lines) with line n replaced by lines.at(n) for each n given.
inline std::string with_lines(const std::string& text, const std::map<int, std::string>& lines) {
    std::string out;
    size_t at = 0;
    for (int n = 1; at < text.size(); ++n) {
        size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        out += (lines.count(n) ? lines.at(n) : text.substr(at, end - at)) + "\r\n";
        at = end + 2;
    }
    return out;
}
