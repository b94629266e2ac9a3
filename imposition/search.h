#pragma once

#include "imposition/impose.h"
#include "imposition/stepfunction.h"

#include <array>
#include <cstdint>
#include <utility>

namespace korvane::imposition {

// How many products of side `size` fit along `length`: both rounded half to even, the
// quotient truncated. A length that has run negative holds none.
std::int64_t count(double length, double size);

// The same with the side already rounded, for the searches that divide by one side
// millions of times.
std::int64_t count(double length, std::int64_t roundedSize);

// n when even, n - 1 when odd: the count a work-and-turn or work-and-tumble block can use.
inline std::int64_t evened(std::int64_t n)
{
    return n % 2 == 0 ? n : n - 1;
}

// The four-block mixed layout: a cut after `mixcols` flat columns; on the left, `mixrows`
// flat rows with turned cells below; on the right, `mixturns` turned rows with flat cells
// below. Among equal totals the smallest cut wins, then the smallest row counts. `blocks`
// gives each block's rows and columns, in that order: flat top left, turned below it, turned
// top right, flat below that.
struct MixedChoice
{
    std::int64_t ups = 0;
    std::int64_t mixcols = 0;
    std::int64_t mixrows = 0;
    std::int64_t mixturns = 0;
    std::array<std::pair<std::int64_t, std::int64_t>, 4> blocks{};
};

// A count and where it was found. The scans start from 0 at 0, and only a positive count
// replaces it.
struct Best
{
    std::int64_t value = 0;
    std::int64_t at = 0;
};
inline Best positive(std::int64_t value, std::int64_t at)
{
    return value > 0 ? Best{value, at} : Best{};
}

// The four-block search for any way of counting: an area `across` by `along` of cells a
// across and b along when flat, the other way when turned; `fit(length, b)` is how many
// whole cells of side b (a when false) a length holds, 0 once it has run negative. Lengths
// are the caller's type L, counts whole numbers.
template <typename L, typename Fit>
MixedChoice searchFourBlocks(L across, L along, L a, L b, const Fit &fit)
{
    const auto left = [&](std::int64_t r) { return fit(across - L(r) * a, true); };
    const auto right = [&](std::int64_t t) { return fit(across - L(t) * b, false); };
    const auto rest = [&](std::int64_t s) { return along - L(s) * b; };
    const std::vector<Point> leftHull = upperHull(fit(across, false), left);
    const std::vector<Point> rightHull = upperHull(fit(across, true), right);
    const std::int64_t rightAtTop = right(0);
    MixedChoice best;
    for (std::int64_t s = 0; s <= fit(along, true); ++s) {
        // left(s, r) = s*r + A*B(r); with s = 0 there are no columns, so A = 0 too.
        Best l;
        const std::int64_t turnedCols = fit(L(s) * b, false);
        if (s > 0) {
            const Point &p = firstMaximum(leftHull, s, turnedCols);
            l = positive(s * p.x + turnedCols * p.y, p.x);
        }
        // right(s, t) = t*C + D(t)*E over the rest of the length.
        const std::int64_t turnedPerRow = fit(rest(s), false);
        const std::int64_t flatCols = fit(rest(s), true);
        Best r = positive(rightAtTop * flatCols, 0);
        if (turnedPerRow > 0) {
            const Point &p = firstMaximum(rightHull, turnedPerRow, flatCols);
            r = positive(turnedPerRow * p.x + flatCols * p.y, p.x);
        }
        if (l.value + r.value > best.ups)
            best = {l.value + r.value, s, l.at, r.at, {}};
    }
    const std::int64_t s = best.mixcols;
    best.blocks = {{{best.mixrows, s},
                    {left(best.mixrows), fit(L(s) * b, false)},
                    {best.mixturns, fit(rest(s), false)},
                    {right(best.mixturns), fit(rest(s), true)}}};
    return best;
}

// The panel's four blocks, its sizes counted with the integer division of `count`.
MixedChoice searchMixed(const Geometry &g);

// The two-band search of work-and-turn (k rows of band 1) and work-and-tumble (k columns
// of band 1); `band2` is the variable count of band 2 for the chosen k.
struct BandChoice
{
    std::int64_t ups = 0;
    std::int64_t kbest = 0;
    std::int64_t band2 = 0;
};
BandChoice searchBands(const Geometry &g, Method method);

} // namespace korvane::imposition
