#include "imposition/search.h"

#include "common/numtext.h"
#include "imposition/stepfunction.h"

#include <vector>

// Both mixed searches are defined as exhaustive scans: every cut, every row count, ties to
// the smallest. Scanning them literally costs (cuts x rows), which for a small product on
// a large sheet blocks the window for minutes. The searches below give the same choice
// while looking only where a maximum can be:
//
// * Each variable count (rows of turned products under k horizontal rows, and so on) is a
//   non-increasing step function of k. While it stays constant the total grows with k,
//   so only the last k of each run of equal values can hold a maximum. `runEnds` finds
//   those k by galloping, in time proportional to the number of runs.
// * For the four-block search, the best left part for a cut s is the largest dot product
//   of (s, A(s)) with one of the points (r, B(r)), and likewise on the right. A maximum of
//   a dot product with non-negative weights lies on the upper hull of the points, where
//   the values rise and then fall, so a binary search finds the first maximum. Collinear
//   hull points are kept, so the first maximum is also the smallest r among equals.
//
// All totals are exact integers; the doubles only feed the roundings of `count`.

namespace korvane::imposition {

std::int64_t count(double length, double size)
{
    const auto q = intDiv(length, size);
    return q && *q > 0 ? *q : 0;
}

std::int64_t count(double length, std::int64_t roundedSize)
{
    const auto whole = roundHalfEven(length);
    return whole && *whole > 0 ? *whole / roundedSize : 0;
}

MixedChoice searchMixed(const Geometry &g)
{
    const std::int64_t w = *roundHalfEven(g.wwid2);
    const std::int64_t l = *roundHalfEven(g.llen2);
    return searchFourBlocks(g.wwid1, g.llen1, g.wwid2, g.llen2, [&](double length, bool along) {
        return count(length, along ? l : w);
    });
}

BandChoice searchBands(const Geometry &g, Method method)
{
    const bool turn = method == Method::WorkAndTurn;
    // Work-and-turn: k rows of evened(hcols) across the top, then m(k) turned rows of
    // evened(vcols). Work-and-tumble: k columns of evened(hrows) down the left, then m(k)
    // turned columns of evened(vrows).
    const std::int64_t last = turn ? g.hrows : g.hcols;
    const std::int64_t fixed1 = turn ? evened(g.hcols) : evened(g.hrows);
    const std::int64_t fixed2 = turn ? evened(g.vcols) : evened(g.vrows);
    const std::int64_t w = *roundHalfEven(g.wwid2);
    const std::int64_t l = *roundHalfEven(g.llen2);
    const auto band2 = [&](std::int64_t k) {
        return turn ? count(g.wwid1 - static_cast<double>(k) * g.wwid2, l)
                    : count(g.llen1 - static_cast<double>(k) * g.llen2, w);
    };

    Best best;
    if (fixed1 == 0) {
        // Band 1 adds nothing, so the widest band 2, at k = 0, is the first maximum.
        best = positive(band2(0) * fixed2, 0);
    } else {
        forEachRunEnd(last, band2, [&](const Point &p) {
            const std::int64_t total = p.x * fixed1 + p.y * fixed2;
            if (total > best.value)
                best = {total, p.x};
        });
    }
    return {best.value, best.at, band2(best.at)};
}

} // namespace korvane::imposition
