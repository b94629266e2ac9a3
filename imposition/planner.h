#pragma once

#include "imposition/impose.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The layout planner's arithmetic: four layouts of a product with bleed and gap on a sheet
// with gripper and margins, an upper bound that proves a layout best, and the paper to
// order. Every length is a whole number of hundredths of a millimetre; nothing is counted in
// floating point.

namespace korvane::planner {

using Length = std::int64_t; // hundredths of a millimetre

// The accepted ranges. Sizes outside them hold nothing (every layout has 0 ups), so a slip
// of the caller never draws overlapping products or overflows.
inline constexpr Length MinSide = 100;     // 1 mm, sheet and product
inline constexpr Length MaxSide = 500'000; // 5000 mm
inline constexpr Length MaxBleed = 2'000;
inline constexpr Length MaxGap = 5'000;
inline constexpr Length MaxGripper = 10'000;
inline constexpr Length MaxMargin = 10'000;

// 不限, 只横排, 只竖排.
enum class Lock
{
    None,
    HorizontalOnly,
    VerticalOnly
};

// The layouts the planner offers, in the window's order: 横排, 竖排, 横竖混排, 最优.
enum class LayoutKind
{
    Horizontal,
    Vertical,
    Mixed,
    Best
};
inline constexpr std::size_t LayoutKinds = 4;

struct Input
{
    Length sheet1 = 0, sheet2 = 0;     // sheet sides in either order
    Length product1 = 0, product2 = 0; // trimmed product sides in either order
    Length bleed = 0;                  // added on every side of the product
    Length gap = 0;                    // between neighbouring products' bleeds
    Length gripper = 0; // kept clear along a long edge (both long edges for work-and-tumble)
    Length margin = 0;  // kept clear along the other edges
    imposition::Method method = imposition::Method::Sheetwise;
    Lock lock = Lock::None;
};

// The sheet as every layout sees it. In sheet coordinates x runs along the sheet's length from
// its left edge and y across from its top edge.
struct Sheet
{
    Length width = 0, length = 0;           // width <= length
    Length trimWidth = 0, trimLength = 0;   // trimWidth <= trimLength
    Length pitchWidth = 0, pitchLength = 0; // trimWidth + 2 bleed + gap
    Length bleed = 0;
    // The usable area; empty (right <= left or bottom <= top) when the gripper and margins
    // take the whole sheet.
    Length usableLeft = 0, usableTop = 0, usableRight = 0, usableBottom = 0;
    // Where the cells are packed: the usable area grown by one gap on each axis, which lets
    // the last cell's gap run past the edge; for turn and tumble one half of it (halved along
    // the length for turn, across the width for tumble), mirrored into the other.
    Length across = 0, along = 0;
    imposition::Method method = imposition::Method::Sheetwise;

    bool usable() const { return usableRight > usableLeft && usableBottom > usableTop; }
    // 1 for sheetwise, 2 for turn and tumble.
    std::int64_t halves() const { return method == imposition::Method::Sheetwise ? 1 : 2; }
};
Sheet sheetOf(const Input &input);

// rows x cols products of one placement. (x, y) is the trimmed corner of the top-left
// product in sheet coordinates. Flat products are trimLength (x) by trimWidth (y) at pitch
// pitchLength by pitchWidth; turned products the other way round.
struct Box
{
    std::int64_t rows = 0, cols = 0;
    bool turned = false;
    Length x = 0, y = 0;

    bool operator==(const Box &) const = default;
};

struct Layout
{
    bool ruledOut = false; // forbidden by the lock
    std::int64_t ups = 0;
    std::vector<Box> blocks; // none empty; their products add up to ups
};

// How far the best layout is known to be best: it meets the bound; the search covered every
// guillotine layout but the bound is higher; or the search was narrowed to stay quick.
enum class Proof
{
    Proven,
    Bounded,
    CutShort
};

// The bound that gave the lowest value: fillable lengths times area; Barnes's bar packings;
// the grid, when one placement is all there is (or all the lock allows).
enum class BoundKind
{
    Area,
    Barnes,
    OnePlacement
};

struct Result
{
    Sheet sheet;
    std::array<Layout, LayoutKinds> layouts; // indexed by LayoutKind
    std::int64_t bound = 0;                  // no layout of the whole sheet holds more
    Proof proof = Proof::Proven;
    BoundKind decisive = BoundKind::Area;

    const Layout &layout(LayoutKind kind) const { return layouts[std::size_t(kind)]; }
};

Result plan(const Input &input);

// The trimmed products' share of the whole sheet, in tenths of a percent, halves rounded up.
std::int64_t utilisationTenths(std::int64_t ups, const Sheet &sheet);

} // namespace korvane::planner
