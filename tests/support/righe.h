#pragma once
// Small readers for the carried line tables, for tests that check their
// properties field by field.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "content/scrivi_righe.h"

// The table's lines before the end marker.
inline std::vector<std::string> righe_scritte(const tabella_righe& t) {
    std::vector<std::string> out;
    for (const auto& r : t) {
        if (r == FINE_TABELLA) break;
        out.push_back(r);
    }
    return out;
}

// The lines below a section line, up to the next section line.
inline std::vector<std::string> sezione(const tabella_righe& t, std::string_view nome) {
    std::vector<std::string> out;
    bool dentro = false;
    for (const auto& r : righe_scritte(t)) {
        if (!r.empty() && r.front() == '[') {
            if (dentro) break;
            dentro = r == nome;
        } else if (dentro) {
            out.push_back(r);
        }
    }
    return out;
}

// The section lines and the number of lines under each, in file order.
inline std::vector<std::pair<std::string, int>> sezioni(const tabella_righe& t) {
    std::vector<std::pair<std::string, int>> out;
    for (const auto& r : righe_scritte(t)) {
        if (!r.empty() && r.front() == '[')
            out.emplace_back(r, 0);
        else if (!out.empty())
            ++out.back().second;
    }
    return out;
}

// The comma-separated pieces of a line, untrimmed.
inline std::vector<std::string> pezzi(std::string_view riga) {
    std::vector<std::string> out;
    size_t at = 0;
    for (;;) {
        size_t c = riga.find(',', at);
        out.emplace_back(riga.substr(at, c == std::string_view::npos ? std::string_view::npos : c - at));
        if (c == std::string_view::npos) return out;
        at = c + 1;
    }
}

inline std::string senza_spazi(std::string_view s) {
    size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string_view::npos ? std::string() : std::string(s.substr(a, b - a + 1));
}

// A field as a whole number; an empty field reads as 0, as the reader takes it.
inline int32_t numero(std::string_view campo) {
    std::string t = senza_spazi(campo);
    return t.empty() ? 0 : static_cast<int32_t>(std::stol(t));
}

// The numeric fields after the keyword.
inline std::vector<int32_t> valori(std::string_view riga) {
    auto p = pezzi(riga);
    std::vector<int32_t> out;
    for (size_t i = 1; i < p.size(); ++i) out.push_back(numero(p[i]));
    return out;
}

// Whether a line has the given shape: in the shape, '#' stands for a whole
// number (an optional minus and one or more digits), '?' for zero or more
// digits, '@' for one character of the set that follows in brackets, e.g.
// "@[sd]"; every other character stands for itself.
inline bool ha_forma(std::string_view riga, std::string_view forma) {
    size_t i = 0;
    auto cifre = [&] {
        size_t da = i;
        while (i < riga.size() && riga[i] >= '0' && riga[i] <= '9') ++i;
        return i - da;
    };
    for (size_t f = 0; f < forma.size(); ++f) {
        const char c = forma[f];
        if (c == '#') {
            if (i < riga.size() && riga[i] == '-') ++i;
            if (cifre() == 0) return false;
        } else if (c == '?') {
            cifre();
        } else if (c == '@') {
            size_t chiusa = forma.find(']', f);
            if (i >= riga.size() || forma.substr(f + 2, chiusa - f - 2).find(riga[i]) == std::string_view::npos)
                return false;
            ++i;
            f = chiusa;
        } else {
            if (i >= riga.size() || riga[i] != c) return false;
            ++i;
        }
    }
    return i == riga.size();
}
