#include "running/permitted_speed.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

std::vector<placed_restriction> restrictions_of(const modello& m) {
    std::vector<placed_restriction> out;
    const std::vector<riga_letta>& righe = m.registro.righe;
    for (size_t i = 0; i < righe.size(); ++i) {
        const riga_letta& r = righe[i];
        if (r.genere != genere_riga::rallentamento || r.valori.size() < 3) continue;
        if (r.valori[1] <= 0 || r.valori[2] <= 0) continue;
        out.push_back({r.valori[0], r.valori[2], r.valori[1], static_cast<int32_t>(i)});
    }
    return out;
}

permitted_speeds head_limits(const modello& m, int32_t metres) {
    permitted_speeds p;
    const size_t n = static_cast<size_t>(std::max(metres, 0));
    p.kmh.resize(n);
    p.source.assign(n, -1);
    // A cell's line speed over its metres at once: a metre at a time was a sixth of a check.
    for (size_t from = 0, cell = 0; from < n; from += METRI_CELLA, ++cell)
        std::fill(p.kmh.begin() + static_cast<ptrdiff_t>(from), p.kmh.begin() + static_cast<ptrdiff_t>(std::min(n, from + METRI_CELLA)),
                  static_cast<uint16_t>(cell < m.celle.size() ? m.celle[cell].v_limite * 5 : 0));
    p.restrictions = restrictions_of(m);
    for (size_t k = 0; k < p.restrictions.size(); ++k) {
        const placed_restriction& r = p.restrictions[k];
        const int64_t from = std::max<int64_t>(r.start_m, 0), to = std::min<int64_t>(int64_t{r.start_m} + r.length_m, n);
        for (int64_t i = from; i < to; ++i)
            if (r.speed_kmh < p.kmh[size_t(i)]) p.kmh[size_t(i)] = uint16_t(r.speed_kmh), p.source[size_t(i)] = int32_t(k);
    }
    return p;
}

permitted_speeds train_limits(permitted_speeds p, double length_m) {
    const size_t window = static_cast<size_t>(std::ceil(length_m));
    // The lowest limit over the metres the train covers, i - window to i, by a
    // queue of candidates whose limits rise from its front; it holds their values,
    // as each metre's limit is overwritten once it is read.
    struct candidate {
        size_t metre;
        uint16_t kmh;
        int32_t source;
    };
    std::deque<candidate> low;
    for (size_t i = 0; i < p.kmh.size(); ++i) {
        while (!low.empty() && low.back().kmh >= p.kmh[i]) low.pop_back();
        low.push_back({i, p.kmh[i], p.source[i]});
        while (low.front().metre + window < i) low.pop_front();
        p.kmh[i] = low.front().kmh;
        p.source[i] = low.front().source;
    }
    return p;
}
