#include "tests/imposition/reference.h"

namespace korvane::imposition::reference {

MixedChoice scanMixed(const Geometry &g)
{
    const double w1 = g.wwid1, l1 = g.llen1, w2 = g.wwid2, l2 = g.llen2;
    auto d = [](double a) { return static_cast<double>(a); };
    MixedChoice best;
    for (std::int64_t s = 0; s <= g.hcols; ++s) {
        std::int64_t bestLeft = 0, bestR = 0;
        for (std::int64_t r = 0; r <= g.hrows; ++r) {
            const std::int64_t left = s * r + count(d(s) * l2, w2) * count(w1 - d(r) * w2, l2);
            if (left > bestLeft) {
                bestLeft = left;
                bestR = r;
            }
        }
        std::int64_t bestRight = 0, bestT = 0;
        for (std::int64_t t = 0; t <= g.vrows; ++t) {
            const double rest = l1 - d(s) * l2;
            const std::int64_t right =
                t * count(rest, w2) + count(w1 - d(t) * l2, w2) * count(rest, l2);
            if (right > bestRight) {
                bestRight = right;
                bestT = t;
            }
        }
        if (bestLeft + bestRight > best.ups)
            best = {bestLeft + bestRight, s, bestR, bestT};
    }
    return best;
}

BandChoice scanBands(const Geometry &g, Method method)
{
    const bool turn = method == Method::WorkAndTurn;
    const std::int64_t last = turn ? g.hrows : g.hcols;
    const std::int64_t c1 = turn ? evened(g.hcols) : evened(g.hrows);
    const std::int64_t c2 = turn ? evened(g.vcols) : evened(g.vrows);
    auto m = [&](std::int64_t k) {
        return turn ? count(g.wwid1 - static_cast<double>(k) * g.wwid2, g.llen2)
                    : count(g.llen1 - static_cast<double>(k) * g.llen2, g.wwid2);
    };
    BandChoice best;
    for (std::int64_t k = 0; k <= last; ++k) {
        const std::int64_t total = k * c1 + m(k) * c2;
        if (total > best.ups)
            best = {total, k, 0};
    }
    best.band2 = m(best.kbest);
    return best;
}

} // namespace korvane::imposition::reference
