#include "text_input/contesto_lettura.h"

#include "platform/file_ops.h"
#include "text_input/campi_righe.h"
#include "text_input/citato.h"
#include "text_input/lettura_continua.h"
#include "text_input/virgola_mancante.h"
#include "text_input/confronto.h"

void contesto_lettura::apri(file_testo quale) {
    campi.reset();
    file = quale;
    bytes = ingressi.testi ? (quale == file_testo::linea ? ingressi.testi->linea : ingressi.testi->treno)
                           : read_file(percorso());
    campi.emplace(bytes, quale);
    linea_ultimo_valore = linea_taciuta = linea_commento = 0;
    commento_registrato = false;
    fine_vista = false;
    // Looked for apart from the fields, so that the reading itself pays nothing for it.
    if (std::optional<byte_estraneo> b = campi->primo_estraneo()) m.registro.estranei.push_back(*b);
}

void contesto_lettura::inizio_riga() {
    if (ingressi.ripresa) ingressi.ripresa->inizio_riga(*this);
}

void contesto_lettura::chiudi_e_cancella() {
    campi.reset();
    if (ingressi.cancella_testi) delete_file(percorso());
}

cella& contesto_lettura::cella_at(int64_t k) {
    if (!m.griglia_allocata())
        throw run_time_failure(std::string("the cell grid is used before the route length sized it: ") + SENZA_LUNGHEZZA,
                               prima_senza_griglia);
    if (!m.in_griglia(k)) throw run_time_failure("subscript out of range: cell " + std::to_string(k));
    return m.cella_da_scrivere(static_cast<size_t>(k));
}

void contesto_lettura::inizia_chiave(const std::string& campo) {
    lettore_campi& r = lettore();
    linea_chiave = r.linea_campo();
    posto_chiave = r.posto();
    chiave = campo;
    campi_alla_chiave = r.campi();
    riconosciuto = false;
    r.segna();
    // A field on the line of the last value recorded is one the line has in excess.
    if (linea_ultimo_valore == linea_chiave && linea_taciuta != linea_chiave &&
        campo.find_first_not_of(" \t") != std::string::npos) {
        m.registro.in_piu.push_back(
            {posto_chiave, campo, static_cast<int32_t>(m.registro.righe.size()) - 1});
        linea_taciuta = linea_chiave;
    }
}

void contesto_lettura::esito(codice c) { m.registra_errore(c, posto_chiave); }

void contesto_lettura::esito(codice c, int32_t metri) {
    // The position is the line's first value, when it has been read on this line.
    const bool aperto = campi.has_value();
    const bool primo = aperto && !lettore().dal_segno().empty() && lettore().dal_segno().front().line == linea_chiave;
    m.registra_errore(c, primo ? lettore().dal_segno().front() : posto_chiave, metri);
}

passo contesto_lettura::rifiuta_occupata(codice c, int32_t metri, int64_t cella) {
    rifiuta(c, metri);
    const int32_t riga = m.riga_cella(cella);
    if (riga >= 0) {
        const riga_letta& r = m.registro.righe[static_cast<size_t>(riga)];
        std::string testo = "cell " + std::to_string(cella) + " is taken by this " + nome_genere(r.genere);
        if (!r.valori.empty()) testo += " at " + std::to_string(r.valori[0]) + " m";
        m.annota_errore(m.luogo_riga(riga), testo);
    }
    return passo::ritorna;
}

namespace {

bool ha_lettera(const std::string& s) {
    for (unsigned char ch : s) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) return true;
        // Windows-1252 accented letters.
        if (ch >= 0xC0 && ch != 0xD7 && ch != 0xF7) return true;
    }
    return false;
}

}  // namespace

void contesto_lettura::guasto(const std::exception& e) {
    const auto* campo = dynamic_cast<const campo_illeggibile*>(&e);
    const auto* valore = dynamic_cast<const run_time_failure*>(&e);
    if (campo == nullptr && valore != nullptr && valore->campo.line > 0) {
        // A value that does not fit, at its own field; a run value is stored
        // while a later line, or the file's end, is read: that is noted apart.
        m.registra_errore(codice::lettura_fallita, valore->campo);
        m.dettaglia_errore(e.what());
        const luogo_testo qui = !campi                                   ? luogo_testo{file, 0, 0, 0}
                                : lettore().posto().line == linea_chiave ? posto_chiave
                                                                         : luogo_testo{file, lettore().posto().line, 0, 0};
        if (qui.file != valore->campo.file || qui.line != valore->campo.line) m.trovato_errore(qui);
        return;
    }
    if (!campi || campo == nullptr) {
        // Not a field: an overflow in a computation, a text too long, a cell out
        // out of range; after the file's end, in a fill that belongs to no line.
        // Placed at the keyword while on its line, else at the line the reader was on.
        const luogo_testo dove = !campi                                ? luogo_testo{file, 0, 0, 0}
                                 : lettore().posto().line == linea_chiave ? posto_chiave
                                                                         : luogo_testo{file, lettore().posto().line, 0, 0};
        m.registra_errore(codice::lettura_fallita, dove);
        m.dettaglia_errore(std::string("run-time failure while reading ") + citato(chiave) + ": " + e.what());
        return;
    }
    const lettore_campi& r = lettore();
    const luogo_testo p = r.posto();
    const int64_t numero_campo = r.campi() - campi_alla_chiave;
    const std::string quale = "field " + std::to_string(numero_campo) + " of " + citato(chiave);
    const std::string atteso = "a whole number from " + std::to_string(campo->minimo) + " to " +
                               std::to_string(campo->massimo);
    const luogo_testo fine_riga{file, linea_chiave, r.fine_linea(linea_chiave), 0};
    // A line short of a value whose keyword field holds a number: the comma after the keyword is missing.
    const std::optional<virgola_mancante> virgola =
        campo->fine_file || p.line != linea_chiave ? cerca_virgola_mancante(chiave) : std::nullopt;
    if (virgola) {
        const auto colonna = [&](size_t byte) { return posto_chiave.column + static_cast<int32_t>(byte); };
        const std::string dopo = chiave.substr(0, virgola->dopo), numero = chiave.substr(virgola->numero, virgola->lunghezza);
        m.registra_errore(codice::lettura_fallita,
                          {file, linea_chiave, colonna(virgola->numero), static_cast<int32_t>(virgola->lunghezza)});
        m.dettaglia_errore("missing comma after " + citato(dopo) + "? Without it " + citato(numero) +
                           " is part of the keyword field, and the line lacks " + quale +
                           (campo->fine_file ? ": the file ends first"
                                             : ", so it was read from line " + std::to_string(p.line) + ", where " +
                                                   citato(campo->trovato) + " is not " + atteso));
        if (!campo->fine_file) m.annota_errore(p, quale + " was read from here");
        m.virgola_errore({file, linea_chiave, colonna(virgola->dopo), 0});
    } else if (campo->fine_file) {
        m.registra_errore(codice::lettura_fallita, fine_riga);
        m.dettaglia_errore(quale + " is missing: the file ends first");
    } else if (p.line != linea_chiave) {
        // The line is short: the reader went on into a later line for the field.
        m.registra_errore(codice::lettura_fallita, fine_riga);
        m.dettaglia_errore("this line lacks " + quale + ", so it was read from line " + std::to_string(p.line) +
                           ", where " + citato(campo->trovato) + " is not " + atteso);
        m.annota_errore(p, quale + " was read from here");
    } else {
        m.registra_errore(codice::lettura_fallita, p);
        m.dettaglia_errore(quale + " must be " + atteso + ", found " + citato(campo->trovato));
    }
    // Values written after a ';' or a tab are part of the keyword field: likely why the line lacks them.
    if (const size_t s = chiave.find_first_of(";\t"); s != std::string::npos)
        m.separatore_errore(posto_chiave, chiave[s]);
}

bool contesto_lettura::oltre_griglia(int64_t p, int64_t margine) {
    if (!m.griglia_allocata() && prima_senza_griglia.line == 0) prima_senza_griglia = posto_chiave;
    if (p >= 0 && p + margine <= int64_t{METRI_CELLA} * ultima_cella()) return false;
    esito(codice::oltre_griglia, static_cast<int32_t>(p));
    return true;
}

std::string contesto_lettura::campo_chiave() {
    lettore_campi& r = lettore();
    const int32_t prima = r.linea_campo();
    std::string campo = r.testo();
    primo_della_linea = r.linea_campo() != prima;
    if (!fine_vista && contains(campo, "[")) fine_vista = contains_ignore_case(campo, "[fine]");
    if (linea_commento == r.linea_campo() && !campo.empty()) {
        if (!commento_registrato) {
            m.registro.commenti.push_back({posto_commento, testo_commento, sezione});
            commento_registrato = true;
            // One warning for the line: its further fields are not warned about as unknown or extra.
            linea_taciuta = linea_commento;
        }
        commento_con_campi& k = m.registro.commenti.back();
        ++k.campi;
        k.con_lettere = k.con_lettere || ha_lettera(campo);
    }
    return campo;
}

void contesto_lettura::passa_commento(const std::string& campo) {
    // A comment after other fields of its line is the concern of the warnings about those.
    if (!primo_della_linea) return;
    linea_commento = lettore().linea_campo();
    posto_commento = lettore().posto();
    testo_commento = campo;
    commento_registrato = false;
}

std::optional<std::string> contesto_lettura::chiave_corpo() {
    lettore_campi& r = lettore();
    // The body's end is the file's: one saved whole ends with its "[fine]".
    const auto fine_file = [&]() -> std::optional<std::string> {
        if (!fine_vista) m.registro.senza_fine.push_back(r.ultima_riga());
        return std::nullopt;
    };
    if (r.fine()) return fine_file();
    std::string chiave = campo_chiave();
    if (r.fine()) return fine_file();
    for (int i = 0; i < 2 && contains(chiave, "-"); ++i) {
        passa_commento(chiave);
        chiave = campo_chiave();
        if (r.fine()) return fine_file();
    }
    inizia_chiave(chiave);
    return chiave;
}

void contesto_lettura::nota_corpo_in_generale(genere_riga genere) {
    std::optional<corpo_in_generale>& corpo = m.registro.corpo_nel_generale;
    if (linea_taciuta == linea_chiave) return;
    linea_taciuta = linea_chiave;
    if (!corpo) corpo = corpo_in_generale{posto_chiave, chiave, genere, 0, {}};
    ++corpo->righe;
}

void contesto_lettura::nota_se_ignoto(const std::string& campo) {
    if (riconosciuto || !ha_lettera(campo) || contains(campo, "-")) return;
    if (contains(campo, "[") && contains(campo, "]")) return nota_sezione(campo);
    // The further fields of a line already warned about are not warned about again.
    if (linea_taciuta == linea_chiave) return;
    m.registro.ignoti.push_back({posto_chiave, campo, -1, sezione});
    linea_taciuta = linea_chiave;
}

std::string contesto_lettura::testo_valore(const char* cosa) {
    lettore_campi& r = lettore();
    // Where the text belongs: just after the line's last value.
    const luogo_testo ultimo = r.dal_segno().empty() ? posto_chiave : r.dal_segno().back();
    std::string t = r.testo();
    if (t.size() > 32767) throw run_time_failure("string too long: " + std::to_string(t.size()) + " bytes");
    if (r.posto().line != ultimo.line) {
        m.registro.testi_da_dopo.push_back({{file, ultimo.line, ultimo.column + ultimo.length, 0}, r.posto(), t, cosa});
        // The warning tells of the line the text came from: its further fields are not warned about again.
        linea_taciuta = r.posto().line;
    } else if (r.virgolette_aperte()) {
        m.registro.virgolette.push_back({r.posto(), t, cosa});
    }
    return t;
}

void contesto_lettura::nota_sezione(const std::string& campo) {
    if (campo.empty() || campo.front() != '[' || sezione_nota(campo)) return;
    m.registro.sezioni_ignote.push_back({posto_chiave, campo, -1, sezione});
}

std::string contesto_lettura::chiave_scritta(const luogo_testo& campo, genere_riga genere) const {
    for (auto r = m.registro.righe.rbegin(); r != m.registro.righe.rend(); ++r)
        if (r->luogo.file == campo.file && r->luogo.line == campo.line) return r->chiave;
    return nome_genere(genere);
}

std::string contesto_lettura::chiave_di(const luogo_testo& campo, genere_riga genere) const {
    return citato(chiave_scritta(campo, genere));
}

size_t contesto_lettura::registra(genere_riga genere, std::initializer_list<int32_t> valori) {
    riconosciuto = true;
    riga_letta r;
    r.luogo = {file, linea_chiave, posto_chiave.column, static_cast<int32_t>(chiave.size())};
    r.chiave = chiave;
    r.genere = genere;
    r.valori = valori;
    r.posti = lettore().dal_segno();
    m.registro.righe.push_back(std::move(r));
    linea_ultimo_valore = lettore().linea_campo();
    return m.registro.righe.size() - 1;
}
