#include "app/form_load.h"

#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "platform/exit_status.h"
#include "platform/wait_window.h"

const std::vector<passo_avvio>& sequenza_avvio() {
    static const std::vector<passo_avvio> passi = {
        {"dati_linea", [](Form1& f) { dati_linea(f.directory, f.m); }},
        {"dati_treno", [](Form1& f) { dati_treno(f.directory, f.m); }},
        {"dati_note", [](Form1& f) { dati_note(f.directory, f.m); }},
        {"dati_rallentamenti", [](Form1& f) { dati_rallentamenti(f.directory, f.m); }},
        {"dati_scheda", [](Form1& f) { dati_scheda(f.directory, f.m); }},
    };
    return passi;
}

int Form_Load(Form1& form, const std::filesystem::path& directory, std::ostream& out) {
    form.directory = directory;
    form.m.nome_linea = "Lidonia_Sabrio";
    form.m.numero_treno = "914";
    show_wait_window(out);
    for (const passo_avvio& passo : sequenza_avvio()) passo.esegui(form);
    return EXIT_OK;
}
