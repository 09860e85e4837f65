#pragma once
// Every code the run can end with, in one table: the error-state codes that the
// reader, the placements and the grid pass record, and the two numbers of the
// numbered report. The fixed run's diagnostics and the author's command line
// both describe a code through this table.
#include <cstdint>
#include <vector>

struct voce_errore {
    int32_t codice;
    const char* chi;          // the stage that records it
    const char* significato;  // short meaning, one line
    const char* posizione;    // what metri_errore holds with it
    const char* seguito;      // what the run does next
};

// Numbers of the numbered report; they end the process instead of being recorded.
constexpr int32_t ERRORE_RISERVATO_PRIMO = 1250;
constexpr int32_t ERRORE_RISERVATO_SECONDO = 1251;

// All codes, in the order in which the run can meet them.
const std::vector<voce_errore>& tabella_errori();

// The entry of a code, or nullptr for a code the run never records.
const voce_errore* cerca_errore(int32_t codice);

// The meaning of a code, or "unknown error code" when it has no entry.
const char* significato_errore(int32_t codice);
