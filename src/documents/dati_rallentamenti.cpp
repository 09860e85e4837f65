#include "documents/dati_rallentamenti.h"

#include "documents/forme_documenti.h"
#include "model/nomi_file.h"

namespace {

using namespace forma_ordine;

tabella_righe componi() {
    tabella_righe t = {
        "", TITOLO, SOTTOTITOLO, RIGA_ALTA, riga_linea("LIDONIA CENTRALE - SABRIO"), "", riga_ordine("914"),
        RIGA_TABELLA,
    };
    t.insert(t.end(), TESTA.begin(), TESTA.end());
    t.insert(t.end(), {
        " | 1 | PINETO - ROSETO            |    326     |    60    |   200   |     A      |",
        // The station pair is one character too long for its cell and stands in
        // for the bar; that is how the printed form has it.
        " | 2 |CUPRAMARITTIMA-P.to S.GIORGIO    274     |    50    |  1800   |     B      |",
        " | 3 | MARZOCCA - SENIGALLIA      |    182     |    40    |   200   |   -----    |",
        " | 4 | PESARO - CATTOLICA         |    136     |    80    |   800   |   -----    |",
    });
    t.insert(t.end(), RIGHE_TABELLA - 4, RIGA_VUOTA);
    t.insert(t.end(), {FONDO, "", TITOLO_NOTE, NOTA_A, std::string(NOTA_B) + "la stazione di PEDASO"});
    t.insert(t.end(), NOTE_D_C.begin(), NOTE_D_C.end());
    t.push_back(FINE_TABELLA);
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
