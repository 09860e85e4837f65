#include "documents/dati_note.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/righe_testo.h"

namespace {

std::vector<std::string> righe() { return righe_documento(dati_note, "Lidonia_Sabrio_914_note.txt"); }

}  // namespace

TEST(DatiNote, WritesFourteenLinesOfAtMostSeventyEightUnderTheRouteAndTrainName) {
    const std::vector<std::string> lines = righe();
    ASSERT_EQ(lines.size(), 14u);
    for (const std::string& l : lines) {
        EXPECT_LE(l.size(), 78u) << l;
        EXPECT_FALSE(l.empty());
        EXPECT_NE(l, FINE_TABELLA);
    }
    // Only the sign-off is indented.
    for (size_t i = 0; i < 12; ++i) EXPECT_NE(lines[i][0], ' ') << "line " << i + 1;
    EXPECT_EQ(lines[12][0], ' ');
    EXPECT_EQ(lines[13][0], ' ');
}

TEST(DatiNote, QuotedLinesAreExactWithTheirTrailingSpaces) {
    const std::vector<std::string> lines = righe();
    ASSERT_EQ(lines.size(), 14u);
    // The station name "Lidonia Centrale" is broken across lines 1 and 2.
    EXPECT_TRUE(lines[0].ends_with(" Lidonia ")) << lines[0];
    EXPECT_EQ(lines[1], "Centrale - Sabrio.");
    EXPECT_EQ(lines[2], "La ripetizione dei segnali e' a 4 codici. ");
    EXPECT_EQ(lines[3], "Dopo la stazione di Fano, la riduzione di velocit\xE0 a 105 Km/h e' segnalata");
    EXPECT_EQ(lines[4], "da un abbattimento di codice.");
    EXPECT_EQ(lines[7], "L' aderenza e' buona su tutto il tratto.");
    EXPECT_EQ(lines[11], "Buon divertimento");
    int trailing = 0;
    for (const std::string& l : lines) trailing += l.back() == ' ';
    EXPECT_EQ(trailing, 2);
}

TEST(DatiNote, TheGraveAIsTheOnlyByteOutsideAsciiAndIsOneByte) {
    const std::vector<std::string> lines = righe();
    int outside = 0;
    for (const std::string& l : lines)
        for (char c : l) outside += static_cast<unsigned char>(c) > 0x7E;
    EXPECT_EQ(outside, 1);
    ASSERT_GE(lines.size(), 4u);
    const size_t at = lines[3].find("velocit");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(static_cast<unsigned char>(lines[3][at + 7]), 0xE0);
    EXPECT_EQ(lines[3][at + 8], ' ');
}
