#pragma once
// Every fault of a scenario in one run. The reader stops at its first fault, as
// the compiled bytes require; to find the next ones the scenario is read again
// with each faulty line left out, until a reading goes through both files or the
// error limit is reached. The readings after the first are one reading that
// goes back only to the line before the one left out (lettura_continua), so
// their cost hardly grows with the number of faults.
#include <cstdint>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "compile/memorizza_percorso.h"
#include "text_input/lettura_continua.h"

// A recorded fault as the author is shown it.
diagnostic fault_diagnostic(const errore_registrato& e);

// The numbered report as the author is shown it: E1250 or E1251 at the line whose
// object holds the reserved value, saying what is reserved and how to free it.
diagnostic report_diagnostic(const modello& m, const rapporto_registrato& r);

struct fault_search {
    std::vector<diagnostic> errors;  // sorted by file (route first) and line
    bool limit_reached = false;
    // Every warning of the last reading with the faulty lines left out, which
    // read past where the first compile's reader stopped, and those each line
    // left out after the first compile's gave on its own; none when there was none.
    std::vector<diagnostic> read_on;
};

// Whether the search may go on past a fault with its line left out: a fault
// whose line, left out, changes no more than its own object. Leaving out any
// other line (a general-section value, a line whose fields ran into the next
// one) would make the later findings artefacts of the leaving out.
bool local_fault(const errore_registrato& e, const registro_lettura& files);

// From the first compile (m, esito), which was given `reading` as its ripresa,
// the faults of it and of the readings without the faulty lines, and its
// numbered report; limit 0 is no limit.
fault_search find_faults(const modello& m, const esito_compilazione& esito, lettura_continua& reading, int32_t limit);

// The first compile of the texts into m (whose identifiers are set) with
// `options`, and every fault found from it: the first compile lends its reader
// to the search's reading (as its ripresa), which then reads on without the
// faulty lines. options.ingressi must read the texts from `texts`.
struct searched_compile {
    esito_compilazione esito;
    fault_search faults;
};
searched_compile search_faults(modello& m, int32_t j, opzioni_compilazione options, const testi_lettore& texts,
                               int32_t limit);
