// The route and the train content describe one line: speeds fit the curves and
// the boards, and the code cuts announce the reduction after Fano.
#include <gtest/gtest.h>

#include <map>

#include "content/dati_linea.h"
#include "tests/support/righe.h"
#include "tests/support/scenario_treno.h"

TEST(ScenarioCoerenza, LineSpeedNeverExceedsWhatACurveAllows) {
    // Top speed by curve class, for the tight classes (radii 1000, 500, 333 m).
    const std::map<char, int32_t> massima = {{'4', 150}, {'5', 115}, {'6', 95}};
    for (const auto& r : sezione(tabella_linea(), "[curve]")) {
        auto it = massima.find(r[6]);
        if (it == massima.end()) continue;
        auto v = valori(r);
        for (int32_t p = v[0]; p <= v[0] + v[1]; p += 50) EXPECT_LE(limite_a(p), it->second) << r << " at " << p;
    }
}

TEST(ScenarioCoerenza, EveryBoardAnnouncesTheLimitInForce1200MetresOn) {
    // A run of three boards announces from its last board; the middle speed of
    // the first group is the one for this train's rank.
    auto cartelli = sezione(tabella_linea(), "[cartelli]");
    for (size_t i = 0; i < cartelli.size(); ++i) {
        auto v = valori(cartelli[i]);
        if (v[4] != 0) continue;
        EXPECT_EQ(v[2], limite_a(v[0] + 1200)) << cartelli[i];
    }
    // Every change of limit has a board announcing it, except the reduction that
    // the code cuts after Fano announce.
    auto limiti = limiti_treno();
    int senza = 0;
    for (size_t i = 1; i < limiti.size(); ++i) {
        const int32_t da = limiti[i].first;
        const int32_t a = i + 1 < limiti.size() ? limiti[i + 1].first : 1 << 30;
        bool annunciato = false;
        for (const auto& r : cartelli) {
            auto v = valori(r);
            annunciato |= v[4] == 0 && v[0] + 1200 >= da && v[0] + 1200 < a;
        }
        if (!annunciato) {
            ++senza;
            EXPECT_EQ(limiti[i].second, 105) << "at " << da;
        }
    }
    EXPECT_EQ(senza, 1);
}

TEST(ScenarioCoerenza, CodeCutsAfterFanoAnnounceTheReductionTo105) {
    auto codici = sezione(tabella_treno(), "[codici]");
    const int32_t ultimo = valori(codici.back())[0];
    int32_t fano = 0;
    for (const auto& s : stazioni_treno())
        if (s.nome == "FANO") fano = s.fine_zona;
    EXPECT_LT(fano, valori(codici.front())[0]);
    EXPECT_GT(limite_a(ultimo), 105);
    EXPECT_EQ(limite_a(ultimo + 1200), 105);
    // No board announces that reduction.
    for (const auto& r : sezione(tabella_linea(), "[cartelli]")) {
        auto v = valori(r);
        EXPECT_FALSE(v[0] > fano && v[0] <= ultimo + 1200 && v[2] == 105) << r;
    }
}
