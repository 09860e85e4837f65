#pragma once
// Which warnings an author asked for, from the -W flags.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/warnings.h"
#include "model/modello.h"
#include "platform/failure.h"
#include "running/train_model.h"

// The warnings asked for: the default set, then each -W flag in order.
struct warning_choice {
    std::set<warning_kind> on;
    bool as_errors = false;                 // -Werror
    std::map<warning_kind, bool> error_of;  // -Werror=NAME (true) and -Wno-error=NAME (false), over -Werror
    train_model train;                      // the train the timetable's warnings assume

    // Whether a warning of the kind, when it is on, is taken as an error.
    bool is_error(warning_kind kind) const;
    // Whether any warning may be taken as an error.
    bool makes_errors() const;
};
// The choice of the -W flags (given without the "-W"), or what is wrong with one (a usage failure).
result<warning_choice> choose_warnings(const std::vector<std::string>& flags);
// The scenario's warnings the choice keeps, and those of `also` that m has not
// (the fault search's further reading); errors when it takes warnings as errors.
std::vector<diagnostic> chosen_warnings(const modello& m, const warning_choice& choice,
                                        const std::vector<diagnostic>& also = {});
