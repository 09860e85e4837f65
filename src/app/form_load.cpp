#include "app/form_load.h"

#include "compile/codici_errore.h"
#include "compile/memorizza_percorso.h"
#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/wait_window.h"

namespace {

// The fixed run compiles its own text files, with the geometry, and the reader
// deletes them once read.
void compila_scenario(Form1& f) {
    opzioni_compilazione o;
    o.ingressi = {f.directory / (f.m.nome_linea + "_linea.txt"),
                  f.directory / (f.m.nome_linea + "_" + f.m.numero_treno + "-.txt"), true};
    o.cartella = f.directory;
    f.esito = memorizza_percorso(f.m, 1, o);
}

}  // namespace

const std::vector<passo_avvio>& sequenza_avvio() {
    static const std::vector<passo_avvio> passi = {
        {"dati_linea", [](Form1& f) { dati_linea(f.directory, f.m); }},
        {"dati_treno", [](Form1& f) { dati_treno(f.directory, f.m); }},
        {"dati_note", [](Form1& f) { dati_note(f.directory, f.m); }},
        {"dati_rallentamenti", [](Form1& f) { dati_rallentamenti(f.directory, f.m); }},
        {"dati_scheda", [](Form1& f) { dati_scheda(f.directory, f.m); }},
        {"memorizza_percorso", compila_scenario},
    };
    return passi;
}

int esito_avvio(const Form1& form, std::ostream& out) {
    const modello& m = form.m;
    if (form.esito.rapporto != codice::nessuno) {
        errore(std::to_string(numero(form.esito.rapporto)), out);
        return EXIT_RESERVED;
    }
    if (!form.esito.griglia_allocata) {
        out << "scenario-compiler: nothing compiled: " << messaggio_errore(m.codice_errore, m.metri_errore) << '\n';
        return EXIT_ERROR_STATE;
    }
    if (m.codice_errore != codice::nessuno) {
        out << "scenario-compiler: " << messaggio_errore(m.codice_errore, m.metri_errore) << '\n';
        return EXIT_ERROR_STATE;
    }
    return EXIT_OK;
}

int Form_Load(Form1& form, const std::filesystem::path& directory, std::ostream& out) {
    form.directory = directory;
    form.m.nome_linea = "Lidonia_Sabrio";
    form.m.numero_treno = "914";
    show_wait_window(out);
    for (const passo_avvio& passo : sequenza_avvio()) passo.esegui(form);
    return esito_avvio(form, out);
}
