#include "compile/passata_griglia.h"

#include <gtest/gtest.h>

#include <vector>

#include "compile/minimo.h"

namespace {

// A zeroed grid of cells 0 to ultima.
modello griglia(int32_t ultima) {
    modello m;
    m.numero_celle = ultima;
    m.alloca_celle(ultima);
    return m;
}

void metti(modello& m, int k, uint8_t codice, int16_t dato1 = 0) {
    m.celle[k].tipo_oggetto = codice;
    m.celle[k].dato1 = dato1;
}

void restrizione(modello& m, int inizio, int fine, int16_t velocita) {
    metti(m, inizio, OGGETTO_INIZIO_RALLENTAMENTO, velocita);
    metti(m, fine, OGGETTO_FINE_RALLENTAMENTO, velocita);
}

std::vector<int> inseriti(const modello& m) {
    std::vector<int> out;
    for (size_t k = 0; k < m.celle.size(); ++k)
        if (m.celle[k].tipo_oggetto == OGGETTO_ABBATTIMENTO && m.celle[k].dato1 == VALORE_ABBATTIMENTO_INSERITO)
            out.push_back(static_cast<int>(k));
    return out;
}

}  // namespace

TEST(Minimo, ReturnsTheSmallerAndXOnATie) {
    EXPECT_EQ(minimo(180, 270), 180);
    EXPECT_EQ(minimo(180, 75), 75);
    EXPECT_EQ(minimo(180, 180), 180);
    EXPECT_EQ(minimo(180, -5), -5);
}

TEST(GridPass, SlowRestrictionGetsApproachCutsCutsEveryEighthCellAndOneBeforeTheNextSignal) {
    modello m = griglia(300);
    restrizione(m, 200, 240, 60);
    metti(m, 247, OGGETTO_SEGNALE);
    m.celle[195].pendenza = 97;
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{182, 189, 195, 208, 216, 224, 232, 239, 246}));
    EXPECT_EQ(m.codice_errore, codice::nessuno);
    // An inserted cell keeps its run values.
    EXPECT_EQ(m.celle[195].pendenza, 97);
}

TEST(GridPass, FastRestrictionGetsNoCutsAlongItButOneBeforeTheSignalAfterItsEnd) {
    modello m = griglia(300);
    restrizione(m, 200, 240, 110);
    metti(m, 220, OGGETTO_SEGNALE);  // inside: the cursor walks past it to the end cell
    metti(m, 252, OGGETTO_SEGNALE);  // the twelfth cell after the end
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{182, 189, 195, 251}));
}

TEST(GridPass, SignalMoreThanTwelveCellsAfterTheEndGetsNoCut) {
    modello m = griglia(300);
    restrizione(m, 200, 240, 120);
    metti(m, 253, OGGETTO_SEGNALE);
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{182, 189, 195}));
}

TEST(GridPass, ApproachCutsTakeTheFirstFreeCellOfTheirThree) {
    modello m = griglia(100);
    restrizione(m, 10, 12, 120);
    metti(m, 5, OGGETTO_SEGNALE);
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{4}));

    // An existing code cut does not satisfy a step.
    modello n = griglia(100);
    restrizione(n, 40, 42, 120);
    metti(n, 35, OGGETTO_ABBATTIMENTO, 90);
    metti(n, 34, OGGETTO_STAZIONE);
    passata_griglia(n);
    EXPECT_EQ(inseriti(n), (std::vector<int>{22, 29, 33}));
    EXPECT_EQ(n.celle[35].dato1, 90);
}

TEST(GridPass, ApproachStepsRunOnlyFarEnoughFromTheOrigin) {
    auto cuts_before = [](int inizio) {
        modello m = griglia(100);
        restrizione(m, inizio, inizio + 1, 120);
        passata_griglia(m);
        std::vector<int> out;
        for (int k : inseriti(m))
            if (k < inizio) out.push_back(k);
        return out;
    };
    EXPECT_EQ(cuts_before(7), std::vector<int>{});
    EXPECT_EQ(cuts_before(8), std::vector<int>{3});
    EXPECT_EQ(cuts_before(13), std::vector<int>{8});
    EXPECT_EQ(cuts_before(14), (std::vector<int>{3, 9}));
    EXPECT_EQ(cuts_before(20), (std::vector<int>{9, 15}));
    EXPECT_EQ(cuts_before(21), (std::vector<int>{3, 10, 16}));
}

TEST(GridPass, WarningPointCutsBeforeEverySignalOfItsTwentyCellsFromCellThreeOn) {
    modello m = griglia(100);
    metti(m, 23, OGGETTO_AVVISO_RALLENTAMENTO, 60);
    metti(m, 2, OGGETTO_SEGNALE);   // below cell 3: not looked at
    metti(m, 3, OGGETTO_SEGNALE);   // 20 cells back
    metti(m, 12, OGGETTO_SEGNALE);
    metti(m, 11, OGGETTO_STAZIONE);  // the cut goes two cells before
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{1, 10}));

    modello n = griglia(100);
    metti(n, 30, OGGETTO_AVVISO_RALLENTAMENTO, 60);
    metti(n, 9, OGGETTO_SEGNALE);  // 21 cells back: outside the window
    passata_griglia(n);
    EXPECT_EQ(inseriti(n), std::vector<int>{});
}

TEST(GridPass, WarningPointLowersAnExistingCutInsteadOfInserting) {
    auto dopo = [](int16_t valore, bool taglio_piu_vicino) {
        modello m = griglia(100);
        metti(m, 60, OGGETTO_AVVISO_RALLENTAMENTO, 60);
        metti(m, 50, OGGETTO_SEGNALE);
        int taglio = taglio_piu_vicino ? 49 : 48;
        metti(m, 49, OGGETTO_STAZIONE);
        metti(m, 48, OGGETTO_STAZIONE);
        metti(m, taglio, OGGETTO_ABBATTIMENTO, valore);
        passata_griglia(m);
        EXPECT_EQ(m.codice_errore, codice::nessuno);
        return m.celle[taglio].dato1;
    };
    EXPECT_EQ(dopo(270, true), 180);
    EXPECT_EQ(dopo(75, true), 75);
    EXPECT_EQ(dopo(270, false), 180);
}

TEST(GridPass, RecordsEachOfItsErrorsWithItsPositionAndGoesOn) {
    modello a = griglia(100);
    metti(a, 60, OGGETTO_AVVISO_RALLENTAMENTO, 60);
    metti(a, 50, OGGETTO_SEGNALE);
    metti(a, 49, OGGETTO_STAZIONE);
    metti(a, 48, OGGETTO_SEGNALE);
    metti(a, 47, OGGETTO_STAZIONE);
    metti(a, 46, OGGETTO_STAZIONE);
    passata_griglia(a);
    EXPECT_EQ(a.codice_errore, codice::taglio_segnale);
    EXPECT_EQ(a.metri_errore, 48 * 50);  // the last signal that failed

    modello b = griglia(100);
    restrizione(b, 30, 32, 120);
    for (int k : {25, 24, 23}) metti(b, k, OGGETTO_STAZIONE);
    passata_griglia(b);
    EXPECT_EQ(b.codice_errore, codice::taglio_avvicinamento);
    EXPECT_EQ(b.metri_errore, 1500);
    EXPECT_EQ(inseriti(b), (std::vector<int>{12, 19}));  // B2 and B3 still run

    // Along a slow restriction: after the error no further cut along it.
    modello c = griglia(200);
    restrizione(c, 100, 130, 60);
    for (int k : {107, 108, 109}) metti(c, k, OGGETTO_STAZIONE);
    passata_griglia(c);
    EXPECT_EQ(c.codice_errore, codice::taglio_lungo);
    EXPECT_EQ(c.metri_errore, 108 * 50);
    EXPECT_EQ(inseriti(c), (std::vector<int>{82, 89, 95}));

    // Before the signal after the end: the cursor's position, not the signal's.
    modello d = griglia(200);
    restrizione(d, 100, 104, 120);
    metti(d, 110, OGGETTO_SEGNALE);
    metti(d, 109, OGGETTO_STAZIONE);
    metti(d, 108, OGGETTO_STAZIONE);
    passata_griglia(d);
    EXPECT_EQ(d.codice_errore, codice::taglio_lungo);
    EXPECT_EQ(d.metri_errore, 104 * 50);
}

TEST(GridPass, ShortRestrictionWalksToTheNextEndCell) {
    modello m = griglia(200);
    metti(m, 100, OGGETTO_INIZIO_RALLENTAMENTO, 60);  // its end cell was overwritten by the start
    metti(m, 120, OGGETTO_FINE_RALLENTAMENTO, 60);
    metti(m, 125, OGGETTO_SEGNALE);
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), (std::vector<int>{82, 89, 95, 108, 116, 124}));
}

TEST(GridPass, WalksAndSearchesStopAtTheLastCell) {
    // No end cell: the walk stops at the last cell, where both neighbours
    // inside the grid are taken and the one past it counts as occupied.
    modello m = griglia(30);
    metti(m, 22, OGGETTO_INIZIO_RALLENTAMENTO, 60);
    metti(m, 29, OGGETTO_STAZIONE);
    metti(m, 30, OGGETTO_STAZIONE);
    passata_griglia(m);
    EXPECT_EQ(m.codice_errore, codice::taglio_lungo);
    EXPECT_EQ(m.metri_errore, 30 * 50);

    // A fast one runs its search from the last cell and finds nothing past it.
    modello n = griglia(30);
    metti(n, 24, OGGETTO_INIZIO_RALLENTAMENTO, 130);
    metti(n, 30, OGGETTO_SEGNALE);
    passata_griglia(n);
    EXPECT_EQ(inseriti(n), (std::vector<int>{6, 13, 19, 29}));
}

TEST(GridPass, TheLastTwoCellsAndCellZeroAreNeverTheSubjectOfARule) {
    modello m = griglia(40);
    metti(m, 39, OGGETTO_INIZIO_RALLENTAMENTO, 60);
    metti(m, 40, OGGETTO_AVVISO_RALLENTAMENTO, 60);
    metti(m, 30, OGGETTO_SEGNALE);
    metti(m, 0, OGGETTO_INIZIO_RALLENTAMENTO, 60);
    m.codice_errore = codice::oltre_griglia;
    m.metri_errore = 4321;
    std::vector<cella> prima = m.celle;
    passata_griglia(m);
    EXPECT_EQ(inseriti(m), std::vector<int>{});
    EXPECT_EQ(m.codice_errore, codice::oltre_griglia);  // the reader's state stays
    EXPECT_EQ(m.metri_errore, 4321);
    EXPECT_EQ(m.celle[30].tipo_oggetto, prima[30].tipo_oggetto);
}
