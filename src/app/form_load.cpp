#include "app/form_load.h"

#include "app/scenario_trasportato.h"
#include "compile/codici_errore.h"
#include "compile/memorizza_percorso.h"
#include "model/nomi_file.h"
#include "platform/errore.h"
#include "platform/exit_status.h"
#include "platform/wait_window.h"

namespace {

// The fixed run compiles its own text files, with the geometry, and the reader
// deletes them once read.
void compila_scenario(Form1& f) {
    opzioni_compilazione o;
    o.ingressi = {percorso_file(f.directory, nome_testo_linea(f.m)), percorso_file(f.directory, nome_testo_treno(f.m)), true};
    o.cartella = f.directory;
    f.esito = memorizza_percorso(f.m, 1, o);
}

}  // namespace

const std::vector<passo_avvio>& sequenza_avvio() {
    static const std::vector<passo_avvio> passi = [] {
        std::vector<passo_avvio> p;
        for (const scrittore_scenario& s : scrittori_scenario())
            p.push_back({s.nome, [scrivi = s.scrivi](Form1& f) { scrivi(f.directory, f.m); }});
        p.push_back({"memorizza_percorso", compila_scenario});
        return p;
    }();
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
    identifica_scenario(form.m);
    show_wait_window(out);
    for (const passo_avvio& passo : sequenza_avvio()) passo.esegui(form);
    return esito_avvio(form, out);
}
