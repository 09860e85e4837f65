#include "lsp/documents.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "model/nomi_file.h"
#include "platform/path_text.h"

namespace {

bool ends_with(const std::string& s, std::string_view suffix) {
    return s.size() > suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string name_of(const std::filesystem::path& p) { return utf8_path(p.filename()); }

// The route identifiers a train file's name may hold, the longest first: each
// part before an underscore of the name's stem, with something after it.
std::vector<std::string> route_candidates(const std::string& train_name) {
    const std::string stem = train_name.substr(0, train_name.size() - SUFFISSO_TESTO_TRENO.size());
    std::vector<std::string> ids;
    for (size_t k = stem.rfind('_'); k != std::string::npos && k > 0; k = stem.rfind('_', k - 1)) {
        if (k + 1 < stem.size()) ids.push_back(stem.substr(0, k));
    }
    return ids;
}

}  // namespace

scenario_role role_of(const std::filesystem::path& path) {
    const std::string name = name_of(path);
    if (ends_with(name, SUFFISSO_TESTO_LINEA)) return scenario_role::route;
    if (ends_with(name, SUFFISSO_TESTO_TRENO) && !route_candidates(name).empty()) return scenario_role::train;
    return scenario_role::other;
}

open_document& workspace::open(const std::string& uri, std::filesystem::path path, int64_t version,
                               const std::string& utf8) {
    open_document& d = documents_[uri];
    d.uri = uri, d.path = std::move(path), d.version = version, d.utf8 = utf8;
    d.text = to_1252(utf8, role_of(d.path) == scenario_role::train ? file_testo::treno : file_testo::linea);
    d.touched = ++clock_;
    return d;
}

open_document* workspace::change(const std::string& uri, int64_t version, const std::string& utf8) {
    const auto it = documents_.find(uri);
    if (it == documents_.end()) return nullptr;
    return &open(uri, it->second.path, version, utf8);
}

void workspace::close(const std::string& uri) { documents_.erase(uri); }

const open_document* workspace::find(const std::string& uri) const {
    const auto it = documents_.find(uri);
    return it == documents_.end() ? nullptr : &it->second;
}

const open_document* workspace::find_path(const std::filesystem::path& path) const {
    for (const auto& [uri, d] : documents_)
        if (d.path == path) return &d;
    return nullptr;
}

bool workspace::exists(const std::filesystem::path& path) const {
    std::error_code ec;
    return find_path(path) != nullptr || std::filesystem::is_regular_file(path, ec);
}

std::optional<std::filesystem::path> workspace::route_of_train(const std::filesystem::path& train) const {
    for (const std::string& id : route_candidates(name_of(train))) {
        std::filesystem::path route = train.parent_path() / path_from_utf8(id + std::string(SUFFISSO_TESTO_LINEA));
        if (exists(route)) return route;
    }
    return std::nullopt;
}

std::variant<scenario_pair, std::string> workspace::pair_of(const std::filesystem::path& path) const {
    const std::string name = name_of(path);
    if (role_of(path) == scenario_role::train) {
        if (auto route = route_of_train(path)) return scenario_pair{*route, path};
        std::string names;
        const std::vector<std::string> ids = route_candidates(name);
        for (size_t i = 0; i < ids.size(); ++i)
            names += (i == 0 ? "" : i + 1 == ids.size() ? " or " : ", ") + ids[i] + std::string(SUFFISSO_TESTO_LINEA);
        return "no route file beside this train file: " + names + " is missing";
    }
    if (role_of(path) != scenario_role::route)
        return name + " is not named ID_linea.txt or ID_N-.txt: it is no scenario file";
    // Open train files first, the one touched last winning; then the folder's, by name.
    const open_document* latest = nullptr;
    for (const auto& [uri, d] : documents_)
        if (d.path.parent_path() == path.parent_path() && role_of(d.path) == scenario_role::train &&
            route_of_train(d.path) == path && (!latest || d.touched > latest->touched))
            latest = &d;
    if (latest) return scenario_pair{path, latest->path};
    const std::string id = name.substr(0, name.size() - SUFFISSO_TESTO_LINEA.size());
    std::vector<std::filesystem::path> trains;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), ec)) {
        const std::string n = name_of(entry.path());
        if (n.rfind(id + "_", 0) == 0 && role_of(entry.path()) == scenario_role::train &&
            route_of_train(entry.path()) == path)
            trains.push_back(entry.path());
    }
    if (trains.empty()) return "no train file beside this route file: " + id + "_N-.txt is missing";
    return scenario_pair{path, *std::min_element(trains.begin(), trains.end())};
}
