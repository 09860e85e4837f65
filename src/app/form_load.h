#pragma once
// The fixed run: the stages a start without arguments performs, in their order, and
// the exit status and report it ends with.
#include <filesystem>
#include <functional>
#include <ostream>
#include <string_view>
#include <vector>

#include "app/form1.h"

// One step of the fixed run, by the name of the procedure it calls.
struct passo_avvio {
    std::string_view nome;
    std::function<void(Form1&)> esegui;
};

// The stages the fixed run calls, in their order.
const std::vector<passo_avvio>& sequenza_avvio();

// The end of the fixed run: 0 when the scenario compiled with error state 0; the
// numbered report shown on `out` and status 4 when a reserved value was in use;
// otherwise one line on `out` naming the code, its meaning and its position (or
// that nothing was compiled, when the reader built no grid), and status 1.
int esito_avvio(const Form1& form, std::ostream& out);

// The fixed run: sets the identifiers, shows the wait window on `out`, then runs
// every stage in order with `directory` as the application directory. Returns the
// exit status; throws io_failure for a run-time failure outside the reader.
int Form_Load(Form1& form, const std::filesystem::path& directory, std::ostream& out);
