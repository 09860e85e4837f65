#include "compile/codice_gara.h"

#include <gtest/gtest.h>

#include "compile/timbri.h"

namespace {

modello identificatori(const std::string& treno, const std::string& linea) {
    modello m;
    m.voci[VOCE_TRENO].testo = treno;
    m.voci[VOCE_LINEA].testo = linea;
    return m;
}

int16_t og(const std::string& treno, const std::string& linea) { return codice_gara_og(identificatori(treno, linea)); }
int32_t st(const std::string& treno, const std::string& linea) { return codice_gara_st(identificatori(treno, linea)); }

}  // namespace

TEST(CodiceGara, WorkedExamples) {
    EXPECT_EQ(finestra_codice(identificatori("1", "ab")), "1abaabbccddeeffgghhiillmm");
    EXPECT_EQ(og("1", "ab"), 2496);
    EXPECT_EQ(st("1", "ab"), 33703);
    // Swapped: the plain sum stays, the weighted one moves.
    EXPECT_EQ(og("ab", "1"), 2496);
    EXPECT_EQ(st("ab", "1"), 33606);

    EXPECT_EQ(finestra_codice(identificatori("", "")), "aabbccddeeffgghhiillmmnno");
    EXPECT_EQ(og("", ""), 2583);
    EXPECT_EQ(st("", ""), 34355);
}

TEST(CodiceGara, OnlyTheFirstTwentyFiveCharactersCount) {
    const std::string linea = "Lidonia_Sabrio_and_then_more";
    EXPECT_EQ(og("914", linea), og("914", linea + "X"));
    EXPECT_EQ(st("914", linea.substr(0, 22)), st("914", linea.substr(0, 22) + "zzz"));
    EXPECT_NE(st("914", linea.substr(0, 21)), st("914", linea.substr(0, 21) + "z"));
    // Every byte counts with its unsigned code, at most 25 x 255 and 255 x 325.
    const std::string alti(25, '\xFF');
    EXPECT_EQ(og(alti, ""), 6375);
    EXPECT_EQ(st(alti, ""), 82875);
}

TEST(CodiceGara, UpperCaseCountsAsLowerCaseInTheWindows1252CodePage) {
    // Either spelling gives the codes of "914lidonia_sabrioaabbccdd" and "icvalleaabbccddeeffgghhii".
    EXPECT_EQ(st("914", "LIDONIA_SABRIO"), 32737);
    EXPECT_EQ(st("914", "lidonia_sabrio"), 32737);
    EXPECT_EQ(og("IC", "Valle"), 2554);
    EXPECT_EQ(og("ic", "valle"), 2554);
    EXPECT_EQ(minuscole_1252("AZ[@\xC0\xC9\xDE\xD7\xDF\x8A\x8C\x8E\x9F\x8D"),
              "az[@\xE0\xE9\xFE\xD7\xDF\x9A\x9C\x9E\xFF\x8D");
}

TEST(Timbri, StampsTheReservedValuesAndTheCodes) {
    modello m = identificatori("914", "Lidonia_Sabrio");
    m.alloca_celle(10);
    timbra_riservati(m);
    EXPECT_EQ(m.voci[VOCE_LINEA].parametro1, 610);
    EXPECT_EQ(m.celle[1].dato1, 5121);
    // The codes of the window "914lidonia_sabrioaabbccdd".
    EXPECT_EQ(m.voci[VOCE_LINEA].orario, 32737);
    EXPECT_EQ(m.celle[1].dato2, 2417);
}

TEST(Timbri, AReservedPlaceInUseStopsTheStampsWithItsReport) {
    // The report names the place in use and the line whose object claimed cell 1.
    const luogo_testo riga_segnale{file_testo::treno, 3, 1, 7};
    struct caso {
        void (*prepara)(modello&);
        codice rapporto;
        int16_t parametro1;  // what the first stamp left
        posto_riservato posto;
        luogo_testo luogo;
    };
    const caso casi[] = {
        {[](modello& m) { m.celle[1].dato1 = 3; }, codice::riservato_primo, 0, posto_riservato::cella_uno, {}},
        {[](modello& m) {
             m.registro.righe.push_back({});
             m.registro.righe.back().luogo = {file_testo::treno, 3, 1, 7};
             m.rivendica(1);
             m.celle[1].dato1 = 3;
         },
         codice::riservato_primo, 0, posto_riservato::cella_uno, riga_segnale},
        {[](modello& m) { m.voci[VOCE_LINEA].parametro1 = -1; }, codice::riservato_primo, -1, posto_riservato::voce_linea,
         {file_testo::linea}},
        {[](modello& m) { m.celle[1].dato2 = 7; }, codice::riservato_secondo, 610, posto_riservato::cella_uno, {}},
        {[](modello& m) { m.voci[VOCE_LINEA].orario = 1; }, codice::riservato_secondo, 610, posto_riservato::voce_linea,
         {file_testo::linea}},
    };
    for (const caso& c : casi) {
        modello m = identificatori("914", "Lidonia_Sabrio");
        m.alloca_celle(10);
        c.prepara(m);
        EXPECT_EQ(timbra_riservati(m), c.rapporto);
        EXPECT_EQ(m.voci[VOCE_LINEA].parametro1, c.parametro1);
        ASSERT_TRUE(m.rapporto.has_value());
        EXPECT_EQ(m.rapporto->numero, c.rapporto);
        EXPECT_EQ(m.rapporto->posto, c.posto);
        EXPECT_EQ(m.rapporto->luogo, c.luogo);
        // The report is no error-state code.
        EXPECT_EQ(m.codice_errore, codice::nessuno);
        EXPECT_TRUE(m.errori.empty());
    }
}
