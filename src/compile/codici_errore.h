#pragma once
// Every code the run can end with, in one table: the error-state codes that the
// reader, the placements and the grid pass record, and the two numbers of the
// numbered report. The fixed run's end-of-run line and the author's command line
// both describe a fault through this table.
#include <cstdint>
#include <string>
#include <vector>

#include "model/codice.h"

struct voce_errore {
    codice numero;
    bool con_posizione;       // metri_errore is recorded with it
    const char* chi;          // the stage that records it
    const char* significato;  // short meaning, one line
    const char* posizione;    // what metri_errore holds with it
    const char* seguito;      // what the run does next
    const char* rimedio;      // how an author mends it, in the author's words
    const char* sezione;      // the anchor of its topic in docs/format.md
    // The fault concerns its own line's object alone: with that line left out, the
    // rest of the scenario reads as before, so the search for more faults goes on.
    bool locale = false;
};

// All codes, in the order in which the run can meet them.
const std::vector<voce_errore>& tabella_errori();

// The entry of a code, or nullptr for one without an entry (nessuno).
const voce_errore* cerca_errore(codice c);

// The meaning of a code, or "unknown error code" when it has no entry.
const char* significato_errore(codice c);

// "error N: meaning", with " (at M m)" for a code recorded with its position.
std::string messaggio_errore(codice c, int32_t metri);
