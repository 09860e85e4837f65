#include <iostream>
#include <memory>
#include <optional>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/warnings.h"
#include "compile/codici_errore.h"
#include "compile/file_compilati.h"
#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"
#include "platform/process_end.h"

namespace {

struct compile_options {
    std::filesystem::path route, train, output = ".";
    std::string route_id, train_number;
    bool no_geometry = false, check = false, json = false;
};

// What the JSON summary reports; kept where the numbered report's hook can reach it.
struct summary {
    bool json = false;
    nlohmann::json j = {{"codice_errore", 0}, {"metri_errore", 0}, {"file", nullptr},   {"line", nullptr},
                        {"message", ""},      {"report", nullptr},  {"warnings", nlohmann::json::array()},
                        {"written", nlohmann::json::array()}};
    void print() const {
        if (json) std::cout << j.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
    }
};
summary g_summary;

int finish(int status, const std::string& message) {
    if (!message.empty()) std::cerr << message << '\n';
    g_summary.j["message"] = message;
    g_summary.print();
    return status;
}

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

// "FILE:LINE: error N: meaning (at M m)", with what of the place is known.
std::string diagnostic(const modello& m) {
    std::string where;
    if (!m.origine.file.empty()) {
        where = std::filesystem::path(m.origine.file).filename().string();
        if (m.origine.line > 0) where += ":" + std::to_string(m.origine.line);
        where += ": ";
    } else if (const riga_letta* r = line_of_grid_fault(m)) {
        where = std::filesystem::path(m.registro.percorso(r->file)).filename().string() + ":" +
                std::to_string(r->linea) + ": ";
    }
    std::string text = where + "error " + std::to_string(m.codice_errore) + ": " + significato_errore(m.codice_errore);
    const voce_errore* e = cerca_errore(m.codice_errore);
    if (e && std::string_view(e->posizione) != "not set") text += " (at " + std::to_string(m.metri_errore) + " m)";
    return text;
}

void report_hook(const std::string& numero) {
    g_summary.j["report"] = numero;
    g_summary.j["message"] = " Errore n. " + numero;
    g_summary.print();
}

int run_compile(compile_options o) {
    g_summary.json = o.json;
    std::string id = o.route_id, number = o.train_number;
    if (id.empty()) {
        auto derived = id_from_route_name(o.route.filename().string());
        if (!derived)
            return finish(EXIT_USAGE, "scenario-compiler compile: " + o.route.filename().string() +
                                          " is not named ID_linea.txt; give --route-id");
        id = *derived;
    }
    if (number.empty()) {
        auto derived = number_from_train_name(o.train.filename().string(), id);
        if (!derived)
            return finish(EXIT_USAGE, "scenario-compiler compile: " + o.train.filename().string() + " is not named " +
                                          id + "_N-.txt; give --train-number");
        number = *derived;
    }
    for (const auto& input : {o.route, o.train})
        if (auto problem = input_problem(input))
            return finish(EXIT_FAILURE_IO, "scenario-compiler compile: " + input.string() + ": " + *problem);
    std::error_code ec;
    if (!std::filesystem::is_directory(o.output, ec))
        return finish(EXIT_FAILURE_IO, "scenario-compiler compile: " + o.output.string() + ": not a directory");

    modello m;
    m.nome_linea = id;
    m.numero_treno = number;
    for (const std::string& name : {nome_file_linea(m), nome_file_voci(m), nome_file_celle(m)})
        for (const auto& input : {o.route, o.train})
            if (same_file(o.output / name, input))
                return finish(EXIT_USAGE, "scenario-compiler compile: the output " + name + " would overwrite the input " +
                                              input.string());

    set_before_errore_hook(report_hook);
    opzioni_compilazione opzioni;
    opzioni.ingressi = {o.route, o.train, false};  // an author's files are never deleted
    opzioni.cartella = o.output;
    opzioni.scrivi_compilati = !o.check;
    esito_compilazione esito;
    try {
        esito = memorizza_percorso(m, o.no_geometry ? 0 : 1, opzioni);
    } catch (const io_failure& e) {
        return finish(EXIT_FAILURE_IO, std::string("scenario-compiler compile: ") + e.what());
    }
    for (const std::string& w : esito.scritti) g_summary.j["written"].push_back(w);
    for (const warning& w : scenario_warnings(m)) {
        std::cerr << w.text() << '\n';
        g_summary.j["warnings"].push_back({{"file", w.file}, {"line", w.line}, {"message", w.message}});
    }
    g_summary.j["codice_errore"] = m.codice_errore;
    g_summary.j["metri_errore"] = m.metri_errore;
    if (!m.origine.file.empty()) g_summary.j["file"] = std::filesystem::path(m.origine.file).filename().string();
    if (m.origine.line > 0) g_summary.j["line"] = m.origine.line;
    if (m.origine.file.empty())
        if (const riga_letta* r = line_of_grid_fault(m)) {
            g_summary.j["file"] = std::filesystem::path(m.registro.percorso(r->file)).filename().string();
            g_summary.j["line"] = r->linea;
        }
    if (m.codice_errore == 0 && esito.griglia_allocata) return finish(EXIT_OK, "");
    return finish(EXIT_ERROR_STATE, diagnostic(m));
}

}  // namespace

void add_compile_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<compile_options>();
    CLI::App* sub = add_command(app, "compile", "Compile a route text file and a train text file");
    sub->add_option("ROUTE", o->route, "The route text file (ID_linea.txt)")->required();
    sub->add_option("TRAIN", o->train, "The train text file (ID_N-.txt)")->required();
    sub->add_option("-o", o->output, "Output directory (default: the current directory)");
    sub->add_option("--route-id", o->route_id, "Route identifier (default: from ROUTE's name)");
    sub->add_option("--train-number", o->train_number, "Train number (default: from TRAIN's name)");
    sub->add_flag("--no-geometry", o->no_geometry, "Build no geometry and write no route file");
    sub->add_flag("--check", o->check, "Do everything but write the compiled files");
    sub->add_flag("--json", o->json, "Print one JSON summary object on stdout");
    sub->callback([&chosen, o] { chosen = [o] { return run_compile(*o); }; });
}
