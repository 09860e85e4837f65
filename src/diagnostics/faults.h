#pragma once
// Every fault of a scenario in one run. The reader stops at its first fault, as
// the compiled bytes require; to find the next ones the scenario is compiled
// again with each faulty line left out (a compile takes milliseconds), until a
// compile reads both files through or the error limit is reached.
#include <cstdint>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "compile/memorizza_percorso.h"

// A recorded fault as the author is shown it.
diagnostic fault_diagnostic(const errore_registrato& e);

// The numbered report as the author is shown it: E1250 or E1251 at the line whose
// object holds the reserved value, saying what is reserved and how to free it.
diagnostic report_diagnostic(const modello& m, const rapporto_registrato& r);

struct fault_search {
    std::vector<diagnostic> errors;  // sorted by file (route first) and line
    bool limit_reached = false;
};

// From the first compile (m, esito, over texts), the faults of it and of the
// compiles without the faulty lines, and its numbered report; limit 0 is no limit.
fault_search find_faults(const modello& m, const esito_compilazione& esito, const opzioni_compilazione& opzioni,
                         const testi_lettore& texts, int32_t limit);

