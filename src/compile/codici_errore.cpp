#include "compile/codici_errore.h"

namespace {

constexpr const char* NESSUNA = "not set";
constexpr const char* POSIZIONE_OGGETTO = "the object's position (first value of its line)";
constexpr const char* ROUTE_RETURN = "route text file deleted; the reader returns";
constexpr const char* BOTH_RETURN = "both text files deleted; the reader returns";
constexpr const char* PASS_GOES_ON = "the grid pass goes on";

const std::vector<voce_errore> TABELLA = {
    {101, "reader, route phase", "the route text file does not exist", NESSUNA,
     "the reader returns; no grid is built and nothing is compiled"},
    {102, "reader, route phase", "the route text file ends before its general section", NESSUNA,
     "route text file deleted; the reader returns; no grid is built and nothing is compiled"},
    {1, "reader, route phase", "route length outside 0 to 1000000 m", NESSUNA,
     "route text file deleted; the reader returns; no grid is built unless an earlier length line built one"},
    {3, "reader, route phase", "first signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN},
    {4, "reader, route phase", "second signal-repetition value not a multiple of 50", NESSUNA, ROUTE_RETURN},
    {5, "reader, route phase", "signal-repetition keyword carries neither 4 nor 9", NESSUNA, ROUTE_RETURN},
    {103, "reader, route phase", "curve without a class digit 1 to 6, or geometry past 1000000 m", NESSUNA,
     ROUTE_RETURN},
    {6, "reader, route phase", "indication board cell already occupied", "the board's position", ROUTE_RETURN},
    {21, "speed-indicator board placement", "speed-indicator board cell already occupied", POSIZIONE_OGGETTO,
     ROUTE_RETURN},
    {14, "mountain-span placement", "more than 80 mountain spans", "the span's start", ROUTE_RETURN},
    {15, "reader, either phase", "object position outside the grid", "the object's position",
     "the current text file is finished as if it had ended; reading goes on with what follows"},
    {7, "reader, train phase", "code-cut cell already occupied", "the code cut's position", BOTH_RETURN},
    {8, "reader, train phase", "station position not a multiple of 50", "the station's position", BOTH_RETURN},
    {9, "reader, train phase", "station length not a multiple of 100", "the station's position", BOTH_RETURN},
    {24, "reader, train phase", "marked station whose area ends at or before metre 100", NESSUNA, BOTH_RETURN},
    {22, "reader, train phase", "station area starts less than 350 m after the previous station's area",
     "the station's position", BOTH_RETURN},
    {10, "reader, either phase",
     "no free record left in voci for a station or an indication board (at most 78 together)",
     "not set for a station; the board's position for an indication board",
     "the text file being read is deleted (both for a station); the reader returns"},
    {16, "signal placement", "signal cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN},
    {17, "restriction placement", "restriction warning cell (1200 m before the start) already occupied",
     POSIZIONE_OGGETTO, BOTH_RETURN},
    {18, "restriction placement", "restriction start cell already occupied", POSIZIONE_OGGETTO, BOTH_RETURN},
    {19, "restriction placement", "restriction end cell already occupied or outside the grid", POSIZIONE_OGGETTO,
     BOTH_RETURN},
    {20, "restriction placement", "restriction pre-warning cell already occupied", POSIZIONE_OGGETTO,
     BOTH_RETURN},
    {2, "reader, after the train file", "kilometric reference start or value not a multiple of 50", NESSUNA,
     "the reader returns"},
    {25, "reader, either phase", "run-time failure while reading (bad field, overflow, read past the end)",
     NESSUNA, "all files closed, the remaining text files deleted; the reader returns"},
    {11, "grid pass", "no cell for a code cut before a signal ahead of a restriction warning point",
     "the signal cell's index x 50", PASS_GOES_ON},
    {12, "grid pass", "no free approach cell for a code cut before a restriction start",
     "the start cell's index x 50", PASS_GOES_ON},
    {13, "grid pass", "no free cell for a code cut along a slow restriction or before the signal after it",
     "the cursor cell's index x 50", PASS_GOES_ON},
    {ERRORE_RISERVATO_PRIMO, "reserved-value stamps",
     "reserved value already in use: parametro1 of record 85 or dato1 of cell 1", "not recorded",
     "numbered report ' Errore n. 1250'; the run ends and no compiled file is written"},
    {ERRORE_RISERVATO_SECONDO, "reserved-value stamps",
     "reserved value already in use: orario of record 85 or dato2 of cell 1", "not recorded",
     "numbered report ' Errore n. 1251'; the run ends and no compiled file is written"},
};

}  // namespace

const std::vector<voce_errore>& tabella_errori() { return TABELLA; }

const voce_errore* cerca_errore(int32_t codice) {
    for (const voce_errore& e : TABELLA)
        if (e.codice == codice) return &e;
    return nullptr;
}

const char* significato_errore(int32_t codice) {
    const voce_errore* e = cerca_errore(codice);
    return e ? e->significato : "unknown error code";
}
