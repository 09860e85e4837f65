#include "model/tracciato.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The runs of reals set in order are known without their tags; whatever later
// breaks, empties or extends them, the runs stay the file's bytes.
TEST(Tracciato, KnownRunsOfRealsFollowEveryChange) {
    struct cambio {
        int32_t metro;
        int componente;
        elemento_tracciato e;
    };
    const elemento_tracciato vuoto{}, intero = elemento_tracciato::da_intero(3), reale = elemento_tracciato::da_reale(1.0);
    const std::vector<std::vector<cambio>> casi = {
        {},                                     // the computed points alone
        {{4, 0, intero}},                       // an integer inside a run
        {{2, 1, vuoto}, {3, 1, reale}},         // its first emptied, then a real inside it
        {{5, 0, vuoto}, {7, 0, intero}},        // its last emptied, then beyond it
        {{6, 0, reale}, {7, 0, reale}, {0, 1, reale}, {1, 1, vuoto}},  // on into the other component
    };
    for (size_t n = 0; n < casi.size(); ++n) {
        tracciato_t t;
        t.dimensiona(7);
        for (int k = 0; k < 2; ++k) {
            t.imposta(0, k, elemento_tracciato::da_intero(0));
            t.imposta(1, k, elemento_tracciato::da_intero(1));
        }
        for (int32_t metro = 2; metro <= 5; ++metro)
            for (int k = 0; k < 2; ++k) t.imposta_reale(metro, k, metro + 0.25 * k);
        for (const cambio& c : casi[n]) t.imposta(c.metro, c.componente, c.e);
        EXPECT_EQ(runs(t), route_file_bytes(t)) << "case " << n;
    }
}
