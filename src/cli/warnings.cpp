#include "cli/warnings.h"
#include "platform/path_text.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <utility>

namespace {

bool has_position(genere_riga g) {
    switch (g) {
        case genere_riga::pendenza:
        case genere_riga::curva:
        case genere_riga::montagna:
        case genere_riga::indicatori_vmax:
        case genere_riga::cartello_indicatore:
        case genere_riga::velocita:
        case genere_riga::aderenza:
        case genere_riga::segnale:
        case genere_riga::rallentamento:
        case genere_riga::abbattimento:
        case genere_riga::stazione: return true;
        default: return false;
    }
}

// Objects whose position is rounded to a cell: off a multiple of 50 they move.
bool placed_in_a_cell(genere_riga g) {
    switch (g) {
        case genere_riga::indicatori_vmax:
        case genere_riga::cartello_indicatore:
        case genere_riga::segnale:
        case genere_riga::rallentamento:
        case genere_riga::abbattimento: return true;
        default: return false;
    }
}

struct builder {
    const modello& m;
    std::vector<warning> out;

    void add(const riga_letta& r, std::string message) {
        out.push_back({utf8_path(path_from_utf8(m.registro.percorso(r.file)).filename()), r.linea,
                       std::move(message)});
    }
};

}  // namespace

std::string warning::text() const {
    std::string where = file;
    // Appended piecewise: g++ 12 at -O2 takes `":" + std::to_string(...)` for an overlapping copy (-Wrestrict).
    if (line > 0) where.append(":").append(std::to_string(line));
    return (where.empty() ? "" : where + ": ") + "warning: " + message;
}

std::vector<warning> scenario_warnings(const modello& m) {
    builder b{m, {}};
    const registro_lettura& reg = m.registro;

    std::map<genere_riga, const riga_letta*> previous;
    const riga_letta* previous_curve = nullptr;
    for (const riga_letta& r : reg.righe) {
        if (!has_position(r.genere) || r.valori.empty()) continue;
        const int32_t p = r.valori[0];
        const char* kind = nome_genere(r.genere);
        auto prev = previous.find(r.genere);
        if (prev != previous.end() && p < prev->second->valori[0])
            b.add(r, std::string(kind) + " at " + std::to_string(p) + " m is out of ascending order (line " +
                         std::to_string(prev->second->linea) + " is at " + std::to_string(prev->second->valori[0]) +
                         " m)");
        previous[r.genere] = &r;
        if (r.genere == genere_riga::curva && r.valori.size() >= 2) {
            // A curve starting before the previous one is out of order, reported above, not inside it.
            if (previous_curve != nullptr && previous_curve->valori.size() >= 2) {
                const int64_t start = previous_curve->valori[0];
                if (p >= start && p < start + previous_curve->valori[1])
                    b.add(r, "curve at " + std::to_string(p) + " m starts inside the curve of line " +
                                 std::to_string(previous_curve->linea));
            }
            if (r.oltre_geometria) b.add(r, "curve at " + std::to_string(p) + " m runs past the end of the geometry");
            previous_curve = &r;
        }
        if (placed_in_a_cell(r.genere) && p % 50 != 0)
            b.add(r, std::string(kind) + " position " + std::to_string(p) +
                         " m is not a multiple of 50: rounding to a cell moves it");
    }

    // Station areas from the records the reader filled, in station order.
    int stazione = 0;
    for (const riga_letta& s : reg.righe) {
        if (s.genere != genere_riga::stazione) continue;
        ++stazione;
        if (stazione >= VOCE_PRIMO_CARTELLO) break;
        const voce& v = m.voci[static_cast<size_t>(stazione)];
        for (const riga_letta& r : reg.righe) {
            if (r.genere != genere_riga::rallentamento || r.valori.size() < 3) continue;
            const int64_t inizio = r.valori[0], fine = inizio + r.valori[2];
            if (inizio < v.fine_zona && fine > v.inizio_zona)
                b.add(s, "station " + s.testo + " (area " + std::to_string(v.inizio_zona) + " to " +
                             std::to_string(v.fine_zona) + " m) overlaps the restriction of line " +
                             std::to_string(r.linea));
        }
    }

    // A runaway field (a whole file without a comma) is quoted by its start only.
    constexpr size_t QUOTED = 40;
    for (const campo_ignoto& f : reg.ignoti) {
        const std::string quoted = f.testo.size() <= QUOTED + 20
                                       ? f.testo
                                       : f.testo.substr(0, QUOTED) + "... (" + std::to_string(f.testo.size()) + " bytes)";
        b.out.push_back({utf8_path(path_from_utf8(reg.percorso(f.file)).filename()), f.linea,
                         "'" + quoted + "' matches no keyword (misspelt?)"});
    }
    return b.out;
}
