#include <algorithm>
#include <iostream>
#include <memory>

#include <nlohmann/json.hpp>

#include "cli/command_table.h"
#include "cli/commands.h"
#include "compile/codici_errore.h"
#include "platform/exit_status.h"
#include "platform/format_reference.h"

namespace {

// Where the text files' reference explains a code's topic.
std::string reference(const voce_errore& e) { return format_reference() + "#" + e.sezione; }

}  // namespace

std::string errors_failure_document(const std::string& message) {
    return nlohmann::json{{"error", {{"message", message}}}}.dump(1, ' ', false, nlohmann::json::error_handler_t::replace);
}

int run_errors(const errors_options& o, std::ostream& out, std::ostream& err) {
    std::vector<const voce_errore*> chosen;
    for (const voce_errore& e : tabella_errori())
        if (!o.code || numero(e.numero) == *o.code) chosen.push_back(&e);
    if (chosen.empty()) {
        const failure f = usage_error("there is no error code " + std::to_string(*o.code) +
                                      "; 'scenario-compiler errors' lists them all");
        if (o.json) out << errors_failure_document(failure_line("errors", f.message)) << std::endl;
        return print_failure(err, "errors", f);
    }
    // The table is in the order the run meets the codes; an author looks them up by number.
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const voce_errore* a, const voce_errore* b) { return numero(a->numero) < numero(b->numero); });
    nlohmann::json list = nlohmann::json::array();
    for (const voce_errore* e : chosen) {
        if (o.json) {
            nlohmann::json j = {{"code", numero(e->numero)}, {"meaning", e->significato}, {"fix", e->rimedio},
                                {"see", reference(*e)},     {"position", e->con_posizione}};
            if (o.verbose) {
                j["recorded_by"] = e->chi;
                j["metres"] = e->posizione;
                j["next"] = e->seguito;
            }
            list.push_back(j);
            continue;
        }
        out << "error " << e->numero << ": " << e->significato << "\n    fix: " << e->rimedio
            << "\n    see: " << reference(*e) << "\n";
        if (o.verbose)
            out << "    recorded by: " << e->chi << "\n    position: " << e->posizione << "\n    next: " << e->seguito
                << "\n";
    }
    if (o.json) out << list.dump(1) << std::endl;
    return EXIT_OK;
}

void add_errors_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<errors_options>();
    CLI::App* sub = add_command(app, "errors", "Every error code: what it means and how to fix it",
                                "scenario-compiler errors 16",
                                {{EXIT_OK}, {EXIT_USAGE}});
    if (!sub) return;
    sub->add_option("CODE", o->code, "Show this code only (e.g. 16)");
    sub->add_flag("--json", o->json, "Print a JSON array of the codes");
    sub->add_flag("--verbose", o->verbose, "Also say which stage records each code and what the run does next");
    sub->callback([&chosen, o] { chosen = [o] { return run_errors(*o, std::cout, std::cerr); }; });
}
