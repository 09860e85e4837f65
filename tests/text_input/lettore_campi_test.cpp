#include "text_input/lettore_campi.h"

#include <gtest/gtest.h>

#include "model/run_time_failure.h"
#include "text_input/confronto.h"

namespace {

TEST(FieldReaderLineEnds, CrLfLfAndLoneCrEachEndOneLine) {
    lettore_campi r("a\r\nb\nc\rd");
    EXPECT_EQ(r.testo(), "a");
    EXPECT_EQ(r.testo(), "b");
    EXPECT_EQ(r.linea_campo(), 2);
    EXPECT_EQ(r.testo(), "c");
    EXPECT_EQ(r.testo(), "d");
    EXPECT_EQ(r.linea_campo(), 4);
    EXPECT_TRUE(r.fine());
}

TEST(FieldReaderLineEnds, AnEmptyLineIsAnEmptyTextField) {
    lettore_campi r("\r\n\r\nx");
    EXPECT_EQ(r.testo(), "");
    EXPECT_EQ(r.testo(), "");
    EXPECT_EQ(r.testo(), "x");
    EXPECT_EQ(r.linea_campo(), 3);
}

TEST(FieldReaderText, BlanksAroundTheFieldAreDropped) {
    lettore_campi r(" \tlunghezza percorso \t,    243000\r\n");
    EXPECT_EQ(r.testo(), "lunghezza percorso");
    EXPECT_EQ(r.long_field(), 243000);
    EXPECT_TRUE(r.fine());
}

TEST(FieldReaderText, AQuotedTextMayHoldACommaAndLosesItsQuotes) {
    lettore_campi r("stazione, 5, \"S. ELPIDIO, MARE\"  \r\nnext");
    EXPECT_EQ(r.testo(), "stazione");
    EXPECT_EQ(r.long_field(), 5);
    EXPECT_EQ(r.testo(), "S. ELPIDIO, MARE");
    EXPECT_FALSE(r.virgolette_aperte());
    EXPECT_EQ(r.testo(), "next");
    EXPECT_EQ(r.linea_campo(), 2);
}

TEST(FieldReaderText, AnUnclosedQuoteEndsAtTheLineEndOrTheFileEnd) {
    lettore_campi r("\"open, text\r\n\"to the end");
    EXPECT_EQ(r.testo(), "open, text");
    EXPECT_TRUE(r.virgolette_aperte());
    EXPECT_EQ(r.linea_campo(), 1);
    EXPECT_EQ(r.testo(), "to the end");
    EXPECT_TRUE(r.virgolette_aperte());
    EXPECT_TRUE(r.fine());
}

TEST(FieldReaderText, TheBoardTextKeepsItsInnerBlanks) {
    lettore_campi r("cartello_indicatore,  4400,   (Km 345+557)\r\n");
    EXPECT_EQ(r.testo(), "cartello_indicatore");
    EXPECT_EQ(r.long_field(), 4400);
    EXPECT_EQ(r.testo(), "(Km 345+557)");
    EXPECT_TRUE(r.fine());
}

TEST(FieldReaderNumbers, TheClockLineReadsTheSameWithBlanksOrCommas) {
    for (const char* line : {"orologio,    10              47            40 \r\n", "orologio, 10, 47, 40\r\n"}) {
        lettore_campi r(line);
        EXPECT_EQ(r.testo(), "orologio");
        EXPECT_EQ(r.integer_field(), 10);
        EXPECT_EQ(r.integer_field(), 47);
        EXPECT_EQ(r.integer_field(), 40);
        EXPECT_TRUE(r.fine()) << line;
    }
}

TEST(FieldReaderNumbers, EmptyFieldsReadAsZero) {
    lettore_campi r("indicatori_vmax,  143500,  60,  70,  75,  2,  ,  ,  ,  0\r\nx");
    EXPECT_EQ(r.testo(), "indicatori_vmax");
    int32_t expected[] = {143500, 60, 70, 75, 2, 0, 0, 0, 0};
    for (int32_t v : expected) EXPECT_EQ(r.long_field(), v);
    EXPECT_EQ(r.testo(), "x");
    // An empty last field on a line consumes that line end.
    lettore_campi s("a,\r\nb");
    EXPECT_EQ(s.testo(), "a");
    EXPECT_EQ(s.long_field(), 0);
    EXPECT_EQ(s.testo(), "b");
}

TEST(FieldReaderNumbers, SignsAndTheWidthLimits) {
    lettore_campi r("-12,+7,2147483647,-2147483648,32767,-32768,255,0");
    EXPECT_EQ(r.long_field(), -12);
    EXPECT_EQ(r.long_field(), 7);
    EXPECT_EQ(r.long_field(), 2147483647);
    EXPECT_EQ(r.long_field(), -2147483647 - 1);
    EXPECT_EQ(r.integer_field(), 32767);
    EXPECT_EQ(r.integer_field(), -32768);
    EXPECT_EQ(r.byte_field(), 255);
    EXPECT_EQ(r.byte_field(), 0);
    EXPECT_TRUE(r.fine());
}

TEST(FieldReaderNumbers, OutOfRangeIsARunTimeFailure) {
    EXPECT_THROW(lettore_campi("2147483648").long_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("-2147483649").long_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("99999999999999999999999").long_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("32768").integer_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("256").byte_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("-1").byte_field(), run_time_failure);
}

TEST(FieldReaderNumbers, OnlyDigitsAfterAnOptionalSign) {
    for (const char* bad : {"1.5", "&H10", "12a", "+", "-", "x", "1e3", "\"12\""})
        EXPECT_THROW(lettore_campi(bad).long_field(), run_time_failure) << bad;
}

TEST(FieldReaderNumbers, ANumberEndsAtABlankSoTheRestIsTheNextField) {
    lettore_campi r("12 ab,3");
    EXPECT_EQ(r.long_field(), 12);
    EXPECT_EQ(r.testo(), "ab");
    EXPECT_EQ(r.long_field(), 3);
}

TEST(FieldReaderEndOfFile, ReadingPastTheEndFails) {
    lettore_campi r("x");
    EXPECT_EQ(r.testo(), "x");
    EXPECT_TRUE(r.fine());
    EXPECT_THROW(r.testo(), run_time_failure);
    EXPECT_THROW(r.long_field(), run_time_failure);
    EXPECT_THROW(lettore_campi("").testo(), run_time_failure);
}

TEST(FieldReaderEndOfFile, BlanksRunningIntoTheEndAreNoNumber) {
    lettore_campi r("a,   ");
    EXPECT_EQ(r.testo(), "a");
    EXPECT_FALSE(r.fine());
    EXPECT_THROW(r.long_field(), run_time_failure);
    // The same blanks read as text give an empty field.
    lettore_campi t("a,   ");
    t.testo();
    EXPECT_EQ(t.testo(), "");
    EXPECT_TRUE(t.fine());
}

TEST(FieldReaderEndOfFile, TheLastFieldOfAFileLeavesNoByte) {
    lettore_campi r("[fine]\r\n");
    EXPECT_EQ(r.testo(), "[fine]");
    EXPECT_TRUE(r.fine());
    lettore_campi v("pendenza, 5000, -8");
    v.testo();
    v.long_field();
    EXPECT_EQ(v.long_field(), -8);
    EXPECT_TRUE(v.fine());
}

TEST(FieldReaderStream, AnUnrecognisedLinesFieldsBecomeKeywordFields) {
    lettore_campi r("sconosciuto, 100, 200\r\npendenza, 0, 0\r\n");
    EXPECT_EQ(r.testo(), "sconosciuto");
    EXPECT_EQ(r.testo(), "100");
    EXPECT_EQ(r.testo(), "200");
    EXPECT_EQ(r.linea_campo(), 1);
    EXPECT_EQ(r.testo(), "pendenza");
    EXPECT_EQ(r.linea_campo(), 2);
}

TEST(FieldReaderStream, BytesAboveAsciiPassThrough) {
    lettore_campi r("cartello, 1, CITT\xC0 \xABX\xBB\r\n");
    r.testo();
    r.long_field();
    EXPECT_EQ(r.testo(), "CITT\xC0 \xABX\xBB");
}

TEST(KeywordContainment, CaseFoldingIsAsciiOnly) {
    EXPECT_TRUE(contains("curvas3", "curva"));
    EXPECT_FALSE(contains("CURVAS3", "curva"));
    EXPECT_TRUE(contains_ignore_case("CURVAS3", "curva"));
    EXPECT_TRUE(contains_ignore_case("[GENERALE]", "[generale]"));
    EXPECT_FALSE(contains_ignore_case("\xC0", "\xE0"));
    EXPECT_FALSE(contains_ignore_case("curv", "curva"));
    EXPECT_TRUE(contains_ignore_case("", ""));
}

}  // namespace
