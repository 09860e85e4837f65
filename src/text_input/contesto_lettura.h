#pragma once
// The reader's working state, shared by the route phase, the train phase and the
// station steps. Internal to the reader.
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "model/modello.h"
#include "model/run_time_failure.h"
#include "placement/rifiuto_posa.h"
#include "text_input/lettore_campi.h"
#include "text_input/memorizza_dati.h"

// Why the grid or the geometry can be used before the route length sized them.
constexpr const char* SENZA_LUNGHEZZA =
    "the general section has no 'lunghezza percorso' line before it (missing or misspelt?)";

// What a step tells the loop that runs it.
enum class passo {
    avanti,     // go on with the next test on the same keyword field
    fine_file,  // status 15: finish the current file as if its end had been reached
    ritorna,    // the reader returns
};

// Where the reading stands, for a reading taken up again at a body line.
enum class punto_lettura : uint8_t {
    inizio,       // before the route file
    corpo_linea,  // in the route file's body
    corpo_treno,  // in the train file's body
};

// All of the reader's working state but the model and the bytes: what a reading
// taken up again at a body line starts from.
struct stato_lettura {
    punto_lettura punto = punto_lettura::inizio;
    // The file being read; the field reader views its bytes.
    file_testo file = file_testo::linea;
    std::optional<lettore_campi> campi;
    int32_t linea_chiave = 0;  // line of the keyword field being handled
    bool riconosciuto = false;  // some test matched the keyword field being handled
    // The keyword field being handled, where it stands, and the fields begun
    // before its values, so that a failing value can be numbered.
    std::string chiave;
    luogo_testo posto_chiave;
    int64_t campi_alla_chiave = 0;
    // For the warnings: the line of the last value of the last line recorded, and
    // the last line whose further fields are not to be warned about again.
    int32_t linea_ultimo_valore = 0;
    int32_t linea_taciuta = 0;
    // For the warnings: the section being read; whether the field read last where
    // a keyword field stands began its line; the last comment passed over that
    // began its line (its line, 0 for none; whether the record holds it yet).
    sezione_riga sezione = sezione_riga::generale;
    bool primo_della_linea = false;
    int32_t linea_commento = 0;
    luogo_testo posto_commento;
    std::string testo_commento;
    bool commento_registrato = false;
    // A "[fine]" field has been read in the file: it closes a file saved whole.
    bool fine_vista = false;

    // Made afresh for every read, so each cursor starts at its value here. A run
    // value is stored when the next line of its kind, or the file's end, is read:
    // beside it, the field it was read from (no place for the value before the first line).
    // Route phase.
    int32_t cursore_pendenza = 0;
    int32_t pendenza_precedente = 0;
    luogo_testo origine_pendenza;
    int32_t cursore_geometria = 2;
    int32_t cursore_cartelli = VOCE_PRIMO_CARTELLO;
    // Train phase.
    int32_t cursore_velocita = 0;
    int32_t velocita_precedente = 0;
    luogo_testo origine_velocita;
    int32_t cursore_aderenza = 0;
    int32_t aderenza_precedente = 0;
    luogo_testo origine_aderenza;
    int32_t numero_stazione = 1;
    // The first line that needed the cell grid before the route length sized it.
    luogo_testo prima_senza_griglia;
};

struct contesto_lettura : stato_lettura {
    contesto_lettura(modello& modello_, const ingressi_lettore& ingressi_) : m(modello_), ingressi(ingressi_) {}

    modello& m;
    const ingressi_lettore& ingressi;
    std::string bytes;  // the file being read, whole in memory

    // At the start of each body line, before its keyword field is read.
    void inizio_riga();

    const std::filesystem::path& percorso() const {
        return file == file_testo::linea ? ingressi.linea : ingressi.treno;
    }
    lettore_campi& lettore() { return *campi; }

    // Reads the whole file into memory and starts a field reader on it.
    void apri(file_testo quale);
    // Deletes the current text file, when the caller lets the reader delete.
    void chiudi_e_cancella();

    // Last cell index for the bound checks: 0 while the grid is not sized.
    int32_t ultima_cella() const { return m.griglia_allocata() ? m.numero_celle : 0; }
    // A cell the reader is about to use; before the grid is sized, or outside it,
    // that is a run-time failure.
    cella& cella_at(int64_t k);

    // Starts handling the keyword field just read.
    void inizia_chiave(const std::string& campo);

    // Records a status at the current keyword; with its position, at the line's
    // first value.
    void esito(codice c);
    void esito(codice c, int32_t metri);
    // With its position, at the field the fault is about.
    void esito(codice c, int32_t metri, const luogo_testo& dove) { m.registra_errore(c, dove, metri); }
    // The bound check of a position: p + margine beyond the last cell's start, or
    // p below 0, records status 15 with p and returns true.
    bool oltre_griglia(int64_t p, int64_t margine = 100);
    // The file's own status: delete it, record the code (and position), return.
    passo rifiuta(codice c) {
        esito(c);
        chiudi_e_cancella();
        return passo::ritorna;
    }
    passo rifiuta(codice c, int32_t metri) {
        esito(c, metri);
        chiudi_e_cancella();
        return passo::ritorna;
    }
    passo rifiuta(codice c, int32_t metri, const luogo_testo& dove) {
        esito(c, metri, dove);
        chiudi_e_cancella();
        return passo::ritorna;
    }
    // A cell refused as occupied: the fault, and a note at the line whose object
    // holds the cell.
    passo rifiuta_occupata(codice c, int32_t metri, int64_t cella);
    // After a placement call: its refusal is the file's own status, with the
    // line's first value as the position; a status 15 left earlier does not stop
    // the reading, since only the call's own answer counts.
    passo dopo_posa(rifiuto_posa rifiuto, int32_t metri) {
        if (rifiuto.codice_rifiuto == codice::nessuno) return passo::avanti;
        if (rifiuto.cella >= 0) return rifiuta_occupata(rifiuto.codice_rifiuto, metri, rifiuto.cella);
        return rifiuta(rifiuto.codice_rifiuto, metri);
    }
    // The status 25 of a failure met while reading: its place and what it was.
    void guasto(const std::exception& e);

    // Reads a field where a keyword field stands (a comment or a keyword); one on
    // the line of a comment passed over is recorded as read in that comment's place.
    // Notes a "[fine]" field.
    std::string campo_chiave();
    // The field just read is passed over as a comment.
    void passa_commento(const std::string& campo);
    // Reads a keyword field of a body (two comment skips, each testing for the
    // end of the file); nullopt when the end has been reached.
    std::optional<std::string> chiave_corpo();
    // Notes the keyword field as an unknown one when nothing matched it.
    void nota_se_ignoto(const std::string& chiave);
    // Notes a route body line of kind `genere` read in the general section; its
    // further fields are not warned about as unknown.
    void nota_corpo_in_generale(genere_riga genere);

    // Where value field i of the line being handled stands (0: its first value);
    // the keyword's place when the line has not read that field.
    luogo_testo posto_campo(size_t i) const {
        const std::vector<luogo_testo>& posti = campi->dal_segno();
        return i < posti.size() ? posti[i] : posto_chiave;
    }

    // The keyword, as written and quoted for a message, of the line recorded with
    // a field at `campo`; the kind's name when no such line was recorded.
    std::string chiave_di(const luogo_testo& campo, genere_riga genere) const;
    // The same keyword as written.
    std::string chiave_scritta(const luogo_testo& campo, genere_riga genere) const;

    // Records a handled keyword line; returns its index in the record.
    size_t registra(genere_riga genere, std::initializer_list<int32_t> valori = {});
    riga_letta& registrata(size_t i) { return m.registro.righe[i]; }

    // A board text or a station name (`cosa`, for the warnings); longer than a
    // text field can hold on disk is a run-time failure. One its line lacks, read
    // from a later line, and one whose quote is not closed are recorded.
    std::string testo_valore(const char* cosa);
    // Records a section line that names no section of the files.
    void nota_sezione(const std::string& campo);

    // A repeat-until run-value fill from the cursor up to (not including) fino: at
    // least one pass. A write above the last cell is dropped; the value is still
    // computed. With ferma, a pass first stops the fill when the cursor has reached
    // the last cell.
    template <class V>
    void riempi(int32_t& cursore, int64_t fino, uint8_t cella::*campo, bool ferma, V valore) {
        do {
            if (ferma && cursore >= ultima_cella()) return;
            uint8_t v = valore();
            if (!m.griglia_allocata() || cursore <= m.numero_celle) cella_at(cursore).*campo = v;
            ++cursore;
        } while (cursore < fino);
    }
};

// Route phase, steps 2 to 7; false when the reader returns before the train phase.
// From the body line where c stands when c.punto is corpo_linea.
bool fase_linea(contesto_lettura& c);
// Train phase and end processing; from the body line where c stands when c.punto is corpo_treno.
void fase_treno(contesto_lettura& c);
// Both phases from where c stands, a failure recorded as status 25. Never throws.
void leggi_fasi(contesto_lettura& c);
// The station steps for the station number's entry.
passo stazione(contesto_lettura& c);
