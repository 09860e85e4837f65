#include "compile/passata_griglia.h"

#include <string>

#include "compile/minimo.h"

namespace {

constexpr int FINESTRA_SEGNALI = 20;  // cells looked at before a warning point
constexpr int PRIMO_SEGNALE = 3;      // lowest signal cell rule A looks at
constexpr int16_t VELOCITA_LENTA = 110;
constexpr int PASSO_LENTO = 8;        // cells between the cuts along a slow restriction
constexpr int FINESTRA_DOPO = 12;     // cells after the end searched for a signal

std::string metri(int64_t k) { return std::to_string(k * METRI_CELLA) + " m"; }

// Where the object in cell k stands as its line writes it, with the cell's metres
// after it where they differ; the cell's alone for a cell no line's position gives
// (a restriction's cells, an inserted cut).
std::string metri_scritti(const modello& m, int64_t k) {
    const int32_t riga = m.riga_cella(k);
    if (riga < 0) return metri(k);
    const riga_letta& r = m.registro.righe[static_cast<size_t>(riga)];
    const bool alla_posizione = r.genere == genere_riga::segnale || r.genere == genere_riga::indicatori_vmax ||
                                r.genere == genere_riga::cartello_indicatore || r.genere == genere_riga::abbattimento;
    if (!alla_posizione || r.valori.empty() || int64_t{r.valori[0]} == k * METRI_CELLA) return metri(k);
    return std::to_string(r.valori[0]) + " m (its cell at " + metri(k) + ")";
}

// The pass's view of the grid: a cell outside it is occupied, and has no code
// a rule looks for.
struct griglia {
    modello& m;

    bool dentro(int64_t k) const { return k >= 0 && k <= ultima(); }
    cella& at(int64_t k) const { return m.celle[static_cast<size_t>(k)]; }
    bool libera(int64_t k) const { return dentro(k) && e_libera(at(k)); }
    bool ha_codice(int64_t k, uint8_t codice) const { return dentro(k) && at(k).tipo_oggetto == codice; }
    // The grid as allocated, whatever numero_celle says by now.
    int64_t ultima() const { return static_cast<int64_t>(m.celle.size()) - 1; }

    // An inserted cut belongs to the restriction it was inserted for.
    void inserisci(int64_t k, int64_t per) const {
        at(k).tipo_oggetto = OGGETTO_ABBATTIMENTO;
        at(k).dato1 = VALORE_ABBATTIMENTO_INSERITO;
        m.rivendica(static_cast<size_t>(k), m.riga_cella(per));
    }
    // Records a fault at cell_errore, placed on the line of the object in cell
    // `di`, with the object in cell `nota` as the other one concerned.
    void errore_stato(codice c, int64_t cella_errore, int64_t di, int64_t nota, const std::string& nota_testo) const {
        m.registra_errore(c, m.luogo_riga(m.riga_cella(di)), static_cast<int32_t>(cella_errore * METRI_CELLA));
        luogo_testo altro = m.luogo_riga(m.riga_cella(nota));
        if (altro.file != file_testo::nessuno) m.annota_errore(std::move(altro), nota_testo);
    }
    // Inserts at the first free cell of the list; false when none is free.
    template <size_t N>
    bool inserisci_prima_libera(const int64_t (&celle)[N], int64_t per) const {
        for (int64_t k : celle)
            if (libera(k)) {
                inserisci(k, per);
                return true;
            }
        return false;
    }
};

// Rule A: a cut one or two cells before every signal in the 20 cells before a
// warning point; an existing cut there is lowered to at most 180 instead.
void regola_avviso(const griglia& g, int64_t i) {
    for (int k = 1; k <= FINESTRA_SEGNALI; ++k) {
        int64_t s = i - k;
        if (s < PRIMO_SEGNALE) return;
        if (!g.ha_codice(s, OGGETTO_SEGNALE)) continue;
        if (g.inserisci_prima_libera({s - 1, s - 2}, i)) continue;
        int64_t taglio = g.ha_codice(s - 1, OGGETTO_ABBATTIMENTO)   ? s - 1
                         : g.ha_codice(s - 2, OGGETTO_ABBATTIMENTO) ? s - 2
                                                                    : -1;
        if (taglio >= 0)
            g.at(taglio).dato1 = minimo(VALORE_ABBATTIMENTO_INSERITO, g.at(taglio).dato1);
        else
            g.errore_stato(codice::taglio_segnale, s, s, i,
                           "the restriction whose warning point at " + metri(i) + " needs the cut");
    }
}

// B1 to B3: three approach cuts before the start, each at the first free cell
// of its three.
void punti_avvicinamento(const griglia& g, int64_t i) {
    struct passo {
        int64_t oltre;  // the step runs only when i is above this
        int64_t primo;  // first cell tried, counted back from i
    };
    for (passo p : {passo{7, 5}, passo{13, 11}, passo{20, 18}}) {
        if (i <= p.oltre) continue;
        if (!g.inserisci_prima_libera({i - p.primo, i - p.primo - 1, i - p.primo - 2}, i))
            g.errore_stato(codice::taglio_avvicinamento, i, i, i - p.primo,
                           "the approach cell at " + metri(i - p.primo) + " is taken by this line's object");
    }
}

bool fine_cammino(const griglia& g, int64_t k) {
    return g.ha_codice(k, OGGETTO_FINE_RALLENTAMENTO) || k >= g.ultima();
}

// B4: walks from the start to the end cell (or the grid's last cell), putting a
// cut at every eighth cell along a slow restriction; returns the cursor.
int64_t punti_lungo(const griglia& g, int64_t i) {
    bool lento = g.at(i).dato1 < VELOCITA_LENTA;
    int64_t k = i;
    int64_t c = 0;
    do {
        ++k;
        ++c;
        if (!lento || c != PASSO_LENTO) continue;
        if (g.libera(k)) {
            g.inserisci(k, i);
            c = 0;
        } else if (g.libera(k - 1)) {
            g.inserisci(k - 1, i);
            c = 1;
        } else if (g.libera(k + 1)) {
            g.inserisci(k + 1, i);
            c = -1;
        } else {
            // c stays at 8 and so never meets 8 again: no further cut here.
            g.errore_stato(codice::taglio_lungo, k, i, k,
                           "the cell for the cut at " + metri(k) + " is taken by this line's object");
        }
    } while (!fine_cammino(g, k));
    return k;
}

// B5: a cut one or two cells before the first signal among the cursor cell and
// the twelve after it.
void punto_dopo(const griglia& g, int64_t i, int64_t k) {
    int64_t fine = k + FINESTRA_DOPO < g.ultima() ? k + FINESTRA_DOPO : g.ultima();
    for (int64_t s = k; s <= fine; ++s) {
        if (!g.ha_codice(s, OGGETTO_SEGNALE)) continue;
        if (!g.inserisci_prima_libera({s - 1, s - 2}, i))
            g.errore_stato(codice::taglio_lungo, k, i, s,
                           "the first signal after the restriction, at " + metri_scritti(g.m, s) + ", has no free cell before it");
        return;
    }
}

}  // namespace

void passata_griglia(modello& m) {
    griglia g{m};
    int64_t n = g.ultima() - 2;
    for (int64_t i = 1; i <= n; ++i) {
        uint8_t codice = g.at(i).tipo_oggetto;
        if (codice == OGGETTO_AVVISO_RALLENTAMENTO) {
            regola_avviso(g, i);
        } else if (codice == OGGETTO_INIZIO_RALLENTAMENTO) {
            punti_avvicinamento(g, i);
            punto_dopo(g, i, punti_lungo(g, i));
        }
    }
}
