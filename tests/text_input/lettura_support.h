#pragma once
// Small scenarios written to a fresh directory and read back.
#include <string>

#include "model/modello.h"
#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"
#include "text_input/memorizza_dati.h"

// A route text: general section with the given length, then the body lines.
inline std::string linea(const std::string& corpo, const std::string& lunghezza = "10000",
                         const std::string& generale = "") {
    return "titolo\r\n[generale]\r\nlunghezza percorso, " + lunghezza + "\r\n" + generale + "[curve]\r\n" + corpo +
           "[fine]\r\n";
}

// A train text: "[generale]" and the body lines.
inline std::string treno(const std::string& corpo) { return "[generale]\r\n" + corpo + "[fine]\r\n"; }

struct scenario {
    temp_dir dir;
    modello m;

    std::filesystem::path percorso_linea() const { return dir.path() / "R_linea.txt"; }
    std::filesystem::path percorso_treno() const { return dir.path() / "R_1-.txt"; }

    void scrivi(const std::string& testo_linea, const std::string& testo_treno) {
        write_file(percorso_linea(), testo_linea);
        write_file(percorso_treno(), testo_treno);
    }
    // Reads as the compile driver does: error state cleared, records cleared.
    void leggi(int32_t genera = 0, bool cancella = true) {
        m.nome_linea = "R";
        m.numero_treno = "1";
        m.genera_tracciato = genera;
        m.codice_errore = codice::nessuno;
        m.pulisci_voci();
        memorizza_dati(m, {percorso_linea(), percorso_treno(), cancella});
    }
    void leggi(const std::string& testo_linea, const std::string& testo_treno, int32_t genera = 0) {
        scrivi(testo_linea, testo_treno);
        leggi(genera);
    }
    bool resta_linea() const { return file_exists(percorso_linea()); }
    bool resta_treno() const { return file_exists(percorso_treno()); }
};
