#include "diagnostics/text_form.h"

#include <algorithm>
#include <optional>

#include "model/testo_1252.h"
#include "model/utf8.h"

namespace {

// The SGR parameters the usual compilers colour their diagnostics with.
constexpr const char* BOLD = "1";
constexpr const char* RED = "1;31";
constexpr const char* MAGENTA = "1;35";
constexpr const char* GREY = "1;30";
constexpr const char* GREEN = "1;32";

struct painter {
    std::ostream& err;
    bool colour;

    void operator()(std::string_view text, const char* sgr) const {
        if (colour && !text.empty())
            err << "\x1b[" << sgr << 'm' << text << "\x1b[0m";
        else
            err << text;
    }
};

// "PATH:LINE:COL: ", down to "PATH: ", and nothing without a file.
std::string place_prefix(const luogo_testo& p, const source_files& sources) {
    const source_file* file = sources.of(p.file);
    if (file == nullptr) return "";
    std::string out = file->path;
    if (p.line > 0) {
        out += ':' + std::to_string(p.line);
        if (p.column > 0) out += ':' + std::to_string(p.column);
    }
    return out + ": ";
}

// The lines of the compile's texts, each text's line starts found once (a run
// may show thousands of diagnostics on a long file). A line end is CR LF, a lone
// LF or a lone CR, as the reader counts lines.
class source_lines {
public:
    explicit source_lines(const source_files& files) : files_(files) {}
    const source_files& files() const { return files_; }
    // Line p.line (1-based) of p's file without its line end, when the file has it.
    std::optional<std::string_view> line(const luogo_testo& p) {
        const source_file* file = files_.of(p.file);
        if (file == nullptr || p.line < 1) return std::nullopt;
        std::vector<size_t>& starts = starts_[p.file == file_testo::linea ? 0 : 1];
        const std::string_view text = file->text;
        if (starts.empty()) {
            starts.push_back(0);
            for (size_t i = 0; i < text.size(); ++i)
                if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
                    starts.push_back(i + 1);
        }
        const size_t n = static_cast<size_t>(p.line) - 1;
        if (n >= starts.size() || starts[n] >= text.size()) return std::nullopt;
        const size_t end = text.find_first_of("\r\n", starts[n]);
        return text.substr(starts[n], end == std::string_view::npos ? std::string_view::npos : end - starts[n]);
    }

private:
    const source_files& files_;
    std::vector<size_t> starts_[2];
};

// A line longer than this is quoted as the stretch of it around the place, its
// cut ends shown as "…": a line of a megabyte is no help on a terminal.
constexpr size_t QUOTE_LIMIT = 200;

struct quoted_part {
    std::string_view text;  // of the line
    size_t from = 0;        // where it starts in the line
    const char* before = "";
    const char* after = "";
};
quoted_part quote_of(std::string_view line, size_t at) {
    if (line.size() <= QUOTE_LIMIT) return {line};
    const size_t from = std::min(at > QUOTE_LIMIT / 2 ? at - QUOTE_LIMIT / 2 : 0, line.size() - QUOTE_LIMIT);
    return {line.substr(from, QUOTE_LIMIT), from, from > 0 ? "\u2026" : "", from + QUOTE_LIMIT < line.size() ? "\u2026" : ""};
}

// The caret line's start: a blank for the "…" and the bytes before `to` copied
// as blanks (tabs as tabs, so that the caret stands under its byte whatever the tab width).
std::string caret_lead(const quoted_part& q, std::string_view line, size_t to) {
    std::string caret(*q.before ? 1 : 0, ' ');
    for (size_t i = q.from; i < to; ++i) caret += line[i] == '\t' ? '\t' : ' ';
    return caret;
}

// The source line and, under the place, a caret and a tilde for each further
// byte of the field; every byte but a tab is one character.
void print_source(const painter& paint, const luogo_testo& p, source_lines& sources) {
    const auto line = sources.line(p);
    if (!line) return;
    const auto size = static_cast<int64_t>(line->size());
    const bool placed = p.column >= 1 && p.column <= size + 1;
    const quoted_part q = quote_of(*line, placed ? static_cast<size_t>(p.column - 1) : 0);
    paint.err << q.before << printable(utf8_da_1252(q.text)) << q.after << '\n';
    if (!placed) return;
    std::string caret = caret_lead(q, *line, static_cast<size_t>(p.column - 1));
    caret += '^';
    const int64_t last = std::min<int64_t>(int64_t{p.column} + std::max(p.length, 1) - 1,
                                           static_cast<int64_t>(q.from + q.text.size()));
    caret.append(static_cast<size_t>(std::max<int64_t>(last - p.column, 0)), '~');
    paint(caret, GREEN);
    paint.err << '\n';
}

void print_heading(const painter& paint, const luogo_testo& p, std::string_view label, const char* label_sgr,
                   const std::string& message, const source_files& sources) {
    paint(printable(place_prefix(p, sources)), BOLD);
    paint(label, label_sgr);
    paint(printable(message), BOLD);
    paint.err << '\n';
}

void print_one(const painter& paint, const luogo_testo& p, std::string_view label, const char* label_sgr,
               const std::string& message, source_lines& sources) {
    print_heading(paint, p, label, label_sgr, message, sources.files());
    print_source(paint, p, sources);
}

// A fix-it as a note, and under it the source line as the fix makes it, with the
// caret under the text put in.
void print_fix(const painter& paint, const fix_it& f, source_lines& sources) {
    print_heading(paint, f.place, "note: ", GREY, fix_description(f), sources.files());
    const auto line = sources.line(f.place);
    if (!line || f.place.column < 1 || f.place.column > static_cast<int64_t>(line->size()) + 1) return;
    const size_t from = static_cast<size_t>(f.place.column - 1);
    const size_t to = std::min(line->size(), from + static_cast<size_t>(std::max(f.place.length, 0)));
    const quoted_part q = quote_of(*line, from);
    const size_t end = std::max(to, q.from + q.text.size());
    const std::string before = utf8_da_1252(line->substr(q.from, from - q.from));
    paint.err << q.before << printable(before + f.text + utf8_da_1252(line->substr(to, end - to))) << q.after << '\n';
    std::string caret = caret_lead(q, *line, from);
    caret += '^';
    // One mark a character of the text: its UTF-8 lead bytes.
    const auto characters = std::count_if(f.text.begin(), f.text.end(), [](char c) {
        return !continuazione_utf8(static_cast<unsigned char>(c));
    });
    caret.append(static_cast<size_t>(std::max<std::ptrdiff_t>(characters - 1, 0)), '~');
    paint(caret, GREEN);
    paint.err << '\n';
}

}  // namespace

void print_diagnostics(std::ostream& err, const std::vector<diagnostic>& diagnostics,
                       const source_files& files, bool colour) {
    const painter paint{err, colour};
    source_lines sources(files);
    for (const diagnostic& d : diagnostics) {
        const bool is_error = d.level == severity::error;
        const std::string label = std::string(severity_name(d.level)) + ": ";
        const std::string message = d.code.empty() ? d.message : d.message + " [" + d.code + "]";
        print_one(paint, d.place, label, is_error ? RED : MAGENTA, message, sources);
        for (const fix_it& f : d.fixes) print_fix(paint, f, sources);
        for (const diagnostic_note& n : d.notes)
            print_one(paint, n.place, "note: ", GREY, n.message, sources);
    }
    const std::string summary = diagnostics_summary(diagnostics);
    if (!summary.empty()) err << summary << '\n';
}

std::string diagnostics_summary(const std::vector<diagnostic>& diagnostics) {
    const auto errors = std::count_if(diagnostics.begin(), diagnostics.end(),
                                      [](const diagnostic& d) { return d.level == severity::error; });
    const auto warnings = static_cast<std::ptrdiff_t>(diagnostics.size()) - errors;
    const auto counted = [](std::ptrdiff_t n, const char* what) {
        return std::to_string(n) + ' ' + what + (n == 1 ? "" : "s");
    };
    std::string out;
    if (errors > 0) out = counted(errors, "error");
    if (warnings > 0) out += (out.empty() ? "" : ", ") + counted(warnings, "warning");
    return out.empty() ? out : out + " generated.";
}

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += '?';
        } else if (const carattere_utf8 c = carattere_in(utf8, i);
                   c.valido && c.punto >= 0x80 && c.punto <= 0x9F) {
            // A C1 control, which a terminal may act on as it would on an escape.
            out += '?';
            i += c.lunghezza - 1;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

