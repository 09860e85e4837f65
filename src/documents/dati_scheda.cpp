#include "documents/dati_scheda.h"

#include <string>
#include <vector>

#include "documents/forme_documenti.h"
#include "model/nomi_file.h"

namespace {

using namespace forma_scheda;

// The header's lines that change: the filled pages and the blank templates differ
// only in the sheet number, the train box, the destination line and the mass box.
struct testata {
    std::string scheda, treno, arrivo, massa;
};

testata pagina_piena(const char* scheda) {
    return {riga_scheda(scheda), riga_treno(riquadro_treno("914"), "Lidonia Centrale", "V160 B"),
            riga_arrivo("Sabrio", "125%"), riga_massa("ESPRESSO", "       700T")};
}

testata modello_vuoto() {
    return {riga_scheda("SCHEDA 0/0"), riga_treno(TRENO_MODELLO, "xxxxxx", "Vxxx C"), riga_arrivo("xxxxxx", "xxx%"),
            riga_massa(DA_SCRIVERE, MASSA_MODELLO)};
}

// The service from the origin to PORTO RECANATI: stations and speed changes.
const std::vector<std::string> RIGHE_PAGINA_1 = {
    " | 110 | 110 | 349.970  |     | LIDONIA CENTRALE           | 10.48          |     |",
    " | 150 | 135 | 348.000  |     | Cippo Km 348.000           |                |     |",
    " | 140 |     | 345.557  |     | Km 345.557                 |                |     |",
    " |     |     | 342.990  |     | MONTESILVANO               |      10.54     | 1.0 |",
    " | 150 | 150 | 341.500  |     | Km 341.500                 |                |     |",
    " |     |     | 336.599  |     | SILVI                      |      10.56     |     |",
    " | 160 | 160 | 335.500  |     | Km 335.500                 |                |     |",
    " |     |     | 329.449  |     | PINETO                     |      11.00     |     |",
    " |     |     | 322.348  |     | ROSETO                     |      11.04     |     |",
    " | 150 | 150 | 319.500  |     | Km 319.500                 |                |     |",
    " | 130 | 130 | 314.347  |     | Torrente Tordino           |                |     |",
    " | 150 | 150 | 312.360  |     | GIULIANOVA                 | 11.10 - 11.12  | 0.5 |",
    " |     |     | 306.009  |     | TORTORETO                  |      11.15     |     |",
    " | 135 | 135 | 303.659  |     | Segn.Prot. Alba Adriatica  |                |     |",
    " |     |     | 302.208  |     | ALBA ADRIATICA             |      11.18     |     |",
    " |     |     | 298.408  |     | MARTINSICURO               |      11.20     |     |",
    " | 150 | 150 | 297.500  |     | Km 297.500                 |                |     |",
    " |     |     | 293.607  |     | PORTO D'ASCOLI             |      11.23     |     |",
    " | 125 | 125 | 289.706  |     | SAN BENEDETTO DEL TRONTO   | 11.26 - 11.27  | 0.5 |",
    " | 150 | 150 | 288.000  |     | Km 288.000                 |                |     |",
    " |     |     | 285.106  |     | GROTTAMMARE                |      11.31     |     |",
    " |     |     | 279.505  |     | CUPRAMARITTIMA             |      11.34     |     |",
    " | 130 | 130 | 274.204  |     | Torrente Campofilone       |                |     |",
    " |     |     | 272.104  |     | PEDASO                     |      11.39     |     |",
    " | 150 | 150 |          |     | Dev.U. Pedaso              |                |     |",
    " |     |     | 264.103  |     | PORTO S.GIORGIO            |      11.45     | 1.0 |",
    " |     |     | 257.903  |     | PORTO S.ELPIDIO            |      11.48     |     |",
    " | 105 | 105 | 254.000  |     | Km 254.000                 |                |     |",
    " |     |     | 251.403  |     | CIVITANOVA M.-MONTEGRANARO | 11.53 - 11.54  | 0.5 |",
    " | 160 | 160 | 244.000  |     | Km 244.000                 |                |     |",
    " |     |     | 238.802  |     | PORTO RECANATI             |      12.04     |     |",
};

// From LORETO to the destination.
const std::vector<std::string> RIGHE_PAGINA_2 = {
    " |     |     | 232.501  |     | LORETO                     |      12.07     | 1.0 |",
    " | 140 | 140 | 230.000  |     | Km 230.000                 |                |     |",
    " |     |     | 224.701  |     | OSIMO-CASTELFIDARDO        |      12.12     |     |",
    " |  95 |  95 | 210.500  |     | Km 210.500                 |                |     |",
    " |     |     | 209.697  |     | VARANO                     |      12.21     |     |",
    " |  70 |  70 | 204.676  |     | Imb. Sud Gall. Km 204.676  |                |     |",
    " | 105 | 105 | 203.626  |     | ANCONA                     | 12.27 - 12.29  | 0.5 |",
    " |     |     | 200.376  |     | TORRETTE                   |      12.33     |     |",
    " | 150 | 150 | 198.000  |     | Km 198.000                 |                |     |",
    " |     |     | 195.376  |     | FALCONARA MARITTIMA        |      12.37     | 1.0 |",
    " |     |     | 192.076  |     | PALOMBINA                  |      12.38     |     |",
    " |     |     | 186.276  |     | MARZOCCA                   |      12.42     |     |",
    " | 115 | 115 | 184.000  |     | Km 184.000                 |                |     |",
    " |     |     | 177.676  |     | SENIGALLIA                 | 12.49 - 12.50  | 0.5 |",
    " | 160 | 160 | 175.000  |     | Km 175.000                 |                |     |",
    " |     |     | 168.476  |     | MAROTTA                    |      12.57     |     |",
    " | 125 | 125 | 159.500  |     | Km 159.500                 |                |     |",
    " |     |     | 156.876  |     | FANO                       |      13.03     | 1.0 |",
    " | 105 | 105 | 145.800  |     | Km 145.800                 |                |     |",
    " | 125 | 125 | 144.676  |     | PESARO                     | 13.13 - 13.14  | 0.5 |",
    " |     |     | 130.605  |     | CATTOLICA                  |      13.25     |     |",
    " |     |     | 125.905  |     | MISANO ADRIATICO           |      13.29     |     |",
    " |     |     | 121.001  |     | RICCIONE                   |      13.32     | 1.0 |",
    " |     |     | 116.097  |     | MIRAMARE                   |      13.35     |     |",
    " | 110 | 110 | 113.550  |     | Km 113.550                 |                |     |",
    " |     |     | 111.040  |     | SABRIO                     |         13.40  | 1.0 |",
};

// One page: header, table head, the rows, blank rows up to `righe`, bottom rule.
void pagina(tabella_righe& t, const testata& h, const std::vector<std::string>& piene, size_t righe) {
    t.insert(t.end(), {BORDO, h.scheda, h.treno, h.arrivo, CHIUSURA, RIQUADRI_BORDO, RIQUADRI_TITOLI, h.massa,
                       RIQUADRI_FONDO, ""});
    t.insert(t.end(), TESTA.begin(), TESTA.end());
    t.insert(t.end(), piene.begin(), piene.end());
    t.insert(t.end(), righe - piene.size(), RIGA_VUOTA);
    t.push_back(FONDO);
}

tabella_righe componi() {
    tabella_righe t = {"", ""};
    pagina(t, pagina_piena("SCHEDA 1/2"), RIGHE_PAGINA_1, 31);
    t.insert(t.end(), {"", "", "", std::string(81, '.'), "", ""});
    pagina(t, pagina_piena("SCHEDA 2/2"), RIGHE_PAGINA_2, 32);
    t.insert(t.end(), {"", "", "", std::string(72, '.'), ""});
    pagina(t, modello_vuoto(), {}, 31);
    t.insert(t.end(), {"", "", std::string(72, '.'), ""});
    pagina(t, modello_vuoto(), {}, 31);
    t.insert(t.end(), {"", FINE_TABELLA});
    return t;
}

}  // namespace

const tabella_righe& tabella_scheda() {
    static const tabella_righe tabella = componi();
    return tabella;
}

void dati_scheda(const std::filesystem::path& directory, const modello& m) {
    scrivi_righe(percorso_file(directory, nome_scheda_treno(m)), tabella_scheda());
}
