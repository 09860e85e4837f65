#include "model/tracciato.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/compiled_bytes.h"

namespace {

std::string runs(const tracciato_t& t) {
    std::string out;
    t.per_tratto([&out](const char* byte, size_t n) { out.append(byte, n); });
    return out;
}

}  // namespace

// The storage is the file's layout: its runs are the route file's bytes for any
// mix of elements, and a copy keeps every element whatever the target held.
TEST(Tracciato, RunsAreTheFileBytesAndCopiesAreWhole) {
    tracciato_t t;
    t.dimensiona(6);
    t.imposta(0, 0, elemento_tracciato::da_intero(-2));
    t.imposta(1, 0, elemento_tracciato::da_reale(1.5));
    t.imposta(2, 0, elemento_tracciato::da_reale(-0.0));
    t.imposta(3, 0, elemento_tracciato::da_intero(7));  // an integer between reals
    t.imposta(4, 0, elemento_tracciato::da_reale(2.25));
    t.imposta(6, 0, elemento_tracciato::da_reale(3.0));  // after an empty element
    t.imposta_reale(0, 1, 1e300);
    EXPECT_EQ(runs(t), route_file_bytes(t));
    EXPECT_EQ(t.valore(3, 0), 7.0);
    EXPECT_EQ(t.at(5, 0).tag, elemento_tracciato::VUOTO);

    tracciato_t larger;
    larger.dimensiona(1000);
    larger.imposta_reale(900, 1, 4.0);
    larger = t;
    EXPECT_EQ(larger.numero_elementi(), t.numero_elementi());
    EXPECT_EQ(runs(larger), runs(t));
    tracciato_t decoded;
    for (size_t i = 0; i < t.numero_elementi(); ++i) decoded.aggiungi(t.elemento(i));
    EXPECT_EQ(runs(decoded), runs(t));
}
