#pragma once

#include "imposition/impose.h"

#include <cstdint>

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

// The sheetwise mixed layout: a cut after `mixcols` horizontal columns; on the left,
// `mixrows` horizontal rows with turned products below; on the right, `mixturns` turned
// rows with horizontal products below. Among equal totals the smallest cut wins, then the
// smallest row counts.
struct MixedChoice
{
    std::int64_t ups = 0;
    std::int64_t mixcols = 0;
    std::int64_t mixrows = 0;
    std::int64_t mixturns = 0;
};
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
