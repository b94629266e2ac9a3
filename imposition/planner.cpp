#include "imposition/planner.h"

#include "imposition/guillotine.h"
#include "imposition/search.h"

#include <algorithm>

// Cells: each product takes its trimmed size plus a bleed on both sides plus one gap, so
// neighbouring cells leave exactly one gap between their bleeds. The cells are packed into
// the sheet's packing area (Sheet::across by Sheet::along); work-and-turn and work-and-tumble
// lay out one half and mirror it into the other.

namespace korvane::planner {
namespace {

using imposition::Method;

// The four-block family in whole cells a (across) by b (along) when flat, its empty blocks
// left out.
std::vector<Grid> mixedGrids(std::int64_t across, std::int64_t along, std::int64_t a,
                             std::int64_t b)
{
    const imposition::MixedChoice m =
        imposition::searchFourBlocks(across, along, a, b, [&](std::int64_t length, bool alongB) {
            return length / (alongB ? b : a);
        });
    const std::int64_t cut = m.mixcols * b;
    const std::int64_t corners[][2] = {{0, 0}, {m.mixrows * a, 0}, {0, cut}, {m.mixturns * b, cut}};
    std::vector<Grid> grids;
    for (std::size_t i = 0; i < m.blocks.size(); ++i) {
        const auto [rows, cols] = m.blocks[i];
        if (rows > 0 && cols > 0)
            grids.push_back({rows, cols, i == 1 || i == 2, corners[i][0], corners[i][1]});
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

// The grids of every layout in the packing area, and how far the best one is proven.
struct Search
{
    std::array<std::vector<Grid>, LayoutKinds> grids;
    std::int64_t bound = 0;
    Proof proof = Proof::Proven;
    BoundKind decisive = BoundKind::Area;
};

// The lowest of the bounds, the first of equals; with a lock, the grid it allows.
void bound(Search &search, const CellArea &area, std::int64_t simpleBest, Lock lock)
{
    if (lock != Lock::None) {
        search.bound = simpleBest;
        search.decisive = BoundKind::OnePlacement;
        return;
    }
    const std::pair<std::int64_t, BoundKind> bounds[] = {
        {area.areaBound(), BoundKind::Area},
        {area.barnesBound(), BoundKind::Barnes},
        {area.placementBound(), BoundKind::OnePlacement},
    };
    search.bound = bounds[0].first;
    for (const auto &[value, kind] : bounds) {
        if (value < search.bound) {
            search.bound = value;
            search.decisive = kind;
        }
    }
}

Search search(const Sheet &sheet, Lock lock)
{
    Search found;
    const Length across = sheet.across, along = sheet.along;
    const Length a = sheet.pitchWidth, b = sheet.pitchLength;
    auto &grids = found.grids;
    if (lock != Lock::VerticalOnly)
        grids[std::size_t(LayoutKind::Horizontal)] = single(across / a, along / b, false);
    if (lock != Lock::HorizontalOnly)
        grids[std::size_t(LayoutKind::Vertical)] = single(across / b, along / a, true);
    if (lock == Lock::None)
        grids[std::size_t(LayoutKind::Mixed)] = mixedGrids(across, along, a, b);
    // The first of the simple layouts with the most cells.
    std::size_t top = 0;
    for (std::size_t i = 1; i < std::size_t(LayoutKind::Best); ++i)
        if (cells(grids[i]) > cells(grids[top]))
            top = i;
    std::vector<Grid> &best = grids[std::size_t(LayoutKind::Best)];
    best = grids[top];
    const std::int64_t simpleBest = cells(best);

    const CellArea area(across, along, a, b);
    bound(found, area, simpleBest, lock);
    if (lock == Lock::None && simpleBest < found.bound) {
        Packing packed = area.bestGuillotine(SearchSteps);
        if (packed.count > simpleBest)
            best = std::move(packed.grids);
        const std::int64_t count = std::max(packed.count, simpleBest);
        found.proof = count == found.bound ? Proof::Proven
                      : packed.exhaustive  ? Proof::Bounded
                                           : Proof::CutShort;
    }
    found.bound *= sheet.halves();
    return found;
}

// The grids of one half (or of the whole area for sheetwise) placed on the sheet, and for turn
// and tumble their mirror image about the usable area's centre: a trimmed span [p, p + t)
// from the usable edge goes to [U - p - t, U - p).
Layout placed(const Sheet &sheet, const std::vector<Grid> &grids)
{
    Layout out;
    for (const Grid &g : grids) {
        out.blocks.push_back({g.rows, g.cols, g.turned, sheet.usableLeft + g.along + sheet.bleed,
                              sheet.usableTop + g.across + sheet.bleed});
        out.ups += g.rows * g.cols;
    }
    if (sheet.method == Method::Sheetwise)
        return out;
    const std::size_t half = out.blocks.size();
    for (std::size_t i = 0; i < half; ++i) {
        Box m = out.blocks[i];
        if (sheet.method == Method::WorkAndTurn) {
            const Length pitch = m.turned ? sheet.pitchWidth : sheet.pitchLength;
            const Length trim = m.turned ? sheet.trimWidth : sheet.trimLength;
            const Length last = m.x - sheet.usableLeft + (m.cols - 1) * pitch;
            m.x = sheet.usableRight - last - trim;
        } else {
            const Length pitch = m.turned ? sheet.pitchLength : sheet.pitchWidth;
            const Length trim = m.turned ? sheet.trimLength : sheet.trimWidth;
            const Length last = m.y - sheet.usableTop + (m.rows - 1) * pitch;
            m.y = sheet.usableBottom - last - trim;
        }
        out.blocks.push_back(m);
    }
    out.ups *= 2;
    return out;
}

} // namespace

Sheet sheetOf(const Input &in)
{
    const bool tumble = in.method == Method::WorkAndTumble;
    Sheet s{
        .width = std::min(in.sheet1, in.sheet2),
        .length = std::max(in.sheet1, in.sheet2),
        .trimWidth = std::min(in.product1, in.product2),
        .trimLength = std::max(in.product1, in.product2),
        .bleed = in.bleed,
        .usableLeft = in.margin,
        .usableTop = tumble ? in.gripper : in.margin,
        .method = in.method,
    };
    s.pitchWidth = s.trimWidth + 2 * in.bleed + in.gap;
    s.pitchLength = s.trimLength + 2 * in.bleed + in.gap;
    s.usableRight = s.length - in.margin;
    s.usableBottom = s.width - in.gripper;
    s.across = (s.usableBottom - s.usableTop + in.gap) / (tumble ? 2 : 1);
    s.along = (s.usableRight - s.usableLeft + in.gap) / (in.method == Method::WorkAndTurn ? 2 : 1);
    return s;
}

Result plan(const Input &in)
{
    Result r;
    r.sheet = sheetOf(in);
    r.layouts[std::size_t(LayoutKind::Vertical)].ruledOut = in.lock == Lock::HorizontalOnly;
    r.layouts[std::size_t(LayoutKind::Horizontal)].ruledOut = in.lock == Lock::VerticalOnly;
    r.layouts[std::size_t(LayoutKind::Mixed)].ruledOut = in.lock != Lock::None;
    if (in.lock != Lock::None)
        r.decisive = BoundKind::OnePlacement;
    if (!inRange(in) || !r.sheet.usable())
        return r;
    const Search found = search(r.sheet, in.lock);
    for (std::size_t i = 0; i < LayoutKinds; ++i)
        if (!r.layouts[i].ruledOut)
            r.layouts[i] = placed(r.sheet, found.grids[i]);
    r.bound = found.bound;
    r.proof = found.proof;
    r.decisive = found.decisive;
    return r;
}

std::int64_t utilisationTenths(std::int64_t ups, const Sheet &sheet)
{
    return imposition::utilisationTenths(ups, {double(sheet.width), double(sheet.length),
                                               double(sheet.trimWidth), double(sheet.trimLength)});
}

} // namespace korvane::planner
