#include "app/scenario_trasportato.h"

#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "documents/dati_note.h"
#include "documents/dati_rallentamenti.h"
#include "documents/dati_scheda.h"
#include "model/nomi_file.h"

void identifica_scenario(modello& m) {
    m.nome_linea = "Lidonia_Sabrio";
    m.numero_treno = "914";
}

const std::vector<scrittore_scenario>& scrittori_scenario() {
    static const std::vector<scrittore_scenario> scrittori = {
        {"dati_linea", dati_linea, nome_testo_linea},
        {"dati_treno", dati_treno, nome_testo_treno},
        {"dati_note", dati_note, nome_note},
        {"dati_rallentamenti", dati_rallentamenti, nome_rallentamenti},
        {"dati_scheda", dati_scheda, nome_scheda_treno},
    };
    return scrittori;
}
