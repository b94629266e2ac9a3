#include "imposition/guillotine.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <tuple>

// The search is the classic recursion over guillotine cuts: the best count of an area is
// its best single grid, or the best over every cut of the sum of the two parts. It only
// needs lengths that are "raster points" (Christofides and Whitlock, Scheithauer): push a
// layout towards the area's corner until every cell touches an edge or another cell, and
// every cell edge lies at a fillable length n (a sum of cell sides); a part cut off the far
// side then needs only its own longest fillable length, so every part has a side of the
// form <E - n>, the longest fillable length within E - n. Cuts are taken at those points
// only, the smaller part first, and parts are rounded down to them. Counts fit 32 bits,
// which keeps the table small.

namespace korvane::planner {
namespace {

using Points = std::vector<std::int64_t>;

// The largest n whose square a 64-bit signed integer holds.
constexpr std::int64_t LargestSquareRoot = 3'037'000'499;

// Raster points, the lengths <E - n> for fillable n, walked from both ends up to `most` of
// each: the shortest (strips at an edge) ascending, the longest (the rest of the area beside
// them) descending. Each step jumps straight to the next distinct point. `complete` when the
// shortest reached <E>, so that they are all the raster points; 0 is always one, as E - <E>
// is shorter than any cell.
struct RasterEnds
{
    Points shortest;
    Points longest;
    bool complete = false;

    RasterEnds(const FillableLengths &f, std::int64_t extent, std::size_t most)
    {
        // After r, the next point needs E - n to reach the next fillable length, and the
        // longest such n gives the shortest point.
        for (std::int64_t r = 0;;) {
            shortest.push_back(r);
            const std::int64_t next = f.after(r);
            if (next < 0) {
                complete = true;
                break;
            }
            if (shortest.size() == most)
                break;
            r = f.within(extent - f.within(extent - next));
        }
        // Before r, the next point needs n beyond E - r.
        for (std::int64_t r = f.within(extent); longest.size() < most;) {
            longest.push_back(r);
            const std::int64_t n = f.after(extent - r);
            if (n < 0)
                break;
            r = f.within(extent - n);
        }
    }

    // The k shortest and the k longest, ascending.
    Points take(std::size_t k) const
    {
        Points out(shortest.begin(),
                   shortest.begin() + static_cast<std::ptrdiff_t>(std::min(k, shortest.size())));
        for (std::size_t i = std::min(k, longest.size()); i-- > 0;)
            out.push_back(longest[i]);
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        return out;
    }
};

// For every point, the cuts no longer than half of it (before dropping repeats).
std::int64_t cutCount(const Points &p)
{
    std::int64_t total = 0;
    std::size_t m = 1;
    for (const std::int64_t x : p) {
        while (m < p.size() && 2 * p[m] <= x)
            ++m;
        total += static_cast<std::int64_t>(m) - 1;
    }
    return total;
}

// Steps of the search: every cut of every point, once for each point of the other side.
std::int64_t searchSteps(const Points &p, const Points &q)
{
    const auto np = static_cast<std::int64_t>(p.size());
    const auto nq = static_cast<std::int64_t>(q.size());
    return cutCount(p) * nq + cutCount(q) * np + np * nq;
}

// The least area left uncovered when 1 x n bars, either way round, are packed into
// p x q (Barnes 1979): with r = p mod n and s = q mod n, min(rs, (n - r)(n - s)) once both
// sides reach n. A side shorter than n takes bars only the other way, and each of its
// lines wastes q mod n.
std::int64_t barWaste(std::int64_t p, std::int64_t q, std::int64_t n)
{
    if (p < n && q < n)
        return p * q;
    if (p < n)
        return p * (q % n);
    if (q < n)
        return q * (p % n);
    const std::int64_t r = p % n;
    const std::int64_t s = q % n;
    return std::min(r * s, (n - r) * (n - s));
}

// Calls f(piece, rest) for the cuts of point i: each piece (an index) no longer than half
// of it, with the longest point that fits beside it as the rest. Of pieces with the same
// rest only the longest is given, as it holds at least as much.
template <typename F> void forEachCut(const Points &p, std::size_t i, F f)
{
    std::size_t r = i, piece = 0, rest = 0;
    for (std::size_t m = 1; m < p.size() && 2 * p[m] <= p[i]; ++m) {
        while (p[r] > p[i] - p[m])
            --r;
        if (piece != 0 && r != rest)
            f(piece, rest);
        piece = m;
        rest = r;
    }
    if (piece != 0)
        f(piece, rest);
}

struct Cut
{
    std::int32_t piece;
    std::int32_t rest;
};

// The table of best counts over the points p (across) and q (along); flat cells are a
// across and b along.
class Search
{
public:
    Search(Points p, Points q, std::int64_t a, std::int64_t b)
        : m_p(std::move(p)), m_q(std::move(q)), m_a(a), m_b(b)
    {
        // The cuts along are used for every row, so they are listed once; the cuts across
        // only for their own row.
        m_qStart.push_back(0);
        for (std::size_t j = 0; j < m_q.size(); ++j) {
            forEachCut(m_q, j, [&](std::size_t piece, std::size_t rest) {
                m_qCuts.push_back(
                    {static_cast<std::int32_t>(piece), static_cast<std::int32_t>(rest)});
            });
            m_qStart.push_back(m_qCuts.size());
        }
        fill();
    }

    std::int64_t best() const { return at(m_p.size() - 1, m_q.size() - 1); }

    // The grids of the best layout, walking back down the cuts that gave each count. A
    // single grid is preferred to cuts of the same count, so grids stay few.
    std::vector<Grid> grids() const
    {
        struct Node
        {
            std::size_t i, j;
            std::int64_t across, along;
        };
        std::vector<Grid> out;
        std::vector<Node> stack = {{m_p.size() - 1, m_q.size() - 1, 0, 0}};
        while (!stack.empty()) {
            const Node n = stack.back();
            stack.pop_back();
            const std::int32_t v = at(n.i, n.j);
            if (v == 0)
                continue;
            const std::int64_t x = m_p[n.i], y = m_q[n.j];
            if ((x / m_a) * (y / m_b) == v) {
                out.push_back({x / m_a, y / m_b, false, n.across, n.along});
                continue;
            }
            if ((x / m_b) * (y / m_a) == v) {
                out.push_back({x / m_b, y / m_a, true, n.across, n.along});
                continue;
            }
            bool found = false;
            forEachCut(m_p, n.i, [&](std::size_t piece, std::size_t rest) {
                if (!found && at(piece, n.j) + at(rest, n.j) == v) {
                    stack.push_back({piece, n.j, n.across, n.along});
                    stack.push_back({rest, n.j, n.across + m_p[piece], n.along});
                    found = true;
                }
            });
            for (std::size_t k = m_qStart[n.j]; k < m_qStart[n.j + 1] && !found; ++k) {
                const Cut c = m_qCuts[k];
                if (at(n.i, c.piece) + at(n.i, c.rest) == v) {
                    stack.push_back({n.i, std::size_t(c.piece), n.across, n.along});
                    stack.push_back({n.i, std::size_t(c.rest), n.across, n.along + m_q[c.piece]});
                    found = true;
                }
            }
        }
        return out;
    }

private:
    // Rows are padded to whole vectors of four counts.
    using Lanes = std::int32_t __attribute__((vector_size(16)));
    static constexpr std::size_t Width = 4;

    std::int32_t at(std::size_t i, std::size_t j) const { return m_f[i * m_stride + j]; }

    // row = max(row, piece + rest), four counts at a time: the maximum is taken with a mask,
    // which needs only SSE2 (and becomes plain code where there are no vectors).
    static void takeLarger(std::int32_t *row, const std::int32_t *piece, const std::int32_t *rest,
                           std::size_t n)
    {
        for (std::size_t j = 0; j < n; j += Width) {
            Lanes r, p, q;
            std::memcpy(&r, row + j, sizeof r);
            std::memcpy(&p, piece + j, sizeof p);
            std::memcpy(&q, rest + j, sizeof q);
            const Lanes sum = p + q;
            r ^= (r ^ sum) & (sum > r);
            std::memcpy(row + j, &r, sizeof r);
        }
    }

    // Rows in ascending order: a row's cuts across use shorter rows, finished already; its
    // cuts along use shorter columns of the same row, finished earlier in the row.
    void fill()
    {
        const std::size_t nq = m_q.size();
        m_stride = (nq + Width - 1) / Width * Width;
        m_f.assign(m_p.size() * m_stride, 0);
        std::vector<std::int32_t> flatCols(nq), turnedCols(nq);
        for (std::size_t j = 0; j < nq; ++j) {
            flatCols[j] = static_cast<std::int32_t>(m_q[j] / m_b);
            turnedCols[j] = static_cast<std::int32_t>(m_q[j] / m_a);
        }
        for (std::size_t i = 0; i < m_p.size(); ++i) {
            std::int32_t *row = &m_f[i * m_stride];
            const auto flatRows = static_cast<std::int32_t>(m_p[i] / m_a);
            const auto turnedRows = static_cast<std::int32_t>(m_p[i] / m_b);
            for (std::size_t j = 0; j < nq; ++j)
                row[j] = std::max(flatRows * flatCols[j], turnedRows * turnedCols[j]);
            forEachCut(m_p, i, [&](std::size_t piece, std::size_t rest) {
                takeLarger(row, &m_f[piece * m_stride], &m_f[rest * m_stride], m_stride);
            });
            for (std::size_t j = 0; j < nq; ++j) {
                std::int32_t best = row[j];
                for (std::size_t k = m_qStart[j]; k < m_qStart[j + 1]; ++k)
                    best = std::max(best, row[m_qCuts[k].piece] + row[m_qCuts[k].rest]);
                row[j] = best;
            }
        }
    }

    Points m_p;
    Points m_q;
    std::int64_t m_a;
    std::int64_t m_b;
    std::vector<Cut> m_qCuts; // the cuts of q[j] are m_qCuts[m_qStart[j] .. m_qStart[j + 1])
    std::vector<std::size_t> m_qStart;
    std::size_t m_stride = 0;
    std::vector<std::int32_t> m_f;
};

// One pass of joinGrids along one axis: grids of one placement that share a band (the same
// `at` and `count` across it) and meet end to end along it become one. True when any did.
bool joinAlong(std::vector<Grid> &grids, std::int64_t Grid::*at, std::int64_t Grid::*count,
               std::int64_t Grid::*from, std::int64_t Grid::*length, std::int64_t pitch,
               std::int64_t turnedPitch)
{
    std::sort(grids.begin(), grids.end(), [&](const Grid &l, const Grid &r) {
        return std::tie(l.turned, l.*at, l.*count, l.*from) <
               std::tie(r.turned, r.*at, r.*count, r.*from);
    });
    bool joined = false;
    std::vector<Grid> out;
    for (const Grid &g : grids) {
        Grid *last = out.empty() ? nullptr : &out.back();
        if (last && last->turned == g.turned && last->*at == g.*at && last->*count == g.*count &&
            last->*from + last->*length * (g.turned ? turnedPitch : pitch) == g.*from) {
            last->*length += g.*length;
            joined = true;
        } else {
            out.push_back(g);
        }
    }
    grids = std::move(out);
    return joined;
}

// Joins grids of one placement that continue each other, side by side or stacked, so a
// layout comes back in few blocks.
void joinGrids(std::vector<Grid> &grids, std::int64_t a, std::int64_t b)
{
    // A cell is a across and b along, or b across and a along when turned.
    for (bool joined = true; joined;) {
        joined = joinAlong(grids, &Grid::across, &Grid::rows, &Grid::along, &Grid::cols, b, a);
        joined |= joinAlong(grids, &Grid::along, &Grid::cols, &Grid::across, &Grid::rows, a, b);
    }
}

} // namespace

FillableLengths::FillableLengths(std::int64_t extent, std::int64_t a, std::int64_t b)
    : m_unit(std::gcd(a, b)), m_steps(extent / m_unit)
{
    const std::int64_t sa = std::min(a, b) / m_unit;
    const std::int64_t sb = std::max(a, b) / m_unit;
    // Every whole number from (sa - 1)(sb - 1) on is a sum of sa's and sb's (Sylvester), so
    // only the lengths below it are listed; a large extent of small cells is mostly dense.
    m_denseFrom = (sa - 1) * (sb - 1);
    m_listed = std::min(m_steps + 1, m_denseFrom);
    if (m_listed <= 0)
        return;
    const std::int64_t last = m_listed - 1;
    m_bits.assign(static_cast<std::size_t>(last / 64) + 2, 0);
    m_bits[0] = 1;
    const auto set = [&](std::int64_t u) {
        m_bits[static_cast<std::size_t>(u / 64)] |= std::uint64_t{1} << (u % 64);
    };
    // Few sums (large cells) are listed directly.
    if ((last / sb + 1) * (last / sa + 2) / 2 * 16 < last) {
        for (std::int64_t j = 0; j * sb <= last; ++j) {
            for (std::int64_t u = j * sb; u <= last; u += sa)
                set(u);
        }
        return;
    }
    // Otherwise a sieve. With both steps at least 64 a whole word of lengths comes from two
    // earlier stretches of 64 bits at once.
    const auto stretch = [&](std::int64_t from) -> std::uint64_t {
        if (from <= -64)
            return 0;
        if (from < 0)
            return m_bits[0] << -from;
        const auto w = static_cast<std::size_t>(from / 64);
        const int shift = static_cast<int>(from % 64);
        return shift == 0 ? m_bits[w] : m_bits[w] >> shift | m_bits[w + 1] << (64 - shift);
    };
    if (sa >= 64) {
        for (std::int64_t w = 1; w <= last / 64; ++w)
            m_bits[static_cast<std::size_t>(w)] = stretch(64 * w - sa) | stretch(64 * w - sb);
    } else {
        for (std::int64_t u = 1; u <= last; ++u) {
            if ((stretch(u - sa) | stretch(u - sb)) & 1)
                set(u);
        }
    }
    m_bits[static_cast<std::size_t>(last / 64)] &= ~std::uint64_t{0} >> (63 - last % 64);
}

std::int64_t FillableLengths::within(std::int64_t v) const
{
    const std::int64_t u = v / m_unit;
    if (u >= m_listed)
        return (u >= m_denseFrom ? u : m_listed - 1) * m_unit;
    // The highest bit at or below u; bit 0 is always set.
    auto w = static_cast<std::size_t>(u / 64);
    std::uint64_t word = m_bits[w] & (~std::uint64_t{0} >> (63 - u % 64));
    while (word == 0)
        word = m_bits[--w];
    return (static_cast<std::int64_t>(w) * 64 + 63 - std::countl_zero(word)) * m_unit;
}

std::int64_t FillableLengths::after(std::int64_t v) const
{
    std::int64_t u = v / m_unit + 1;
    if (u > m_steps)
        return -1;
    if (u < m_listed) {
        // The lowest bit at or above u among the listed ones.
        auto w = static_cast<std::size_t>(u / 64);
        std::uint64_t word = m_bits[w] & (~std::uint64_t{0} << (u % 64));
        const auto end = static_cast<std::size_t>((m_listed - 1) / 64);
        while (word == 0 && w < end)
            word = m_bits[++w];
        if (word != 0)
            return (static_cast<std::int64_t>(w) * 64 + std::countr_zero(word)) * m_unit;
        u = m_listed;
    }
    return u >= m_denseFrom && u <= m_steps ? u * m_unit : -1;
}

CellArea::CellArea(std::int64_t across, std::int64_t along, std::int64_t a, std::int64_t b)
    : m_across(across), m_along(along), m_a(a), m_b(b), m_fillAcross(across, a, b),
      m_fillAlong(along, a, b)
{
}

std::int64_t CellArea::areaBound() const
{
    return m_fillAcross.within(m_across) * m_fillAlong.within(m_along) / (m_a * m_b);
}

std::int64_t CellArea::barnesBound() const
{
    std::int64_t best = NoBound;
    for (const std::int64_t p : {m_across, m_fillAcross.within(m_across)}) {
        for (const std::int64_t q : {m_along, m_fillAlong.within(m_along)}) {
            const std::int64_t waste = std::max(barWaste(p, q, m_a), barWaste(p, q, m_b));
            best = std::min(best, (p * q - waste) / (m_a * m_b));
        }
    }
    return best;
}

std::int64_t CellArea::placementBound() const
{
    const std::int64_t flat = (m_across / m_a) * (m_along / m_b);
    const std::int64_t turned = (m_across / m_b) * (m_along / m_a);
    const bool flatFits = flat > 0;
    const bool turnedFits = turned > 0;
    // With one placement fixed the grid is the optimum.
    if (!turnedFits)
        return flat;
    if (!flatFits)
        return turned;
    return NoBound;
}

Packing CellArea::bestGuillotine(std::int64_t workLimit) const
{
    // A side with more raster points than the square root of the limit is not searched in
    // full: the search takes about n^2 / 4 steps over n points, once for each point of the
    // other side. Only the points from its ends are listed, then.
    std::int64_t most = 1;
    for (std::int64_t hi = LargestSquareRoot; most < hi;) {
        const std::int64_t mid = most + (hi - most + 1) / 2;
        if (mid <= workLimit / mid)
            most = mid;
        else
            hi = mid - 1;
    }
    ++most;
    const RasterEnds across(m_fillAcross, m_across, static_cast<std::size_t>(most));
    const RasterEnds along(m_fillAlong, m_along, static_cast<std::size_t>(most));
    Packing out;
    Points p, q;
    if (across.complete && along.complete) {
        p = across.shortest;
        q = along.shortest;
        out.exhaustive = searchSteps(p, q) <= workLimit;
    }
    if (!out.exhaustive) {
        // The most points from the ends whose search stays within the limit.
        std::size_t lo = 1, hi = std::max(across.shortest.size(), along.shortest.size());
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo + 1) / 2;
            if (searchSteps(across.take(mid), along.take(mid)) <= workLimit)
                lo = mid;
            else
                hi = mid - 1;
        }
        p = across.take(lo);
        q = along.take(lo);
    }
    // The cuts across run over whole rows at once, the cuts along one count at a time, so
    // the side with more cut steps goes across: the transposed area has the same cells with
    // flat and turned exchanged.
    const bool transpose = cutCount(q) * static_cast<std::int64_t>(p.size()) >
                           cutCount(p) * static_cast<std::int64_t>(q.size());
    if (transpose) {
        const Search search(std::move(q), std::move(p), m_a, m_b);
        out.count = search.best();
        for (const Grid &g : search.grids())
            out.grids.push_back({g.cols, g.rows, !g.turned, g.along, g.across});
    } else {
        const Search search(std::move(p), std::move(q), m_a, m_b);
        out.count = search.best();
        out.grids = search.grids();
    }
    joinGrids(out.grids, m_a, m_b);
    return out;
}

} // namespace korvane::planner
