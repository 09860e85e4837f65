#include "diagnostics/warning_choice.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "diagnostics/nearest_name.h"
#include "diagnostics/running_warnings.h"
#include "diagnostics/warnings.h"
#include "platform/exit_status.h"

namespace {

const std::string ERROR_OF = "error=";

}  // namespace

bool warning_choice::is_error(warning_kind kind) const {
    const auto it = error_of.find(kind);
    return it != error_of.end() ? it->second : as_errors;
}

bool warning_choice::makes_errors() const {
    if (as_errors) return true;
    for (const auto& [name, error] : error_of)
        if (error) return true;
    return false;
}

result<warning_choice> choose_warnings(const std::vector<std::string>& flags) {
    warning_choice c;
    for (const warning_entry& k : warning_kinds())
        if (!k.pedantic) c.on.insert(k.kind);
    for (const std::string& flag : flags) {
        const bool no = flag.rfind("no-", 0) == 0;
        const std::string name = no ? flag.substr(3) : flag;
        // -Werror=NAME turns NAME on and makes it an error; -Wno-error=NAME keeps it a warning.
        if (name.rfind(ERROR_OF, 0) == 0) {
            const std::string kind = name.substr(ERROR_OF.size());
            if (const warning_entry* k = find_warning_kind(kind)) {
                c.error_of[k->kind] = !no;
                if (!no) c.on.insert(k->kind);
                continue;
            }
            std::vector<std::string> names;
            for (const warning_entry& k : warning_kinds()) names.push_back(k.name);
            std::string problem = "unknown warning option '-W" + flag + "'";
            if (auto near = nearest_name(kind, names))
                problem += "; did you mean '-W" + std::string(no ? "no-" : "") + ERROR_OF + *near + "'?";
            return failure{EXIT_USAGE, problem};
        }
        if (name == "error") {
            c.as_errors = !no;
        } else if (name == "all" && !no) {
            for (const warning_entry& k : warning_kinds()) c.on.insert(k.kind);
        } else if (const warning_entry* k = find_warning_kind(name)) {
            if (no)
                c.on.erase(k->kind);
            else
                c.on.insert(k->kind);
        } else {
            std::vector<std::string> names = {"all", "error"};
            for (const warning_entry& k : warning_kinds()) names.push_back(k.name);
            std::string problem = "unknown warning option '-W" + flag + "'";
            if (auto near = nearest_name(name, names)) problem += "; did you mean '-W" + std::string(no ? "no-" : "") + *near + "'?";
            return failure{EXIT_USAGE, problem};
        }
    }
    return c;
}

std::vector<diagnostic> chosen_warnings(const modello& m, const warning_choice& choice,
                                        const std::vector<diagnostic>& also) {
    std::vector<diagnostic> all = scenario_warnings(m);
    // The running times are worked out only when one of their warnings is asked for.
    if (std::any_of(RUNNING_KINDS.begin(), RUNNING_KINDS.end(),
                    [&](warning_kind k) { return choice.on.count(k) > 0; })) {
        for (diagnostic& d : running_warnings(m, choice.train, choice.on.count(warning_kind::tight_timetable) > 0)) all.push_back(std::move(d));
        sort_diagnostics(all);
    }
    if (!also.empty()) {
        const auto key = [](const diagnostic& d) {
            return std::tuple(d.code, d.place.file, d.place.line, d.place.column, d.message);
        };
        std::set<decltype(key(all.front()))> seen;
        for (const diagnostic& d : all) seen.insert(key(d));
        for (const diagnostic& d : also)
            if (seen.insert(key(d)).second) all.push_back(d);
        sort_diagnostics(all);
    }
    std::vector<diagnostic> out;
    for (diagnostic& d : all) {
        const warning_entry* k =
            d.code.rfind("-W", 0) == 0 ? find_warning_kind(std::string_view(d.code).substr(2)) : nullptr;
        if (!k || !choice.on.count(k->kind)) continue;
        if (choice.is_error(k->kind)) d.level = severity::error;
        out.push_back(std::move(d));
    }
    return out;
}
