#include "imposition/planner.h"

#include "imposition/guillotine.h"
#include "imposition/stepfunction.h"

#include <algorithm>

// Cells: each product takes its trimmed size plus a bleed on both sides plus one gap, so
// neighbouring cells leave exactly one gap between their bleeds. The cells are packed into
// the usable area grown by one gap on each axis, which lets the last cell's gap run past the
// edge. Work-and-turn and work-and-tumble lay out one half of that grown area (halved along
// the length for turn, across the width for tumble) and mirror it into the other half.

namespace korvane::planner {
namespace {

using imposition::Method;

// The mixed family is searched as in the main panel, in integers (stepfunction.h).
using imposition::firstMaximum;
using imposition::Point;
using imposition::upperHull;

struct Part
{
    std::int64_t value = 0;
    std::int64_t at = 0;
};

// Only a positive count replaces the starting 0 at 0, as in the main panel.
Part positive(std::int64_t value, std::int64_t at)
{
    return value > 0 ? Part{value, at} : Part{};
}

// The four-block mixed family in an area across x along, cells a (across) by b (along) when
// flat: a cut after s flat columns; at the left r flat rows with turned cells below, at the
// right t turned rows with flat cells below. Strict comparisons: the smallest s wins a tie,
// then the smallest r and t.
std::vector<Grid> mixedGrids(std::int64_t across, std::int64_t along, std::int64_t a,
                             std::int64_t b)
{
    const std::int64_t flatRows = across / a;
    const std::int64_t flatCols = along / b;
    const std::int64_t turnedRows = across / b;
    const auto leftTurnedRows = [&](std::int64_t r) { return (across - r * a) / b; };
    const auto rightFlatRows = [&](std::int64_t t) { return (across - t * b) / a; };
    const std::vector<Point> leftHull = upperHull(flatRows, leftTurnedRows);
    const std::vector<Point> rightHull = upperHull(turnedRows, rightFlatRows);

    std::int64_t ups = 0, s = 0, r = 0, t = 0;
    for (std::int64_t cut = 0; cut <= flatCols; ++cut) {
        Part left;
        if (cut > 0) {
            const std::int64_t turnedCols = cut * b / a;
            const Point &p = firstMaximum(leftHull, cut, turnedCols);
            left = positive(cut * p.x + turnedCols * p.y, p.x);
        }
        const std::int64_t rest = along - cut * b;
        const std::int64_t turnedPerRow = rest / a;
        const std::int64_t restCols = rest / b;
        Part right;
        if (turnedPerRow == 0) {
            right = positive(rightFlatRows(0) * restCols, 0);
        } else {
            const Point &p = firstMaximum(rightHull, turnedPerRow, restCols);
            right = positive(turnedPerRow * p.x + restCols * p.y, p.x);
        }
        if (left.value + right.value > ups) {
            ups = left.value + right.value;
            s = cut;
            r = left.at;
            t = right.at;
        }
    }
    const std::int64_t rest = along - s * b;
    const Grid all[] = {
        {r, s, false, 0, 0},
        {leftTurnedRows(r), s * b / a, true, 0, r * a},
        {t, rest / a, true, s * b, 0},
        {rightFlatRows(t), rest / b, false, s * b, t * b},
    };
    std::vector<Grid> grids;
    for (const Grid &g : all) {
        if (g.rows > 0 && g.cols > 0)
            grids.push_back(g);
    }
    return grids;
}

std::int64_t cells(const std::vector<Grid> &grids)
{
    std::int64_t n = 0;
    for (const Grid &g : grids)
        n += g.rows * g.cols;
    return n;
}

std::vector<Grid> single(std::int64_t rows, std::int64_t cols, bool turned)
{
    if (rows <= 0 || cols <= 0)
        return {};
    return {{rows, cols, turned, 0, 0}};
}

bool inRange(const Input &in)
{
    const auto side = [](Length v) { return v >= MinSide && v <= MaxSide; };
    const auto within = [](Length v, Length most) { return v >= 0 && v <= most; };
    return side(in.sheet1) && side(in.sheet2) && side(in.product1) && side(in.product2) &&
           within(in.bleed, MaxBleed) && within(in.gap, MaxGap) && within(in.gripper, MaxGripper) &&
           within(in.margin, MaxMargin);
}

// Steps the guillotine search may take: a few milliseconds on a desktop core (planner_bench),
// whatever the sizes.
constexpr std::int64_t SearchSteps = 6'000'000;

// Sheet placement of the grids of one half (or of the whole area for sheetwise).
class Placer
{
public:
    Placer(const Result &r, Length bleed, Method method) : m_r(r), m_bleed(bleed), m_method(method)
    {
    }

    Layout layout(const std::vector<Grid> &grids) const
    {
        Layout out;
        for (const Grid &g : grids) {
            out.blocks.push_back({g.rows, g.cols, g.turned, m_r.usableLeft + g.along + m_bleed,
                                  m_r.usableTop + g.across + m_bleed});
            out.ups += g.rows * g.cols;
        }
        if (m_method == Method::Sheetwise)
            return out;
        // The mirror image about the usable area's centre: a trimmed span [p, p + t) from
        // the usable edge goes to [U - p - t, U - p).
        const std::size_t half = out.blocks.size();
        for (std::size_t i = 0; i < half; ++i) {
            Box m = out.blocks[i];
            if (m_method == Method::WorkAndTurn) {
                const Length pitch = m.turned ? m_r.pitchWidth : m_r.pitchLength;
                const Length trim = m.turned ? m_r.trimWidth : m_r.trimLength;
                const Length last = m.x - m_r.usableLeft + (m.cols - 1) * pitch;
                m.x = m_r.usableLeft + (m_r.usableRight - m_r.usableLeft) - last - trim;
            } else {
                const Length pitch = m.turned ? m_r.pitchLength : m_r.pitchWidth;
                const Length trim = m.turned ? m_r.trimLength : m_r.trimWidth;
                const Length last = m.y - m_r.usableTop + (m.rows - 1) * pitch;
                m.y = m_r.usableTop + (m_r.usableBottom - m_r.usableTop) - last - trim;
            }
            out.blocks.push_back(m);
        }
        out.ups *= 2;
        return out;
    }

private:
    const Result &m_r;
    Length m_bleed;
    Method m_method;
};

} // namespace

Result plan(const Input &in)
{
    Result r;
    r.sheetWidth = std::min(in.sheet1, in.sheet2);
    r.sheetLength = std::max(in.sheet1, in.sheet2);
    r.trimWidth = std::min(in.product1, in.product2);
    r.trimLength = std::max(in.product1, in.product2);
    r.pitchWidth = r.trimWidth + 2 * in.bleed + in.gap;
    r.pitchLength = r.trimLength + 2 * in.bleed + in.gap;
    const bool tumble = in.method == Method::WorkAndTumble;
    r.usableLeft = in.margin;
    r.usableRight = r.sheetLength - in.margin;
    r.usableTop = tumble ? in.gripper : in.margin;
    r.usableBottom = r.sheetWidth - in.gripper;
    r.rows[static_cast<int>(Row::Vertical)].ruledOut = in.lock == Lock::HorizontalOnly;
    r.rows[static_cast<int>(Row::Horizontal)].ruledOut = in.lock == Lock::VerticalOnly;
    r.rows[static_cast<int>(Row::Mixed)].ruledOut = in.lock != Lock::None;
    if (in.lock != Lock::None)
        r.decisive = BoundKind::Placement;

    const Length usableWidth = r.usableBottom - r.usableTop;
    const Length usableLength = r.usableRight - r.usableLeft;
    if (!inRange(in) || usableWidth <= 0 || usableLength <= 0)
        return r;

    // The area the cells are packed into: one half of the grown area for turn and tumble.
    Length across = usableWidth + in.gap;
    Length along = usableLength + in.gap;
    if (in.method == Method::WorkAndTurn)
        along /= 2;
    else if (tumble)
        across /= 2;
    const Length a = r.pitchWidth;
    const Length b = r.pitchLength;
    const std::int64_t halves = in.method == Method::Sheetwise ? 1 : 2;

    std::array<std::vector<Grid>, 3> simple = {
        single(across / a, along / b, false),
        single(across / b, along / a, true),
        in.lock == Lock::None ? mixedGrids(across, along, a, b) : std::vector<Grid>{},
    };
    if (in.lock == Lock::HorizontalOnly)
        simple[1].clear();
    if (in.lock == Lock::VerticalOnly)
        simple[0].clear();
    // The first of the simple rows with the most cells.
    std::size_t top = 0;
    for (std::size_t i = 1; i < simple.size(); ++i) {
        if (cells(simple[i]) > cells(simple[top]))
            top = i;
    }
    std::vector<Grid> best = simple[top];
    const std::int64_t simpleBest = cells(best);

    std::int64_t bound = simpleBest; // with a lock, the allowed grid is the optimum
    if (in.lock == Lock::None) {
        const CellArea area(across, along, a, b);
        const std::int64_t bounds[] = {area.areaBound(), area.barnesBound(), area.placementBound()};
        const BoundKind kinds[] = {BoundKind::Area, BoundKind::Barnes, BoundKind::Placement};
        bound = bounds[0];
        for (std::size_t i = 1; i < std::size(bounds); ++i) {
            if (bounds[i] < bound) {
                bound = bounds[i];
                r.decisive = kinds[i];
            }
        }
        if (simpleBest < bound) {
            Packing found = area.bestGuillotine(SearchSteps);
            if (found.count > simpleBest)
                best = std::move(found.grids);
            const std::int64_t count = std::max(found.count, simpleBest);
            r.proof = count == bound     ? Proof::Proven
                      : found.exhaustive ? Proof::Bounded
                                         : Proof::CutShort;
        }
    }
    r.bound = bound * halves;

    const Placer placer(r, in.bleed, in.method);
    for (std::size_t i = 0; i < simple.size(); ++i) {
        if (!r.rows[i].ruledOut)
            r.rows[i] = placer.layout(simple[i]);
    }
    r.rows[static_cast<int>(Row::Best)] = placer.layout(best);
    return r;
}

std::optional<Paper> paper(std::int64_t ups, Length sheetWidth, Length sheetLength,
                           std::int64_t copies, std::int64_t allowanceHundredthsPercent,
                           std::int64_t grammageHundredths)
{
    const auto within = [](std::int64_t v, std::int64_t lo, std::int64_t hi) {
        return v >= lo && v <= hi;
    };
    if (ups <= 0 || !within(copies, 1, MaxCopies) ||
        !within(allowanceHundredthsPercent, 0, MaxAllowance) ||
        !within(grammageHundredths, MinGrammage, MaxGrammage) ||
        !within(sheetWidth, MinSide, MaxSide) || !within(sheetLength, MinSide, MaxSide))
        return std::nullopt;
    Paper p;
    p.netSheets = copies / ups + (copies % ups != 0 ? 1 : 0);
    // At most 1e8 sheets times 1e4: well inside 64 bits.
    p.allowanceSheets = (p.netSheets * allowanceHundredthsPercent + 9'999) / 10'000;
    p.sheets = p.netSheets + p.allowanceSheets;
    // kg = sheets x (W x L / 1e10 m²) x (grammage / 100 g/m²) / 1000, so tenths of a kg are
    // sheets x W x L x grammage / 1e14. The product reaches 2e8 x 2.5e11 x 1e5 = 5e24, past
    // 64 bits; clang and gcc have 128-bit integers on every target built here, WebAssembly
    // included.
    __extension__ typedef unsigned __int128 Wide;
    constexpr Wide Tenth = 100'000'000'000'000; // 1e14
    const Wide product = static_cast<Wide>(p.sheets) * static_cast<Wide>(sheetWidth) *
                         static_cast<Wide>(sheetLength) * static_cast<Wide>(grammageHundredths);
    p.weightTenthsKg = static_cast<std::int64_t>((product + Tenth / 2) / Tenth);
    return p;
}

std::int64_t utilisationTenthsPercent(std::int64_t ups, const Result &result)
{
    if (ups <= 0 || result.sheetWidth <= 0 || result.sheetLength <= 0)
        return 0;
    // ups x w x l reaches 2.6e7 x 2.5e11, and the per-mille factor takes it past 64 bits.
    __extension__ typedef unsigned __int128 Wide;
    const Wide products = static_cast<Wide>(ups) * static_cast<Wide>(result.trimWidth) *
                          static_cast<Wide>(result.trimLength) * 1000;
    const Wide sheet = static_cast<Wide>(result.sheetWidth) * static_cast<Wide>(result.sheetLength);
    return static_cast<std::int64_t>((2 * products + sheet) / (2 * sheet));
}

} // namespace korvane::planner
