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

// The window's rows, in table order: 横排, 竖排, 横竖混排, 最优.
enum class Row
{
    Horizontal,
    Vertical,
    Mixed,
    Best
};

struct Input
{
    Length sheet1 = 0; // sheet sides in either order
    Length sheet2 = 0;
    Length product1 = 0; // trimmed product sides in either order
    Length product2 = 0;
    Length bleed = 0;   // added on every side of the product
    Length gap = 0;     // between neighbouring products' bleeds
    Length gripper = 0; // kept clear along a long edge (both long edges for work-and-tumble)
    Length margin = 0;  // kept clear along the other edges
    imposition::Method method = imposition::Method::Sheetwise;
    Lock lock = Lock::None;
};

// rows x cols products of one placement. (x, y) is the trimmed corner of the top-left
// product in sheet coordinates: x along the sheet's length from its left edge, y across
// from its top edge. Flat products are trimLength (x) by trimWidth (y) at pitch pitchLength
// by pitchWidth; turned products the other way round.
struct Box
{
    std::int64_t rows = 0;
    std::int64_t cols = 0;
    bool turned = false;
    Length x = 0;
    Length y = 0;

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
// the grid, when one placement is all there is.
enum class BoundKind
{
    Area,
    Barnes,
    Placement
};

struct Result
{
    Length sheetWidth = 0; // sheetWidth <= sheetLength
    Length sheetLength = 0;
    Length trimWidth = 0; // trimWidth <= trimLength
    Length trimLength = 0;
    Length pitchWidth = 0; // trimWidth + 2 bleed + gap
    Length pitchLength = 0;
    // The usable area in sheet coordinates; empty (right <= left or bottom <= top) when the
    // gripper and margins take the whole sheet.
    Length usableLeft = 0;
    Length usableTop = 0;
    Length usableRight = 0;
    Length usableBottom = 0;
    std::array<Layout, 4> rows; // indexed by Row
    std::int64_t bound = 0;     // no layout of the whole sheet holds more
    Proof proof = Proof::Proven;
    BoundKind decisive = BoundKind::Area;
};

Result plan(const Input &input);

struct Paper
{
    std::int64_t sheets = 0; // 印张: net + allowance; reams are sheets / 500
    std::int64_t netSheets = 0;
    std::int64_t allowanceSheets = 0;
    std::int64_t weightTenthsKg = 0; // the full sheets' weight, halves rounded up

    bool operator==(const Paper &) const = default;
};

inline constexpr std::int64_t MaxCopies = 100'000'000;
inline constexpr std::int64_t MaxAllowance = 10'000; // hundredths of a percent: 100 %
inline constexpr std::int64_t MinGrammage = 1'000;   // hundredths of g/m²: 10 g/m²
inline constexpr std::int64_t MaxGrammage = 100'000; // 1000 g/m²

// Nullopt with no ups, and for figures outside the accepted ranges (copies 1..MaxCopies,
// allowance 0..MaxAllowance, grammage MinGrammage..MaxGrammage, sheet sides MinSide..MaxSide).
std::optional<Paper> paper(std::int64_t ups, Length sheetWidth, Length sheetLength,
                           std::int64_t copies, std::int64_t allowanceHundredthsPercent,
                           std::int64_t grammageHundredths);

// The trimmed products' share of the whole sheet, in tenths of a percent, halves rounded up.
std::int64_t utilisationTenthsPercent(std::int64_t ups, const Result &result);

} // namespace korvane::planner
