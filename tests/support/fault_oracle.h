#pragma once
// The fault search as it was first written, kept as the reference for the one
// that reads on: it compiles the whole scenario again with each faulty line
// left out, as plainly as it can. Both must give the same errors, in the same
// order, with the same notes.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "compile/memorizza_percorso.h"
#include "diagnostics/faults.h"
#include "text_input/lettura_continua.h"

// Empties line `line` of a text (its line end stays, so later lines keep their
// numbers); lines end as the reader ends them: CR LF, LF or CR. False when the
// line holds nothing. Written apart from the reading's own, so as to check it.
inline bool blank_line(std::string& text, int32_t line) {
    size_t i = 0;
    for (int32_t l = 1; l < line; ++i) {
        if (i >= text.size()) return false;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (text[i] == '\r' || text[i] == '\n') ++l;
    }
    size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (end == i) return false;
    text.erase(i, end - i);
    return true;
}

inline fault_search recompiling_search(const modello& first, const esito_compilazione& first_esito,
                                       const opzioni_compilazione& opzioni, const testi_lettore& texts,
                                       int32_t limit) {
    fault_search found;
    testi_lettore work = texts;
    opzioni_compilazione again = opzioni;
    again.ingressi.testi = &work;
    again.scrittura = scrittura_compilati::mai;
    again.consenti_scrittura = nullptr;
    std::set<std::tuple<file_testo, int32_t, codice>> seen;
    bool any_left_out = false;
    luogo_testo left_out;
    modello m;
    const modello* current = &first;
    esito_compilazione esito = first_esito;
    const auto full = [&] { return limit > 0 && static_cast<int32_t>(found.errors.size()) >= limit; };
    for (;;) {
        const auto add = [&](const errore_registrato& e, bool may_follow) {
            if (!seen.insert({e.origine.file, e.origine.line, e.codice_errore}).second || full()) return;
            diagnostic d = fault_diagnostic(e);
            if (may_follow)
                d.notes.push_back({left_out, "found with line " + std::to_string(left_out.line) +
                                                 " left out for its error; it may follow from that one"});
            found.errors.push_back(std::move(d));
        };
        const std::vector<errore_registrato>& errori = current->errori;
        const size_t reader = std::min(esito.errori_lettura, errori.size());
        bool go_on = reader > 0;
        for (size_t i = 0; i < reader; ++i) {
            const errore_registrato& e = errori[i];
            add(e, false);
            std::string* text = e.origine.file == file_testo::linea   ? &work.linea
                                : e.origine.file == file_testo::treno ? &work.treno
                                                                      : nullptr;
            go_on = go_on && local_fault(e, current->registro) && text != nullptr && e.origine.line > 0 &&
                    blank_line(*text, e.origine.line);
            if (go_on) {
                left_out = e.origine;
                any_left_out = true;
            }
        }
        if (reader == 0) {
            for (size_t i = reader; i < errori.size(); ++i) add(errori[i], any_left_out);
            break;
        }
        if (!go_on || full()) break;
        m = modello{};
        m.nome_linea = first.nome_linea;
        m.numero_treno = first.numero_treno;
        esito = memorizza_percorso(m, first.genera_tracciato, again);
        current = &m;
    }
    found.limit_reached = full();
    if (first.rapporto) found.errors.push_back(report_diagnostic(first, *first.rapporto));
    sort_diagnostics(found.errors);
    return found;
}

// A search's errors, one line each with everything the author is shown.
inline std::vector<std::string> shown(const fault_search& s) {
    std::vector<std::string> out;
    const auto at = [](const luogo_testo& p) {
        return std::to_string(static_cast<int>(p.file)) + ":" + std::to_string(p.line) + ":" +
               std::to_string(p.column) + "+" + std::to_string(p.length);
    };
    for (const diagnostic& d : s.errors) {
        std::string line = d.code + " " + at(d.place) + " " + d.message;
        if (d.position_m) line += " @" + std::to_string(*d.position_m);
        for (const diagnostic_note& n : d.notes) line += " | " + at(n.place) + " " + n.message;
        out.push_back(line);
    }
    if (s.limit_reached) out.push_back("(limit reached)");
    return out;
}

// Compiles the two texts once, then searches both ways from that compile, which
// must agree (a failure names `what`); the errors found.
inline size_t searches_agree(const std::string& route, const std::string& train, int32_t j, int32_t limit,
                           const std::string& what) {
    modello m;
    m.nome_linea = "Prova";
    m.numero_treno = "1";
    testi_lettore texts{route, train};
    opzioni_compilazione o;
    o.ingressi = {"Prova_linea.txt", "Prova_1-.txt", false, &texts};
    o.scrittura = scrittura_compilati::mai;
    const searched_compile searched = search_faults(m, j, o, texts, limit);
    const std::vector<std::string> read_on = shown(searched.faults);
    const std::vector<std::string> reference = shown(recompiling_search(m, searched.esito, o, texts, limit));
    EXPECT_EQ(read_on, reference) << what;
    return reference.size();
}
