#include "compile/codici_errore.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(CodiciErrore, EveryCodeTheRunRecordsHasOneEntryWithItsNumberMeaningAndPosition) {
    // The numbers are what authors and the compiled files' peers know: pinned here.
    const std::set<int32_t> codici = {101, 102, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                                      15, 16, 17, 18, 19, 20, 21, 22, 24, 25, 103, 1250, 1251};
    const std::set<int32_t> con_posizione = {6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22};
    std::set<int32_t> visti, posizionati;
    for (const voce_errore& e : tabella_errori()) {
        EXPECT_TRUE(visti.insert(numero(e.numero)).second) << "code " << e.numero << " twice";
        if (e.con_posizione) posizionati.insert(numero(e.numero));
        EXPECT_FALSE(std::string(e.significato).empty());
        EXPECT_FALSE(std::string(e.seguito).empty());
    }
    EXPECT_EQ(visti, codici);
    EXPECT_EQ(posizionati, con_posizione);
    EXPECT_EQ(numero(codice::segnale_occupato), 16);
    EXPECT_EQ(numero(codice::curva_senza_classe), 103);
    EXPECT_EQ(cerca_errore(codice::nessuno), nullptr);
    EXPECT_STREQ(significato_errore(codice::nessuno), "unknown error code");
    // The codes the later rules widened say so.
    EXPECT_NE(std::string(significato_errore(codice::fine_occupata)).find("outside the grid"), std::string::npos);
    EXPECT_NE(std::string(significato_errore(codice::voci_esaurite)).find("indication board"), std::string::npos);
}

TEST(CodiciErrore, TheMessageNamesThePositionOnlyForCodesRecordedWithOne) {
    EXPECT_EQ(messaggio_errore(codice::segnale_occupato, 1675), "error 16: signal cell already occupied (at 1675 m)");
    EXPECT_EQ(messaggio_errore(codice::lettura_fallita, 1675),
              "error 25: run-time failure while reading (bad field, overflow, read past the end)");
}
