#pragma once

#include "imposition/planner.h"

#include <string>
#include <utility>
#include <vector>

// The guillotine's cuts that take a layout's products out of the sheet: in order, each cut
// across a whole piece, identical pieces stacked and cut at one stroke. Lengths in hundredths
// of a millimetre, as the planner's.

namespace korvane::planner {

// A kind of piece: its size, "top" and "left" being the sheet's. Kinds are numbered in the
// order they first come off a cut, the sheet being 0.
struct PieceKind
{
    Length width = 0, height = 0;
};

// What a cut leaves on either side: a kind of piece still to cut, a product, or waste.
inline constexpr int Product = -1, Waste = -2;

// One stroke: every piece of `kind` there is, `count` of them stacked, cut `at` from its top
// edge (across, parallel to the sheet's long side) or from its left edge (down); `first` is
// the part above or to the left, `second` the rest.
struct Stroke
{
    int kind = 0;
    std::int64_t count = 0;
    bool across = false;
    Length at = 0;
    int first = Waste, second = Waste;
    // Where the stack's pieces lie on the sheet, their top left corners, for drawing the cut
    // on each: the first MaxPlaces of them.
    std::vector<std::pair<Length, Length>> places;

    bool operator==(const Stroke &) const = default;
};

inline constexpr std::size_t MaxPlaces = 2000;

struct CutPlan
{
    std::vector<PieceKind> kinds;
    std::vector<Stroke> strokes;
};

// The plan of `layout` on the sheet of `result`: every product comes off as a piece of its
// trimmed size, and all else as waste. With bleed or a gap between two products, two cuts
// part them; touching, one. Empty for a layout with no products.
CutPlan cutPlan(const Sheet &sheet, const Layout &layout);

// A kind's name: A for the sheet, then B … Z, AA, AB, …
std::u16string kindName(int kind);

// The plan as the cutter reads it: the line naming each kind's size
// ("A 1092 × 787，B 1092 × 297，…"), then a line a stroke:
//   第 n 刀：X ×k，距上边 d 横切，得 Y 和 Z
//   第 n 刀：X ×k，距左边 d 竖切，得 Y 和 Z
// with 成品 and 废料 for the parts that are no kind to cut.
std::vector<std::u16string> cutSteps(const CutPlan &plan);

} // namespace korvane::planner
