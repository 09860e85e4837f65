#include "diagnostics/faults.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

#include "compile/codici_errore.h"
#include "compile/passata_griglia.h"
#include "diagnostics/warnings.h"
#include "model/testo_1252.h"
#include "text_input/lettura_continua.h"

namespace {

// How far along an object of a kind must stand to leave cell 1 free, in metres;
// 0 for a kind with no such position. An object one cell along lands in cell 2; a
// code cut, whose cell is not one on, from a cell and a half, rounded to the even 2.
int32_t free_of_cell_1(genere_riga g) {
    switch (g) {
        case genere_riga::segnale:
        case genere_riga::cartello_indicatore:
        case genere_riga::indicatori_vmax:
        case genere_riga::rallentamento: return METRI_CELLA;
        case genere_riga::abbattimento: return METRI_CELLA + METRI_CELLA / 2;
        default: return 0;
    }
}

// The warnings line `at` gives on its own, from the records of its keyword and
// fields as m read it: for a line about to be left out for its error, whose
// warnings the further readings no longer see.
// `one` holds them, a model kept from line to line so as not to be made afresh.
std::vector<diagnostic> own_warnings(const modello& m, const luogo_testo& at, modello& one) {
    const auto here = [&](const luogo_testo& p) { return p.file == at.file && p.line == at.line; };
    const registro_lettura& r = m.registro;
    registro_lettura& o = one.registro;
    o.righe.clear();
    std::vector<int32_t> moved(r.righe.size(), -1);
    for (size_t i = 0; i < r.righe.size(); ++i)
        if (here(r.righe[i].luogo)) {
            moved[i] = static_cast<int32_t>(o.righe.size());
            o.righe.push_back(r.righe[i]);
        }
    // Each list's entries of the line, by the place each kind of entry is at.
    const auto keep = [&](auto& to, const auto& from, auto place) {
        to.clear();
        for (const auto& x : from)
            if (here(place(x))) to.push_back(x);
    };
    const auto posto = [](const auto& x) -> const luogo_testo& { return x.posto; };
    keep(o.ignoti, r.ignoti, posto);
    keep(o.in_piu, r.in_piu, posto);
    for (campo_ignoto& f : o.in_piu)
        f.riga_prima = f.riga_prima >= 0 && static_cast<size_t>(f.riga_prima) < moved.size() ? moved[f.riga_prima] : -1;
    keep(o.troncati, r.troncati, [](const valore_troncato& t) -> const luogo_testo& { return t.origine.posti[0]; });
    keep(o.sostituiti, r.sostituiti, posto);
    keep(o.arrotondati, r.arrotondati, posto);
    keep(o.commenti, r.commenti, posto);
    keep(o.testi_da_dopo, r.testi_da_dopo, [](const testo_da_dopo& t) -> const luogo_testo& { return t.fine_riga; });
    keep(o.virgolette, r.virgolette, posto);
    keep(o.sezioni_ignote, r.sezioni_ignote, posto);
    return scenario_warnings(one);
}

}  // namespace

bool local_fault(const errore_registrato& e, const registro_lettura& files) {
    if (e.codice_errore == codice::lettura_fallita)
        // A field of a body line that could not be read, on that line.
        return e.origine.nota_testo.empty() &&
               (e.origine.file == file_testo::treno ||
                (files.fine_generale > 0 && e.origine.line > files.fine_generale));
    const voce_errore* entry = cerca_errore(e.codice_errore);
    return entry != nullptr && entry->locale;
}

diagnostic report_diagnostic(const modello& m, const rapporto_registrato& r) {
    const bool first = r.numero == codice::riservato_primo;
    const bool cell = r.posto == posto_riservato::cella_uno;
    diagnostic d;
    d.level = severity::error;
    d.code.append("E").append(std::to_string(numero(r.numero)));
    d.place = r.luogo;
    const std::string value = std::string(first ? "first" : "second") + " value (" +
                              (cell ? (first ? "dato1" : "dato2") : (first ? "parametro1" : "orario")) + ")";
    if (!cell) {
        d.message = "record 85, the route's record, is reserved for the compiler's own values, and its " + value +
                    " already holds one that no line put there";
        return d;
    }
    d.message = "cell 1 is reserved for the compiler's own values, and ";
    if (r.riga < 0 || static_cast<size_t>(r.riga) >= m.registro.righe.size()) {
        d.message += "its " + value + " already holds one that no line put there";
        return d;
    }
    const riga_letta& line = m.registro.righe[static_cast<size_t>(r.riga)];
    // A cut the grid pass inserted belongs to its restriction's line.
    const bool inserted_cut = line.genere == genere_riga::rallentamento && m.celle.size() > 1 &&
                              m.celle[1].tipo_oggetto == OGGETTO_ABBATTIMENTO;
    if (inserted_cut) {
        d.message += "the code cut inserted for the restriction of this line takes its " + value +
                     ": move the restriction, or the objects just after cell 1, further along";
    } else {
        const int32_t metres = free_of_cell_1(line.genere);
        d.message += "the " + std::string(nome_genere(line.genere)) + " of this line takes its " + value +
                     ": move it " + (metres > 0 ? "to " + std::to_string(metres) + " m or more" : "further along");
    }
    return d;
}

diagnostic fault_diagnostic(const errore_registrato& e) {
    diagnostic d;
    d.level = severity::error;
    // Appended piecewise: g++ 12 at -O3 (MinGW-w64's too) takes `"E" + std::to_string(...)`
    // for an overlapping copy (-Wrestrict); at the build's -O2 either form is quiet.
    d.code.append("E").append(std::to_string(numero(e.codice_errore)));
    d.place = e.origine;
    const voce_errore* entry = cerca_errore(e.codice_errore);
    if (e.metri && entry != nullptr && entry->con_posizione) d.position_m = *e.metri;
    if (!e.origine.dettaglio.empty()) {
        d.message = utf8_da_1252(e.origine.dettaglio);
    } else {
        d.message = significato_errore(e.codice_errore);
        if (d.position_m) d.message += " (at " + std::to_string(*d.position_m) + " m)";
    }
    if (!e.origine.nota_testo.empty()) d.notes.push_back({e.origine.nota, utf8_da_1252(e.origine.nota_testo)});
    if (e.origine.separatore != 0)
        d.notes.push_back({e.origine.campo_unito, std::string("fields are separated by commas, not by ") +
                                                      (e.origine.separatore == ';' ? "';'" : "tabs") +
                                                      ": this whole text is one keyword field"});
    if (e.origine.virgola.file != file_testo::nessuno) d.fixes.push_back({e.origine.virgola, ","});
    if (e.origine.trovato.file != file_testo::nessuno)
        d.notes.push_back({e.origine.trovato, e.origine.trovato.line > 0
                                                  ? "found while reading line " + std::to_string(e.origine.trovato.line)
                                                  : std::string("found at the end of the file")});
    return d;
}

fault_search find_faults(const modello& first, const esito_compilazione& first_esito, lettura_continua& reading,
                         int32_t limit) {
    fault_search found;
    std::set<std::tuple<file_testo, int32_t, codice>> seen;
    bool any_left_out = false;
    luogo_testo left_out;  // the last line left out
    const auto full = [&] { return limit > 0 && static_cast<int32_t>(found.errors.size()) >= limit; };
    const auto add = [&](const errore_registrato& e, bool may_follow) {
        if (!seen.insert({e.origine.file, e.origine.line, e.codice_errore}).second || full()) return;
        diagnostic d = fault_diagnostic(e);
        if (may_follow)
            d.notes.push_back({left_out, "found with line " + std::to_string(left_out.line) +
                                             " left out for its error; it may follow from that one"});
        found.errors.push_back(std::move(d));
    };

    // The first compile's reader stopped at its faults; from there one reading
    // goes on, each time with the faulty lines left out, until it reads both
    // files through or the limit is reached.
    modello& m = reading.letto();
    modello one_line;
    const modello* current = &first;
    size_t reader = std::min(first_esito.errori_lettura, first.errori.size());
    // Each pass leaves out at least one more line, so the passes end.
    for (;;) {
        const std::vector<errore_registrato>& errori = current->errori;
        bool go_on = reader > 0;
        for (size_t i = 0; i < reader; ++i) {
            const errore_registrato& e = errori[i];
            add(e, false);
            go_on = go_on && local_fault(e, current->registro) && reading.ometti(e.origine.file, e.origine.line);
            if (go_on) {
                left_out = e.origine;
                any_left_out = true;
                // The first compile's own warnings are all shown; a later reading's
                // faulty line is read no more after this.
                if (current == &m)
                    for (diagnostic& d : own_warnings(m, e.origine, one_line)) found.read_on.push_back(std::move(d));
            }
        }
        if (reader == 0) {
            // The reader went through: the grid pass sees the whole scenario, less
            // the lines left out.
            size_t grid = 0;
            if (current == &m && m.griglia_allocata()) {
                grid = m.errori.size();
                passata_griglia(m);
            }
            for (size_t i = grid; i < current->errori.size(); ++i) add(current->errori[i], any_left_out);
            break;
        }
        if (!go_on || full()) break;
        reading.leggi();
        current = &m;
        reader = m.errori.size();
    }
    found.limit_reached = full();
    if (current == &m)
        for (diagnostic& d : scenario_warnings(m)) found.read_on.push_back(std::move(d));
    // The report ended the first compile: it is shown whatever the limit.
    if (first.rapporto) found.errors.push_back(report_diagnostic(first, *first.rapporto));
    sort_diagnostics(found.errors);
    return found;
}

searched_compile search_faults(modello& m, int32_t j, opzioni_compilazione options, const testi_lettore& texts,
                               int32_t limit) {
    modello searched;
    searched.nome_linea = m.nome_linea, searched.numero_treno = m.numero_treno;
    lettura_continua reading(searched, j, options.ingressi, texts);
    options.ingressi.ripresa = &reading;
    searched_compile out;
    out.esito = memorizza_percorso(m, j, options);
    out.faults = find_faults(m, out.esito, reading, limit);
    return out;
}
