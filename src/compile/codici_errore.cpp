#include "compile/codici_errore.h"

namespace {

constexpr const char* NESSUNA = "not set";
constexpr const char* POSIZIONE_OGGETTO = "the object's position (first value of its line)";
constexpr const char* ROUTE_RETURN = "route text file deleted; the reader returns";
constexpr const char* BOTH_RETURN = "both text files deleted; the reader returns";
constexpr const char* PASS_GOES_ON = "the grid pass goes on";

const std::vector<voce_errore> TABELLA = {
    {codice::linea_mancante, false, "reader, route phase", "the route text file does not exist", NESSUNA,
     "the reader returns; no grid is built and nothing is compiled"},
    {codice::generale_mancante, false, "reader, route phase", "the route text file ends before its general section", NESSUNA,
     "route text file deleted; the reader returns; no grid is built and nothing is compiled"},
    {codice::lunghezza_eccessiva, false, "reader, route phase", "route length outside 0 to 1000000 m", NESSUNA,
     "route text file deleted; the reader returns; no grid is built unless an earlier length line built one"},
    {codice::ripetizione_inizio, false, "reader, route phase", "first signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN},
    {codice::ripetizione_fine, false, "reader, route phase", "second signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN},
    {codice::ripetizione_codici, false, "reader, route phase", "signal-repetition keyword carries neither 4 nor 9", NESSUNA, ROUTE_RETURN},
    {codice::curva_senza_classe, false, "reader, route phase", "curve without a class digit 1 to 6, or geometry past 1000000 m", NESSUNA,
     ROUTE_RETURN},
    {codice::cartello_occupato, true, "reader, route phase", "indication board cell already occupied", "the board's position", ROUTE_RETURN},
    {codice::indicatore_occupato, true, "speed-indicator board placement", "speed-indicator board cell already occupied", POSIZIONE_OGGETTO,
     ROUTE_RETURN},
    {codice::montagne_esaurite, true, "mountain-span placement", "more than 80 mountain spans", "the span's start", ROUTE_RETURN},
    {codice::oltre_griglia, true, "reader, either phase", "object position outside the grid", "the object's position",
     "the current text file is finished as if it had ended; reading goes on with what follows"},
    {codice::abbattimento_occupato, true, "reader, train phase", "code-cut cell already occupied", "the code cut's position", BOTH_RETURN},
    {codice::stazione_posizione, true, "reader, train phase", "station position not a multiple of 50", "the station's position", BOTH_RETURN},
    {codice::stazione_lunghezza, true, "reader, train phase", "station length not a multiple of 100", "the station's position", BOTH_RETURN},
    {codice::stazione_iniziale, false, "reader, train phase", "marked station whose area ends at or before metre 100", NESSUNA, BOTH_RETURN},
    {codice::stazioni_vicine, true, "reader, train phase", "station area starts less than 350 m after the previous station's area",
     "the station's position", BOTH_RETURN},
    {codice::voci_esaurite, false, "reader, either phase",
     "no free record left in voci for a station or an indication board (at most 78 together)",
     "not set for a station; the board's position for an indication board",
     "the text file being read is deleted (both for a station); the reader returns"},
    {codice::segnale_occupato, true, "signal placement", "signal cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN},
    {codice::avviso_occupato, true, "restriction placement", "restriction warning cell (1200 m before the start) already occupied",
     POSIZIONE_OGGETTO, BOTH_RETURN},
    {codice::inizio_occupato, true, "restriction placement", "restriction start cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN},
    {codice::fine_occupata, true, "restriction placement", "restriction end cell already occupied or outside the grid", POSIZIONE_OGGETTO,
     BOTH_RETURN},
    {codice::preavviso_occupato, true, "restriction placement", "restriction pre-warning cell already occupied", POSIZIONE_OGGETTO,
     BOTH_RETURN},
    {codice::progressiva_non_multipla, false, "reader, after the train file", "kilometric reference start or value not a multiple of 50", NESSUNA,
     "the reader returns"},
    {codice::lettura_fallita, false, "reader, either phase", "run-time failure while reading (bad field, overflow, read past the end)",
     NESSUNA, "all files closed, the remaining text files deleted; the reader returns"},
    {codice::taglio_segnale, true, "grid pass", "no cell for a code cut before a signal ahead of a restriction warning point",
     "the signal cell's index x 50", PASS_GOES_ON},
    {codice::taglio_avvicinamento, true, "grid pass", "no free approach cell for a code cut before a restriction start",
     "the start cell's index x 50", PASS_GOES_ON},
    {codice::taglio_lungo, true, "grid pass", "no free cell for a code cut along a slow restriction or before the signal after it",
     "the cursor cell's index x 50", PASS_GOES_ON},
    {codice::riservato_primo, false, "reserved-value stamps",
     "reserved value already in use: parametro1 of record 85 or dato1 of cell 1", "not recorded",
     "numbered report ' Errore n. 1250'; the run ends and no compiled file is written"},
    {codice::riservato_secondo, false, "reserved-value stamps",
     "reserved value already in use: orario of record 85 or dato2 of cell 1", "not recorded",
     "numbered report ' Errore n. 1251'; the run ends and no compiled file is written"},
};

}  // namespace

const std::vector<voce_errore>& tabella_errori() { return TABELLA; }

const voce_errore* cerca_errore(codice c) {
    for (const voce_errore& e : TABELLA)
        if (e.numero == c) return &e;
    return nullptr;
}

const char* significato_errore(codice c) {
    const voce_errore* e = cerca_errore(c);
    return e ? e->significato : "unknown error code";
}

std::string messaggio_errore(codice c, int32_t metri) {
    std::string testo = "error " + std::to_string(numero(c)) + ": " + significato_errore(c);
    const voce_errore* e = cerca_errore(c);
    if (e != nullptr && e->con_posizione) testo += " (at " + std::to_string(metri) + " m)";
    return testo;
}
