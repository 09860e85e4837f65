#include "running/restriction_braking.h"

#include <algorithm>
#include <cstdint>

std::optional<restriction_braking> braking_for(const modello& m, const placed_restriction& r, const train_in_use& train) {
    const int64_t warning = int64_t{r.start_m} - int64_t(LINE_BRAKING_DISTANCE_M);
    if (r.start_m <= 1500 || warning < 0) return std::nullopt;
    const size_t cell = size_t(warning / METRI_CELLA);
    if (cell >= m.celle.size()) return std::nullopt;
    restriction_braking b;
    b.from_kmh = std::min<double>(m.celle[cell].v_limite * 5, train.model.top_speed_kmh);
    double climb = 0;
    int32_t cells = 0;
    for (int64_t c = warning / METRI_CELLA; c * METRI_CELLA < r.start_m && size_t(c) < m.celle.size(); ++c, ++cells)
        climb += static_cast<double>(m.celle[size_t(c)].pendenza) - 100;
    b.gradient_permille = cells > 0 ? climb / cells : 0;
    b.needed_m = b.from_kmh <= r.speed_kmh ? std::optional<double>(0)
                                           : braking_distance_m(b.from_kmh, r.speed_kmh, train.braked_mass_percent,
                                                                train.model.brake_factor, b.gradient_permille);
    return b;
}
