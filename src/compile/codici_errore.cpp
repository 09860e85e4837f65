#include "compile/codici_errore.h"

namespace {

constexpr const char* NESSUNA = "not set";
constexpr const char* POSIZIONE_OGGETTO = "the object's position (first value of its line)";
constexpr const char* ROUTE_RETURN = "route text file deleted; the reader returns";
constexpr const char* BOTH_RETURN = "both text files deleted; the reader returns";
constexpr const char* PASS_GOES_ON = "the grid pass goes on";

const std::vector<voce_errore> TABELLA = {
    {codice::linea_mancante, false, "reader, route phase", "the route text file does not exist", NESSUNA,
     "the reader returns; no grid is built and nothing is compiled",
     "Give the path of the route text file; it is named ID_linea.txt, or give --route-id.",
     "files-and-names", false},
    {codice::generale_mancante, false, "reader, route phase", "the route text file ends before its general section", NESSUNA,
     "route text file deleted; the reader returns; no grid is built and nothing is compiled",
     "Begin the route file with a line [generale]: everything before it is skipped, so a file without it holds no route.",
     "route-sections", false},
    {codice::lunghezza_eccessiva, false, "reader, route phase", "route length outside 0 to 1000000 m", NESSUNA,
     "route text file deleted; the reader returns; no grid is built unless an earlier length line built one",
     "Give 'lunghezza percorso' a length from 0 to 1000000 metres.",
     "lunghezza-percorso", false},
    {codice::ripetizione_inizio, false, "reader, route phase", "first signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN,
     "Write the first value of 'ripetizione segnali' (where the repetition starts) as a multiple of 50 metres.",
     "ripetizione-segnali", false},
    {codice::ripetizione_fine, false, "reader, route phase", "second signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN,
     "Write the second value of 'ripetizione segnali' (where the repetition ends) as a multiple of 50 metres.",
     "ripetizione-segnali", false},
    {codice::ripetizione_codici, false, "reader, route phase", "signal-repetition keyword carries neither 4 nor 9", NESSUNA, ROUTE_RETURN,
     "Put the number of codes, 4 or 9, in the keyword: 'ripetizione segnali 4 codici' or 'ripetizione segnali 9 codici'.",
     "ripetizione-segnali", false},
    {codice::curva_senza_classe, false, "reader, route phase", "curve without a class digit 1 to 6, or geometry past 1000000 m", NESSUNA,
     ROUTE_RETURN,
     "Give the curve keyword its side letter and a class digit from 1 to 6, as in 'curvas3' or 'curvad4'; and keep the curves within 1000000 metres of plan.",
     "curva", true},
    {codice::cartello_occupato, true, "reader, route phase", "indication board cell already occupied", "the board's position", ROUTE_RETURN,
     "Move the indication board by 50 metres or more: another object already holds its 50-metre cell.",
     "occupied-cells", true},
    {codice::indicatore_occupato, true, "speed-indicator board placement", "speed-indicator board cell already occupied", POSIZIONE_OGGETTO,
     ROUTE_RETURN,
     "Move the speed-indicator board by 50 metres or more: another object already holds its cell.",
     "indicatori_vmax", true},
    {codice::montagne_esaurite, true, "mountain-span placement", "more than 80 mountain spans", "the span's start", ROUTE_RETURN,
     "Use at most 80 mountain spans: join neighbouring spans or leave some out.",
     "montagna", true},
    {codice::oltre_griglia, true, "reader, either phase", "object position outside the grid", "the object's position",
     "the current text file is finished as if it had ended; reading goes on with what follows",
     "Keep the position within the line: from 0 to the route length plus 6900 metres (6200 for a station). Check the position, and the route length in the route file.",
     "position-bounds", true},
    {codice::abbattimento_occupato, true, "reader, train phase", "code-cut cell already occupied", "the code cut's position", BOTH_RETURN,
     "Move the code cut by 50 metres or more: another object already holds its cell.",
     "abbattimento", true},
    {codice::stazione_posizione, true, "reader, train phase", "station position not a multiple of 50", "the station's position", BOTH_RETURN,
     "Write the station's position as a multiple of 50 metres.",
     "stazione", true},
    {codice::stazione_lunghezza, true, "reader, train phase", "station length not a multiple of 100", "the station's position", BOTH_RETURN,
     "Write the station's length as a multiple of 100 metres.",
     "stazione", true},
    {codice::stazione_iniziale, false, "reader, train phase", "marked station whose area ends at or before metre 100", NESSUNA, BOTH_RETURN,
     "Move the marked station forward or shorten it, so that its area ends after metre 100.",
     "stazione", true},
    {codice::stazioni_vicine, true, "reader, train phase", "station area starts less than 350 m after the previous station's area",
     "the station's position", BOTH_RETURN,
     "Leave at least 350 metres between the end of the previous station's area and the start of this one: move a station or shorten an area.",
     "stazione", true},
    {codice::voci_esaurite, false, "reader, either phase",
     "no free record left in voci for a station or an indication board (at most 78 together)",
     "not set for a station; the board's position for an indication board",
     "the text file being read is deleted (both for a station); the reader returns",
     "Use at most 78 stations and indication boards together: leave some out.",
     "record-limits", true},
    {codice::segnale_occupato, true, "signal placement", "signal cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN,
     "Move the signal by 50 metres or more: another object already holds its 50-metre cell.",
     "segnale", true},
    {codice::avviso_occupato, true, "restriction placement", "restriction warning cell (1200 m before the start) already occupied",
     POSIZIONE_OGGETTO, BOTH_RETURN,
     "The restriction's warning point, 1200 metres before its start, falls on a cell that is taken: move the restriction, or the object at the warning point.",
     "rallentamento", true},
    {codice::inizio_occupato, true, "restriction placement", "restriction start cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN,
     "Move the restriction's start, or the object already at that cell, by 50 metres or more.",
     "rallentamento", true},
    {codice::fine_occupata, true, "restriction placement", "restriction end cell already occupied or outside the grid", POSIZIONE_OGGETTO,
     BOTH_RETURN,
     "End the restriction within the line, and on a free cell: shorten it, or move the object at its end.",
     "rallentamento", true},
    {codice::preavviso_occupato, true, "restriction placement", "restriction pre-warning cell already occupied", POSIZIONE_OGGETTO,
     BOTH_RETURN,
     "The cells just before the restriction's warning point are taken: move the restriction, or the objects there.",
     "rallentamento", true},
    {codice::progressiva_non_multipla, false, "reader, after the train file", "kilometric reference start or value not a multiple of 50", NESSUNA,
     "the reader returns",
     "Write each kilometric reference's start and value as multiples of 50 metres.",
     "progressiva-chilometrica", false},
    {codice::lettura_fallita, false, "reader, either phase", "run-time failure while reading (bad field, overflow, read past the end)",
     NESSUNA, "all files closed, the remaining text files deleted; the reader returns",
     "Look at the line named: every number must be a whole number within its field's range (no decimal point, no letters, not too large), a quoted text must be closed, and the line must carry every field its keyword reads.",
     "numbers", false},
    {codice::taglio_segnale, true, "grid pass", "no cell for a code cut before a signal ahead of a restriction warning point",
     "the signal cell's index x 50", PASS_GOES_ON,
     "Leave a free cell for the automatic code cut before the signal: move the signal, or the object beside it, by 50 metres.",
     "automatic-code-cuts", false},
    {codice::taglio_avvicinamento, true, "grid pass", "no free approach cell for a code cut before a restriction start",
     "the start cell's index x 50", PASS_GOES_ON,
     "Leave one of the cells before the restriction's start free for the automatic code cut: move the object the note names.",
     "automatic-code-cuts", false},
    {codice::taglio_lungo, true, "grid pass", "no free cell for a code cut along a slow restriction or before the signal after it",
     "the cursor cell's index x 50", PASS_GOES_ON,
     "Leave a free cell every few cells along the slow restriction for the automatic code cuts: move the object the note names.",
     "automatic-code-cuts", false},
    {codice::riservato_primo, false, "reserved-value stamps",
     "reserved value already in use: parametro1 of record 85 or dato1 of cell 1", "not recorded",
     "numbered report ' Errore n. 1250'; the run ends and no compiled file is written",
     "Keep signals, boards and restriction starts at 50 metres and beyond, and code cuts at 75 metres and beyond: cell 1 holds values of the compiler's own.",
     "reserved-cell-1", false},
    {codice::riservato_secondo, false, "reserved-value stamps",
     "reserved value already in use: orario of record 85 or dato2 of cell 1", "not recorded",
     "numbered report ' Errore n. 1251'; the run ends and no compiled file is written",
     "Keep signals, boards and restriction starts at 50 metres and beyond, and code cuts at 75 metres and beyond: cell 1 holds values of the compiler's own.",
     "reserved-cell-1", false},
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
