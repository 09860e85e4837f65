#include "documents/dati_rallentamenti.h"

#include "model/nomi_file.h"

namespace {

constexpr const char* RIGA_VUOTA_TABELLA =
    " |   |                            |            |          |         |            |";
constexpr const char* RIGA_CHIUSURA_TABELLA =
    " |___|____________________________|____________|__________|_________|____________|";
constexpr int RIGHE_VUOTE_TABELLA = 21;

tabella_righe componi() {
    tabella_righe t = {
        "",
        "                               Modulo M. 3",
        "                           ORDINE DI RALLENTAMENTO",
        " ________________________________________________________________________________",
        "  Linea  LIDONIA CENTRALE - SABRIO",
        "",
        "  Si ordina al macchinista del treno  914  di effettuare i seguenti rallentamenti",
        "  _______________________________________________________________________________",
        " |   |                            |Inizio dopo |          |         |            |",
        " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
        " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
        RIGA_CHIUSURA_TABELLA,
        " | 1 | PINETO - ROSETO            |    326     |    60    |   200   |     A      |",
        // The station pair is one character too long for its cell and stands in
        // for the bar; that is how the printed form has it.
        " | 2 |CUPRAMARITTIMA-P.to S.GIORGIO    274     |    50    |  1800   |     B      |",
        " | 3 | MARZOCCA - SENIGALLIA      |    182     |    40    |   200   |   -----    |",
        " | 4 | PESARO - CATTOLICA         |    136     |    80    |   800   |   -----    |",
    };
    t.insert(t.end(), RIGHE_VUOTE_TABELLA, RIGA_VUOTA_TABELLA);
    t.insert(t.end(), {
        RIGA_CHIUSURA_TABELLA,
        "",
        "              Prescrizioni specifiche",
        " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
        " B - Interessa anche la stazione di PEDASO",
        // The misspelling belongs to the form's printed text.
        " D - Rallentamneto N. ... e N. ...  sono contigui",
        " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
        "     i giorni esclusi i seguenti:.........",
        FINE_TABELLA,
    });
    return t;
}

}  // namespace

const tabella_righe& tabella_rallentamenti() {
    static const tabella_righe tabella = componi();
    return tabella;
}

void dati_rallentamenti(const std::filesystem::path& directory, const modello& m) {
    scrivi_righe(percorso_file(directory, nome_rallentamenti(m)), tabella_rallentamenti());
}
