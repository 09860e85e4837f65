#pragma once
// A message's JSON taken in with its limits: a bounded depth (the library's
// copies and comparisons recurse), numbers read as 64-bit and range-checked
// before they become the int32 lines and columns the features count in, and
// settings whose wrong types are said rather than failing the message. What is
// refused is a failure whose status is the error code the request is answered with.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/failure.h"

// Deeper nesting than this in a message refuses it whole.
inline constexpr int MAX_JSON_DEPTH = 64;

// The message; a parse error when it is not JSON, an invalid request when it nests
// deeper than MAX_JSON_DEPTH (then nothing of it is kept).
result<nlohmann::json> parse_message(std::string_view body);

// An id a request may carry: a string, a number or null.
bool valid_request_id(const nlohmann::json& id);

// params[key] as a whole number in [low, high]; invalid params naming the key
// when it is missing, not a whole number, or out of the range.
result<int64_t> checked_integer(const nlohmann::json& params, const char* key, int64_t low, int64_t high);

// A position's line and character (both from 0, at most 2^31 - 1) as the
// 1-based line and the editor's units before the column.
struct checked_position {
    int32_t line;       // from 1
    int32_t character;  // from 0, in the editor's units
};
result<checked_position> position_of(const nlohmann::json& position);

// A document's version: an integer, 0 when not given.
result<int64_t> version_of(const nlohmann::json& text_document);

// The longest debounce a setting may ask for: longer, and a burst of edits would
// go unpublished for as long.
inline constexpr int64_t MAX_DEBOUNCE_MS = 5000;
// A number of milliseconds, clamped to [0, high] (a fraction dropped).
int64_t clamped_milliseconds(const nlohmann::json& number, int64_t high);

// The id (as JSON) a $/cancelRequest notification cancels, or nothing when the
// body is not one; cheap for any other body.
std::optional<std::string> cancelled_request(std::string_view body);

// The most entries an answer holds (hints, symbols, edits, folds), and the most
// lines a range of hints reads: an editor asks for what it shows.
inline constexpr size_t MAX_ANSWER_ITEMS = 10000;
inline constexpr int32_t MAX_RANGE_LINES = 5000;
