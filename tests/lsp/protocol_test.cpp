// Places and positions across the edge, in each unit an editor may count in:
// a line with a two-byte, a three-byte and a four-byte character (the last two
// UTF-16 units) before an ASCII one.
#include "lsp/protocol.h"

#include <gtest/gtest.h>

namespace {

const std::string LINE = "segnale, Citt\xC3\xA0 \xE2\x88\x91\xF0\x9D\x84\x9Ex";

struct edge_case {
    position_encoding encoding;
    int32_t character;  // in the editor's units
    int32_t column;     // the compiler's byte column there (1-based)
};

// Before 'x' (column 18: 17 characters precede it), and before the four-byte character.
const edge_case CASES[] = {
    {position_encoding::utf8, 23, 18},  {position_encoding::utf16, 18, 18}, {position_encoding::utf32, 17, 18},
    {position_encoding::utf8, 19, 17},  {position_encoding::utf16, 16, 17}, {position_encoding::utf32, 16, 17},
};

TEST(Protocol, PositionsAndPlacesConvertBothWays) {
    for (const edge_case& c : CASES) {
        SCOPED_TRACE(to_proto::encoding(c.encoding) + std::string(" ") + std::to_string(c.character));
        const editor_lines l("[segnali]\n" + LINE + "\n", c.encoding);
        const nlohmann::json position = {{"line", 1}, {"character", c.character}};
        EXPECT_EQ(to_proto::position(l, {file_testo::treno, 2, c.column, 0}), position);
        const result<luogo_testo> place = from_proto::place(l, file_testo::treno, position);
        ASSERT_TRUE(place);
        EXPECT_EQ(*place, (luogo_testo{file_testo::treno, 2, c.column, 0}));
    }
    // A position inside a character's units stands before it.
    const editor_lines l("[segnali]\n" + LINE + "\n", position_encoding::utf16);
    EXPECT_EQ(from_proto::place(l, file_testo::treno, {{"line", 1}, {"character", 17}})->column, 17);
}

TEST(Protocol, APositionOrRangeOutsideTheProtocolsNumbersIsInvalidParams) {
    const editor_lines l(LINE, position_encoding::utf16);
    for (const char* position : {R"({"line":-1,"character":0})", R"({"line":0,"character":2147483648})",
                                 R"({"line":0.5,"character":0})", R"({"character":0})", "[]"}) {
        const result<luogo_testo> place = from_proto::place(l, file_testo::linea, nlohmann::json::parse(position));
        ASSERT_FALSE(place) << position;
        EXPECT_EQ(place.error().status, static_cast<int>(rpc_error::invalid_params)) << position;
        const nlohmann::json range = {{"start", {{"line", 0}, {"character", 0}}}, {"end", nlohmann::json::parse(position)}};
        EXPECT_FALSE(from_proto::range(l, file_testo::linea, range)) << position;
        EXPECT_FALSE(from_proto::line_span(range)) << position;
    }
    EXPECT_EQ(from_proto::line_span(5).error().status, static_cast<int>(rpc_error::invalid_params));
}

}  // namespace
