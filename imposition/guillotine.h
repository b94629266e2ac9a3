#pragma once

#include <cstdint>
#include <limits>
#include <vector>

// Identical cells packed into a rectangular area: the best layout a guillotine can cut, and
// upper bounds that hold for every layout. Lengths are whole units (the planner passes
// hundredths of a millimetre); only integers are used. The area's sides are "across" and
// "along"; a cell a × b lies flat with its side a across and b along, or turned, b across
// and a along.

namespace korvane::planner {

// A grid of rows (across) × cols (along) cells of one placement; its first cell's corner
// at the offsets from the area's corner, across then along as everywhere here.
struct Grid
{
    std::int64_t rows = 0, cols = 0;
    bool turned = false;
    std::int64_t across = 0, along = 0;

    bool operator==(const Grid &) const = default;
};

struct Packing
{
    std::int64_t count = 0;
    // True when the search covered every guillotine layout, so `count` is the optimum.
    bool exhaustive = false;
    std::vector<Grid> grids; // disjoint, none empty; their cells add up to count
};

// An upper bound that does not apply.
inline constexpr std::int64_t NoBound = std::numeric_limits<std::int64_t>::max();

// The lengths whole cells fill exactly along one side of the area: the sums i*a + j*b up to
// its extent, 0 among them. Any layout can be pushed towards the area's corner until
// every cell touches an edge or another cell, and then every cell edge lies at such a length.
class FillableLengths
{
public:
    FillableLengths(std::int64_t extent, std::int64_t a, std::int64_t b);

    // The longest within v, for 0 <= v <= the extent.
    std::int64_t within(std::int64_t v) const;
    // The shortest longer than v, for 0 <= v; -1 past the extent.
    std::int64_t after(std::int64_t v) const;

private:
    std::int64_t m_unit;               // gcd(a, b): every fillable length is a multiple of it
    std::int64_t m_steps;              // whole units in the extent
    std::int64_t m_denseFrom;          // units from which on every multiple is fillable
    std::int64_t m_listed;             // units below this are in m_bits: min(steps + 1, denseFrom)
    std::vector<std::uint64_t> m_bits; // bit u: u units are fillable
};

class CellArea
{
public:
    // Sides and cells must be positive; the count of cells in the area (across / a times
    // along / a) must stay below 2^30, which the planner's size ranges keep far from.
    CellArea(std::int64_t across, std::int64_t along, std::int64_t a, std::int64_t b);

    // The fillable lengths X* and Y* (the longest sums of cell sides within each side)
    // multiplied and divided by the cell's area.
    std::int64_t areaBound() const;
    // Every cell is b bars 1 × a, and also a bars 1 × b; a layout leaves uncovered at least
    // the least waste of either bar packing (Barnes), in the area or the fillable lengths.
    std::int64_t barnesBound() const;
    // When only one placement fits the area at all, its grid is the optimum; otherwise
    // NoBound.
    std::int64_t placementBound() const;

    // The most cells any guillotine layout (cuts from edge to edge, any depth) holds. A
    // search that would take more than `workLimit` steps is narrowed to the cuts near the
    // area's edges, which still gives a valid layout but proves nothing.
    Packing bestGuillotine(std::int64_t workLimit) const;

private:
    std::int64_t m_across;
    std::int64_t m_along;
    std::int64_t m_a;
    std::int64_t m_b;
    FillableLengths m_fillAcross;
    FillableLengths m_fillAlong;
};

} // namespace korvane::planner
