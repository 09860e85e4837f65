#pragma once
// The language server's transcripts as their files write them (the format is
// told in tests/lsp/transcripts/README.md): each step a message in, the
// messages expected out, when it arrives and the edits of the train file its
// $TEXT carries; and the positions the files mark in that text, resolved.
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/support/carried_texts.h"

struct transcript_step {
    std::string in;                // a message, or `tick`, `cancel ID`, `remove the route file`
    std::vector<std::string> out;  // the messages expected, in order
    int at_ms = 0;                 // when it arrives, from the transcript's start
    std::vector<std::pair<std::string, std::string>>
        edits;  // $TEXT: the line holding each first replaced by its second
};

namespace lsp_transcript {

inline std::vector<std::string> lines_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

// `$NESTED(n)`: JSON nested n deep, too long to write out.
inline std::string expand_nested(std::string s) {
    const std::string key = "$NESTED(";
    for (size_t at = s.find(key); at != std::string::npos; at = s.find(key, at)) {
        const size_t close = s.find(')', at);
        const size_t n = std::stoul(s.substr(at + key.size(), close - at - key.size()));
        s.replace(at, close + 1 - at, std::string(n, '[') + std::string(n, ']'));
    }
    return s;
}

// Each entry's text joined with its indented continuation lines; `#` lines and
// blank ones apart.
inline std::vector<std::string> entries(const std::filesystem::path& file) {
    std::vector<std::string> out;
    for (const std::string& line : lines_of(file)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == ' ') {
            if (out.empty())
                throw std::runtime_error(file.string() + ": a continuation with nothing to continue");
            out.back() += "\n" + line;
        } else {
            out.push_back(line);
        }
    }
    return out;
}

using definitions = std::map<std::string, std::string>;

// NAME = text entries.
inline definitions read_definitions(const std::filesystem::path& file) {
    definitions out;
    for (const std::string& e : entries(file)) {
        const size_t eq = e.find(" = ");
        if (eq == std::string::npos) throw std::runtime_error(file.string() + ": not NAME = text: " + e);
        out[e.substr(0, eq)] = e.substr(eq + 3);
    }
    return out;
}

inline std::vector<transcript_step> read_transcript(const std::filesystem::path& file,
                                                    const definitions& defs) {
    const auto defined = [&defs](const std::string& s) { return defs.count(s) ? defs.at(s) : s; };
    std::vector<transcript_step> steps;
    transcript_step next;  // the `at` and `edit` lines wait for their step
    for (const std::string& e : entries(file)) {
        const std::string rest = e.substr(e.find(' ') + 1);
        if (e.rfind("--> ", 0) == 0) {
            next.in = expand_nested(defined(rest));
            steps.push_back(std::move(next));
            next = {};
        } else if (e.rfind("<-- ", 0) == 0 && !steps.empty()) {
            steps.back().out.push_back(expand_nested(defined(rest)));
        } else if (e.rfind("at ", 0) == 0 && e.size() > 6 && e.substr(e.size() - 3) == " ms") {
            next.at_ms = std::stoi(rest);
        } else if (e.rfind("edit ", 0) == 0 && defined(rest).find(" => ") != std::string::npos) {
            const std::string edit = defined(rest);
            const size_t arrow = edit.find(" => ");
            next.edits.emplace_back(edit.substr(0, arrow), edit.substr(arrow + 4));
        } else {
            throw std::runtime_error(file.string() +
                                     ": not a step, an answer, `at N ms` or `edit FROM => TO`: " + e);
        }
    }
    if (next.at_ms != 0 || !next.edits.empty())
        throw std::runtime_error(file.string() + ": `at` or `edit` with no step after it");
    return steps;
}

// `text` (CR LF lines) with the one line holding each edit's fragment replaced.
inline std::string with_edits(const std::string& text,
                              const std::vector<std::pair<std::string, std::string>>& edits) {
    std::map<int, std::string> lines;
    for (const auto& [fragment, line] : edits) {
        const size_t at = text.find(fragment);
        if (at == std::string::npos || text.find(fragment, at + 1) != std::string::npos)
            throw std::runtime_error("the edit's line is not the one line holding: " + fragment);
        int n = 1;
        for (size_t i = text.find('\n'); i < at; i = text.find('\n', i + 1)) ++n;
        lines[n] = line;
    }
    return with_lines(text, lines);
}

// The UTF-16 units of UTF-8 text: the server's default position encoding.
inline size_t utf16_units(std::string_view utf8) {
    size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80 ? ((c & 0xF8) == 0xF0 ? 2 : 1) : 0;
    return n;
}

// `text` with each `@{fragment}` a position and each `@@{fragment}` a range in
// `document`: the fragment, its one `$0` (a range's two) taken out, is found once
// in the document, and the `$0` gives the position (line and UTF-16 column).
inline std::string with_marks(std::string text, const std::string& document) {
    const auto position = [&document](size_t at) {
        size_t line = 0, begin = 0;
        for (size_t i = document.find('\n'); i < at; i = document.find('\n', i + 1)) ++line, begin = i + 1;
        return R"({"line":)" + std::to_string(line) + R"(,"character":)" +
               std::to_string(utf16_units(std::string_view(document).substr(begin, at - begin))) + "}";
    };
    for (size_t at = text.find("@{"); at != std::string::npos; at = text.find("@{", at)) {
        const bool ranged = at > 0 && text[at - 1] == '@';
        const size_t open = at + 2, close = text.find('}', open);
        if (close == std::string::npos)
            throw std::runtime_error("a mark with no closing brace: " + text.substr(at));
        std::string fragment = text.substr(open, close - open);
        std::vector<size_t> cursors;
        for (size_t c = fragment.find("$0"); c != std::string::npos; c = fragment.find("$0", c))
            cursors.push_back(c), fragment.erase(c, 2);
        if (cursors.size() != (ranged ? 2u : 1u))
            throw std::runtime_error("a mark needs one $0, a range's two: " +
                                     text.substr(open, close - open));
        const size_t found = document.find(fragment);
        if (found == std::string::npos || document.find(fragment, found + 1) != std::string::npos)
            throw std::runtime_error("a mark's text is not once in the document: " + fragment);
        const std::string json = ranged ? R"({"start":)" + position(found + cursors[0]) + R"(,"end":)" +
                                              position(found + cursors[1]) + "}"
                                        : position(found + cursors[0]);
        if (ranged) --at;
        text.replace(at, close + 1 - at, json);
    }
    return text;
}

}  // namespace lsp_transcript
