#include "text_input/virgola_mancante.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each keyword field, the field with the comma put where it is found missing (the
// field itself when none is), and the number the error points at.
TEST(MissingComma, ANumberAfterTheKeywordsWordsButNotTheKeywordsOwnDigit) {
    const struct {
        const char* field;
        const char* mended;
        const char* number = "";
    } cases[] = {
        {"pendenza 3000", "pendenza, 3000", "3000"},
        {"lunghezza percorso 52000", "lunghezza percorso, 52000", "52000"},
        {"velocita\t+5 12", "velocita,\t+5 12", "+5"},
        {"curvas3 1900", "curvas3, 1900", "1900"},
        {"curva sinistra 2 1900", "curva sinistra 2, 1900", "1900"},
        {"ripetizione segnali 4 codici 0", "ripetizione segnali 4 codici, 0", "0"},
        {"pendenza", "pendenza"},
        {"curva sinistra 2", "curva sinistra 2"},
        {"ripetizione segnali 4", "ripetizione segnali 4"},
        {"ripetizione segnali 4 0", "ripetizione segnali 4, 0", "0"},
        {"curvas3 1", "curvas3, 1", "1"},
        {"sabbia 2", "sabbia, 2", "2"},
        {"pendenza3000", "pendenza3000"},
        {"pendenza 30x", "pendenza 30x"},
        {"12 34", "12 34"},
    };
    for (const auto& c : cases) {
        std::string field = c.field, number;
        if (const auto v = cerca_virgola_mancante(field)) {
            number = field.substr(v->numero, v->lunghezza);
            field.insert(v->dopo, ",");
        }
        EXPECT_EQ(number, c.number) << c.field;
        EXPECT_EQ(field, c.mended) << c.field;
    }
}

}  // namespace
