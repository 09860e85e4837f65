#include "lsp/message_intake.h"

#include <algorithm>
#include <climits>

#include "lsp/protocol.h"

using json = nlohmann::json;

namespace {

// Whether brackets outside strings nest deeper than `limit`. Read before the
// parse, which would keep a frame for each level however deep (some 14 bytes a
// level, for a message of nothing but '['): what is too deep costs one pass.
bool nests_deeper(std::string_view body, int limit) {
    int depth = 0;
    bool in_string = false;
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (in_string) {
            if (c == '\\') ++i;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

}  // namespace

result<json> parse_message(std::string_view body) {
    if (nests_deeper(body, MAX_JSON_DEPTH))
        return rpc_failure(rpc_error::invalid_request,
                           "the message nests deeper than " + std::to_string(MAX_JSON_DEPTH) + " levels");
    json m = json::parse(body.begin(), body.end(), nullptr, false);
    if (m.is_discarded()) return rpc_failure(rpc_error::parse_error, "the message is not JSON");
    return m;
}

bool valid_request_id(const json& id) { return id.is_string() || id.is_number() || id.is_null(); }

result<int64_t> checked_integer(const json& params, const char* key, int64_t low, int64_t high) {
    if (!params.is_object() || !params.contains(key)) return rpc_failure(rpc_error::invalid_params, std::string("no ") + key);
    const json& v = params[key];
    std::optional<int64_t> n;
    // Unsigned first: the library counts an unsigned number as an integer too.
    if (v.is_number_unsigned()) n = v.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : v.get<int64_t>();
    else if (v.is_number_integer()) n = v.get<int64_t>();
    if (!n || *n < low || *n > high)
        return rpc_failure(rpc_error::invalid_params, std::string(key) + " is " + v.dump() + ", not a whole number from " +
                                                          std::to_string(low) + " to " + std::to_string(high));
    return *n;
}

result<checked_position> position_of(const json& position) {
    const result<int64_t> line = checked_integer(position, "line", 0, INT32_MAX);
    if (!line) return line.error();
    const result<int64_t> character = checked_integer(position, "character", 0, INT32_MAX);
    if (!character) return character.error();
    // Any line the protocol allows is taken; one past the last reads as empty, so
    // the highest are held a little below the largest int32, leaving the features
    // room to count a line on.
    return checked_position{static_cast<int32_t>(std::min<int64_t>(*line, INT32_MAX - 2) + 1),
                            static_cast<int32_t>(*character)};
}

result<int64_t> version_of(const json& text_document) {
    if (!text_document.is_object() || !text_document.contains("version") || text_document["version"].is_null()) return 0;
    return checked_integer(text_document, "version", INT32_MIN, INT32_MAX);
}

int64_t clamped_milliseconds(const json& number, int64_t high) {
    if (number.is_number_unsigned()) return number.get<uint64_t>() > static_cast<uint64_t>(high) ? high : number.get<int64_t>();
    if (number.is_number_integer()) return std::clamp<int64_t>(number.get<int64_t>(), 0, high);
    const double v = number.get<double>();
    return v >= static_cast<double>(high) ? high : v > 0 ? static_cast<int64_t>(v) : 0;  // NaN never comes from JSON
}

std::optional<std::string> cancelled_request(std::string_view body) {
    // A cancellation is a short message; anything long is something else.
    if (body.size() > 1024 || body.find("$/cancelRequest") == std::string_view::npos) return std::nullopt;
    const result<json> m = parse_message(body);
    if (!m || !m->is_object() || m->value("method", json()) != "$/cancelRequest") return std::nullopt;
    const json& params = m->value("params", json());
    if (!params.is_object() || !params.contains("id")) return std::nullopt;
    const json& id = params["id"];
    if (!id.is_string() && !id.is_number()) return std::nullopt;
    return id.dump();
}
