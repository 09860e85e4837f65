#include "documents/dati_note.h"

#include "model/nomi_file.h"

const tabella_righe& tabella_note() {
    // The line breaks are the sheet's own, one of them inside a station name;
    // lines 1 and 3 end with a space. The sheet is Windows-1252: "\xE0" is the
    // one-byte "a grave" of "velocita".
    static const tabella_righe tabella = {
        "Simulazione dell'espresso 914 Lidonia - Bologna nel tratto da Lidonia ",
        "Centrale - Sabrio.",
        "La ripetizione dei segnali e' a 4 codici. ",
        "Dopo la stazione di Fano, la riduzione di velocit\xE0 a 105 Km/h e' segnalata",
        "da un abbattimento di codice.",
        "Lungo il percorso ci sono quattro rallentamenti; il primo va rispettato con",
        "tutta la lunghezza del treno (12 vetture).",
        "L' aderenza e' buona su tutto il tratto.",
        "A Giulianova il treno e' ricevuto in deviata sul primo binario per dare la",
        "precedenza all'IC 574, partito in ritardo da Lidonia (peccato non poterlo",
        "vedere sfrecciare nella simulazione!).",
        "Buon divertimento",
        "                                        Il realizzatore dello scenario",
        "                                        linea Lidonia Centrale - Sabrio",
        FINE_TABELLA,
    };
    return tabella;
}

void dati_note(const std::filesystem::path& directory, const modello& m) {
    scrivi_righe(percorso_file(directory, nome_note(m)), tabella_note());
}
