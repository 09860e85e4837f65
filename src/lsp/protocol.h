#pragma once
// The protocol's edge: its numbered kinds by name, and the one place where the
// compiler's places (luogo_testo: 1-based lines, byte columns of the
// Windows-1252 text) become the editor's positions and ranges (0-based lines,
// columns in the negotiated units of the UTF-8 text) and back.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "diagnostics/diagnostic.h"
#include "lsp/features.h"
#include "lsp/text_encoding.h"
#include "model/luogo_testo.h"
#include "platform/failure.h"

// JSON-RPC's error codes and the protocol's own. A failure the server answers a
// request with carries its code as its status.
enum class rpc_error : int {
    parse_error = -32700,
    invalid_request = -32600,
    method_not_found = -32601,
    invalid_params = -32602,
    internal_error = -32603,
    server_not_initialized = -32002,
    request_cancelled = -32800,
};
failure rpc_failure(rpc_error code, std::string message);

enum class diagnostic_severity : int { error = 1, warning = 2, information = 3, hint = 4 };
enum class message_type : int { error = 1, warning = 2, info = 3, log = 4 };
enum class text_document_sync_kind : int { none = 0, full = 1, incremental = 2 };
enum class inlay_hint_kind : int { type = 1, parameter = 2 };
enum class completion_item_kind : int { module = 9, keyword = 14 };
enum class insert_text_format : int { plain_text = 1, snippet = 2 };
enum class symbol_kind : int {
    module = 2,
    name_space = 3,
    function = 12,
    variable = 13,
    constant = 14,
    string = 15,
    object = 19,
    event = 24,
};
// The protocol's kinds that are strings: of a code action (as announced and as
// answered), of a markup content, of a folding range.
inline constexpr const char* QUICKFIX_ACTION = "quickfix";
inline constexpr const char* FIX_ALL_ACTION = "source.fixAll";
inline constexpr const char* MARKDOWN = "markdown";
inline constexpr const char* REGION_FOLD = "region";

// A document's lines as the editor holds them (UTF-8), to count its columns in
// the units the editor chose.
struct editor_lines {
    std::string utf8;
    std::vector<std::string_view> lines;
    position_encoding encoding;
    editor_lines(std::string text, position_encoding e) : utf8(std::move(text)), lines(split_lines(utf8)), encoding(e) {}
    editor_lines(const editor_lines&) = delete;
    // Line n (from 1); empty past the last.
    std::string_view line(int32_t n) const {
        return n >= 1 && static_cast<size_t>(n) <= lines.size() ? lines[static_cast<size_t>(n) - 1] : std::string_view();
    }
};

// Where a diagnostic's note points: its file's URI and lines.
struct note_file {
    std::string uri;
    const editor_lines* lines = nullptr;
};
// The note's file, or nothing where the editor has none to open.
using note_files = std::function<std::optional<note_file>(file_testo)>;

namespace to_proto {

const char* encoding(position_encoding e);
// A line from 1 as the protocol's, from 0.
int32_t line(int32_t line);
// The place's start (a line or column below 1 taken as 1).
nlohmann::json position(const editor_lines& l, const luogo_testo& at);
// From the place's column to its length past it, on its line.
nlohmann::json range(const editor_lines& l, const luogo_testo& place);
// From one place's start to another's.
nlohmann::json range(const editor_lines& l, const luogo_testo& from, const luogo_testo& to);
diagnostic_severity severity(::severity s);
symbol_kind kind(symbol_class c);
// A diagnostic of the compiler's, its code linked into the reference when there
// is one (reference_uri empty: none).
nlohmann::json diagnostic(const editor_lines& own, const ::diagnostic& d, const note_files& notes,
                          const std::string& reference_uri);
// A diagnostic of the server's own, without a code.
nlohmann::json diagnostic(const editor_lines& own, const luogo_testo& place, diagnostic_severity s,
                          const std::string& message);

}  // namespace to_proto

namespace from_proto {

// The encoding a client names, or nothing for one the server does not count in.
std::optional<position_encoding> encoding(const nlohmann::json& name);
// A position as the place it stands at in file: the character's column (from 1)
// on its line, of no length.
result<luogo_testo> place(const editor_lines& l, file_testo file, const nlohmann::json& position);
// A range as the places of its start and its end.
result<std::pair<luogo_testo, luogo_testo>> range(const editor_lines& l, file_testo file, const nlohmann::json& range);
// A range's first and last line, from 1.
result<std::pair<int32_t, int32_t>> line_span(const nlohmann::json& range);

}  // namespace from_proto
