#pragma once
// The documents an editor holds open, and the scenario pair each file belongs
// to: an open buffer takes the place of its file on disk.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "lsp/text_encoding.h"

struct open_document {
    std::string uri;  // as the editor names it
    std::filesystem::path path;
    int64_t version = 0;
    std::string utf8;  // as the editor holds it
    text_1252 text;    // as the compiler reads it
    uint64_t touched = 0;  // the workspace's count when it was opened or edited last
};

// What a file's name makes it: ID_linea.txt a route, ID_N-.txt a train.
enum class scenario_role { route, train, other };
scenario_role role_of(const std::filesystem::path& path);

struct scenario_pair {
    std::filesystem::path route, train;
};

class workspace {
public:
    open_document& open(const std::string& uri, std::filesystem::path path, int64_t version, const std::string& utf8);
    // Nothing when the document is not open.
    open_document* change(const std::string& uri, int64_t version, const std::string& utf8);
    void close(const std::string& uri);

    const open_document* find(const std::string& uri) const;
    const open_document* find_path(const std::filesystem::path& path) const;
    // Open, or a file on disk.
    bool exists(const std::filesystem::path& path) const;
    const std::map<std::string, open_document>& documents() const { return documents_; }

    // The pair a route or train file belongs to, or, for a lone file, what is
    // missing beside it. A train file pairs with the route of the longest
    // identifier whose ID_linea.txt is there; a route file with the train file
    // opened or edited last, or with none open the first one by name on disk.
    std::variant<scenario_pair, std::string> pair_of(const std::filesystem::path& path) const;

private:
    std::optional<std::filesystem::path> route_of_train(const std::filesystem::path& train) const;
    std::map<std::string, open_document> documents_;
    uint64_t clock_ = 0;
};
