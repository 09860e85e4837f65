#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/compile.h"
#include "cli/input_files.h"
#include "cli/warnings.h"
#include "compile/codici_errore.h"
#include "compile/file_compilati.h"
#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "model/testo_1252.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/io_failure.h"
#include "platform/path_text.h"

namespace {

bool same_file(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

std::string file_name(const std::string& path) { return utf8_path(path_from_utf8(path).filename()); }

// "FILE:LINE: " for a known place, "FILE: " for a file alone, nothing otherwise.
std::string where(const luogo_testo& l) {
    if (l.file.empty()) return "";
    return file_name(l.file) + (l.line > 0 ? ":" + std::to_string(l.line) : "") + ": ";
}

nlohmann::json place_json(const luogo_testo& l) {
    return {{"file", l.file.empty() ? nlohmann::json(nullptr) : nlohmann::json(file_name(l.file))},
            {"line", l.line > 0 ? nlohmann::json(l.line) : nlohmann::json(nullptr)}};
}

// What the run tells the author: diagnostics on err, and with --json one summary on out.
struct summary {
    std::ostream& out;
    std::ostream& err;
    bool json = false;
    nlohmann::json j = {{"codice_errore", 0}, {"metri_errore", 0}, {"file", nullptr},   {"line", nullptr},
                        {"message", ""},      {"note", nullptr},    {"report", nullptr}, {"warnings", nlohmann::json::array()},
                        {"written", nlohmann::json::array()}};

    int finish(int status, const std::string& message) {
        if (!message.empty()) err << message << '\n';
        j["message"] = message;
        if (json) out << j.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << std::endl;
        return status;
    }

    // The error state with its place and note; returns its diagnostic lines.
    std::string fault(const modello& m) {
        j["codice_errore"] = numero(m.codice_errore);
        j["metri_errore"] = m.metri_errore;
        const nlohmann::json place = place_json(m.origine);
        j["file"] = place["file"];
        j["line"] = place["line"];
        if (m.codice_errore == codice::nessuno) return "";
        std::string text = where(m.origine) + messaggio_errore(m.codice_errore, m.metri_errore);
        if (!m.origine.nota_testo.empty()) {
            j["note"] = place_json(m.origine.nota);
            j["note"]["message"] = m.origine.nota_testo;
            text += "\n" + where(m.origine.nota) + "note: " + m.origine.nota_testo;
        }
        return text;
    }
};

// Why an identifier cannot be part of a file name on any platform the files go
// to, or nothing when it can; the identifiers name every file of the scenario.
std::optional<std::string> file_name_problem(const std::string& id) {
    if (id.empty()) return "is empty, and names no file";
    for (const char c : id) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32) return "holds the control character " + std::to_string(byte) + ", which a file name cannot";
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return std::string("holds '") + c + "', which a file name cannot";
    }
    if (id.back() == '.' || id.back() == ' ')
        return std::string("ends with '") + id.back() + "', which a file name cannot";
    return std::nullopt;
}

}  // namespace

int run_compile(const compile_options& o, std::ostream& out, std::ostream& err) {
    summary s{out, err, o.json};
    // A missing input is named for what it is, not for its name's shape.
    for (const auto& input : {o.route, o.train})
        if (auto problem = input_problem(input))
            return s.finish(EXIT_FAILURE_IO, "scenario-compiler compile: " + utf8_path(input) + ": " + *problem);
    std::string id = o.route_id, number = o.train_number;
    if (id.empty()) {
        auto derived = id_from_route_name(utf8_path(o.route.filename()));
        if (!derived)
            return s.finish(EXIT_USAGE, "scenario-compiler compile: " + utf8_path(o.route.filename()) +
                                            " is not named ID_linea.txt; give --route-id");
        id = *derived;
    }
    if (number.empty()) {
        auto derived = number_from_train_name(utf8_path(o.train.filename()), id);
        if (!derived)
            return s.finish(EXIT_USAGE, "scenario-compiler compile: " + utf8_path(o.train.filename()) +
                                            " is not named " + id + "_N-.txt; give --train-number");
        number = *derived;
    }
    // The identifiers go into the compiled files as Windows-1252 text, whatever
    // the platform's own encoding of names and arguments.
    modello m;
    std::string problem;
    for (auto [utf8, target, what] : {std::tuple{&id, &m.nome_linea, "route identifier"},
                                      std::tuple{&number, &m.numero_treno, "train number"}}) {
        std::optional<std::string> cp1252, reason = file_name_problem(*utf8);
        if (!reason && !(cp1252 = cp1252_da_utf8(*utf8, problem))) reason = "cannot name the files: " + problem;
        if (reason)
            return s.finish(EXIT_USAGE, std::string("scenario-compiler compile: the ") + what + " '" + *utf8 +
                                            "' " + *reason);
        *target = *cp1252;
    }
    for (const std::string& name : {nome_file_linea(m), nome_file_voci(m), nome_file_celle(m)})
        for (const auto& input : {o.route, o.train})
            if (same_file(percorso_file(o.output, name), input))
                return s.finish(EXIT_USAGE, "scenario-compiler compile: the output " + utf8_da_1252(name) +
                                                " would overwrite the input " + utf8_path(input));
    // --check writes nothing, not even the folder.
    if (auto unusable = output_problem(o.output, !o.check))
        return s.finish(EXIT_FAILURE_IO, "scenario-compiler compile: " + utf8_path(o.output) + ": " + *unusable);

    opzioni_compilazione opzioni;
    opzioni.ingressi = {o.route, o.train, false};  // an author's files are never deleted
    opzioni.cartella = o.output;
    opzioni.scrittura = o.check            ? scrittura_compilati::mai
                        : o.write_on_error ? scrittura_compilati::sempre
                                           : scrittura_compilati::senza_errori;
    esito_compilazione esito;
    try {
        esito = memorizza_percorso(m, o.no_geometry ? 0 : 1, opzioni);
    } catch (const io_failure& e) {
        return s.finish(EXIT_FAILURE_IO, std::string("scenario-compiler compile: ") + e.what());
    }
    for (const std::string& w : esito.scritti) s.j["written"].push_back(utf8_da_1252(w));
    for (const warning& w : scenario_warnings(m)) {
        err << w.text() << '\n';
        s.j["warnings"].push_back({{"file", w.file}, {"line", w.line}, {"message", w.message}});
    }
    std::string message = s.fault(m);
    if (esito.rapporto != codice::nessuno) {
        // The fault recorded before the report is still the author's to fix.
        const std::string numero_rapporto = std::to_string(numero(esito.rapporto));
        s.j["report"] = numero_rapporto;
        message += (message.empty() ? "" : "\n") + testo_errore(numero_rapporto);
        return s.finish(EXIT_RESERVED, message);
    }
    if (m.codice_errore == codice::nessuno && esito.griglia_allocata) return s.finish(EXIT_OK, "");
    return s.finish(EXIT_ERROR_STATE, message);
}


void add_compile_command(CLI::App& app, command_action& chosen) {
    auto o = std::make_shared<compile_options>();
    CLI::App* sub = add_command(app, "compile", "Compile a route text file and a train text file",
                                "scenario-compiler compile Lidonia_Sabrio_linea.txt Lidonia_Sabrio_914-.txt -o out");
    add_path_option(sub, "ROUTE", o->route, "The route text file (ID_linea.txt)")->required();
    add_path_option(sub, "TRAIN", o->train, "The train text file (ID_N-.txt)")->required();
    add_path_option(sub, "-o,--output", o->output,
                    "Output directory, created when it does not exist (default: the current directory)");
    sub->add_option("--route-id", o->route_id, "Route identifier (default: from ROUTE's name)");
    sub->add_option("--train-number", o->train_number, "Train number (default: from TRAIN's name)");
    sub->add_flag("--no-geometry", o->no_geometry, "Build no geometry and write no route file");
    CLI::Option* check = sub->add_flag("--check", o->check, "Do everything but write the compiled files");
    sub->add_flag("--write-on-error", o->write_on_error,
                  "Write the compiled files even when the error state is not 0 (never after a numbered report)")
        ->excludes(check);
    sub->add_flag("--json", o->json, "Print one JSON summary object on stdout");
    sub->callback([&chosen, o] { chosen = [o] { return run_compile(*o, std::cout, std::cerr); }; });
}
