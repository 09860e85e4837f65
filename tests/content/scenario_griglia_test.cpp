// The carried scenario placed cell by cell, in the order the reader places it,
// with the real placement procedures: every object finds a free cell, and the
// cells the grid pass needs around each restriction are there.
#include <gtest/gtest.h>

#include <set>

#include "content/dati_linea.h"
#include "content/dati_treno.h"
#include "model/cella.h"
#include "placement/memo_indicatori_v_max.h"
#include "placement/memo_montagna.h"
#include "placement/memo_rallentamento.h"
#include "placement/memo_segnale.h"
#include "tests/support/righe.h"
#include "tests/support/scenario_treno.h"

namespace {

constexpr int32_t NUMERO_CELLE = 5000;  // (243000 + 7000) / 50

// The whole scenario in the grid; placements that fail are reported as test failures.
modello piazza_scenario() {
    modello m;
    m.numero_celle = NUMERO_CELLE;
    m.alloca_celle(NUMERO_CELLE);
    auto occupa = [&](int32_t cella, uint8_t tipo, const std::string& riga) {
        EXPECT_TRUE(e_libera(m.celle.at(static_cast<size_t>(cella)))) << riga;
        m.celle[static_cast<size_t>(cella)].tipo_oggetto = tipo;
    };
    auto accettato = [&](const std::string& riga) {
        EXPECT_EQ(m.codice_errore, codice::nessuno) << riga;
        m.codice_errore = codice::nessuno;
    };
    for (const auto& r : sezione(tabella_linea(), "[montagne]")) {
        auto v = valori(r);
        memo_montagna(m, v[0], v[1], v[2]);
        accettato(r);
    }
    for (const auto& r : sezione(tabella_linea(), "[cartelli]")) {
        auto v = valori(r);
        memo_indicatori_v_max(m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]);
        accettato(r);
    }
    for (const auto& r : sezione(tabella_linea(), "[indicazioni]"))
        occupa(cella_oggetto(numero(pezzi(r)[1])), OGGETTO_CARTELLO_INDICATORE, r);
    // The reader writes a station mark without a test: it must not land on a board.
    for (const auto& s : stazioni_treno())
        if (s.campi[2] < 25) occupa(cella_spostata(s.fine_zona, -1), OGGETTO_STAZIONE, s.nome);
    for (const auto& r : sezione(tabella_treno(), "[rallentamenti]")) {
        auto v = valori(r);
        memo_rallentamento(m, v[0], v[1], v[2], v[3], v[4], v[5]);
        accettato(r);
    }
    for (const auto& r : sezione(tabella_treno(), "[segnali]")) {
        auto v = valori(r);
        memo_segnale(m, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
        accettato(r);
    }
    for (const auto& r : sezione(tabella_treno(), "[codici]"))
        occupa(cella_valore(valori(r)[0]), OGGETTO_ABBATTIMENTO, r);
    return m;
}

}  // namespace

TEST(ScenarioGriglia, EveryObjectFindsAFreeCell) {
    modello m = piazza_scenario();
    // Cell 1 keeps the places the compile step stamps.
    EXPECT_EQ(m.celle[1].tipo_oggetto, 0);
    EXPECT_EQ(m.celle[1].dato1, 0);
    EXPECT_EQ(m.celle[1].dato2, 0);
    int segnali = 0;
    for (const auto& c : m.celle) segnali += c.tipo_oggetto == OGGETTO_SEGNALE;
    EXPECT_EQ(segnali, 124);
}

TEST(ScenarioGriglia, RestrictionsLeaveRoomForTheirCodeCuts) {
    modello m = piazza_scenario();
    // Cells taken by a cut already found, so that no two cuts count on one cell.
    std::set<size_t> presi;
    auto libera = [&](size_t i) { return e_libera(m.celle.at(i)) && !presi.count(i); };
    auto prendi_una = [&](std::initializer_list<size_t> celle, const std::string& cosa) {
        for (size_t i : celle)
            if (libera(i)) {
                presi.insert(i);
                return;
            }
        ADD_FAILURE() << "no free cell for " << cosa;
    };
    auto tipo = [&](size_t i) { return m.celle.at(i).tipo_oggetto; };
    int avvisi = 0, inizi = 0;
    for (size_t i = 1; i + 2 < m.celle.size(); ++i) {
        if (tipo(i) == OGGETTO_AVVISO_RALLENTAMENTO) {
            ++avvisi;
            // A cut one or two cells before each signal of the 20 cells before the warning.
            for (size_t s = i - 1; s + 20 >= i; --s)
                if (tipo(s) == OGGETTO_SEGNALE) prendi_una({s - 1, s - 2}, "the signal at cell " + std::to_string(s));
        }
        if (tipo(i) != OGGETTO_INIZIO_RALLENTAMENTO) continue;
        ++inizi;
        const std::string dove = "the restriction starting at cell " + std::to_string(i);
        prendi_una({i - 5, i - 6, i - 7}, dove);
        prendi_una({i - 11, i - 12, i - 13}, dove);
        prendi_una({i - 18, i - 19, i - 20}, dove);
        // All four carried restrictions are slow: a cut every eighth cell, or beside it.
        ASSERT_LT(m.celle[i].dato1, 110);
        size_t k = i;
        for (int c = 1;; ++c) {
            ++k;
            if (c == 8) {
                const bool qui = libera(k);
                prendi_una({k, k - 1, k + 1}, dove);
                c = qui ? 0 : presi.count(k - 1) ? 1 : -1;
            }
            if (tipo(k) == OGGETTO_FINE_RALLENTAMENTO) break;
        }
        for (size_t j = k; j <= k + 12; ++j)
            if (tipo(j) == OGGETTO_SEGNALE) {
                prendi_una({j - 1, j - 2}, "the first signal after " + dove);
                break;
            }
    }
    EXPECT_EQ(avvisi, 4);
    EXPECT_EQ(inizi, 4);
}
