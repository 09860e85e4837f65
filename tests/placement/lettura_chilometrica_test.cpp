// The kilometre reading: it decreases along the line from each reference's value
// at its start, the reference starting furthest along holding from its start.
#include "placement/lettura_chilometrica.h"

#include <gtest/gtest.h>

#include "placement/progressive_ordina.h"

namespace {

struct riferimento_scritto {
    int32_t inizio, valore, flag;
};

// The readings at `posizioni` of references written as the route file gives them
// (uno, due, tre), once compiled.
std::vector<std::optional<int64_t>> letture(std::array<riferimento_scritto, 3> scritti, std::vector<int64_t> posizioni) {
    modello m;
    for (int k = 0; k < 3; ++k) {
        voce& v = m.voci[static_cast<size_t>(VOCE_PROGRESSIVA_UNO - k)];
        v.inizio_zona = scritti[static_cast<size_t>(k)].inizio;
        v.fine_zona = scritti[static_cast<size_t>(k)].valore;
        v.progressiva = scritti[static_cast<size_t>(k)].flag;
    }
    progressive_ordina(m);
    std::vector<std::optional<int64_t>> out;
    for (const int64_t p : posizioni) out.push_back(lettura_chilometrica(m.voci, p));
    return out;
}

}  // namespace

TEST(LetturaChilometrica, DecreasesAlongTheLineFromTheReferenceInForce) {
    using v = std::vector<std::optional<int64_t>>;
    // progressiva chilometrica uno, 0, 12000, 0: km 12.000 at the start, km 11.000 at 1,000 m.
    EXPECT_EQ(letture({{{0, 12000, 0}, {0, 0, 0}, {0, 0, 0}}}, {0, 1000, 12000, 15000}), (v{12000, 11000, 0, -3000}));
    // A flag of 1 adds 100 m to the value.
    EXPECT_EQ(letture({{{0, 350000, 1}, {0, 0, 0}, {0, 0, 0}}}, {0, 130}), (v{350100, 349970}));
    // From its start on, a second reference takes over; before the first start there is none.
    EXPECT_EQ(letture({{{1000, 50000, 0}, {6000, 80000, 0}, {0, 0, 0}}}, {500, 1000, 5999, 6000, 7000}),
              (v{std::nullopt, 50000, 45001, 80000, 79000}));
    EXPECT_EQ(letture({{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}}, {0}), (v{std::nullopt}));
}
