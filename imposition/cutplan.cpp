#include "imposition/cutplan.h"

#include "common/numtext.h"
#include "common/wide.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

// Each kind of piece is cut once, every piece of it at one stroke, so the strokes are as few
// as the kinds that are still to cut. A piece's products are kept as grids in its own
// corner's coordinates, in one canonical form, so that identical pieces from anywhere are one
// kind. A piece is cut by the first rule that applies: the waste around its products trimmed
// (top, left, bottom, right); then a line that parts whole grids, the one nearest its middle;
// then, in a single grid, its rows (or columns) halved where their number is even and one
// taken off where it is odd, so that the halves are one kind and each level costs one cut
// (two where a gap parts the products).

namespace korvane::planner {
namespace {

struct Grid
{
    std::int64_t rows = 0, cols = 0;
    bool turned = false;
    Length x = 0, y = 0; // the trimmed corner of its first product

    auto operator<=>(const Grid &) const = default;
};

struct Piece
{
    Length width = 0, height = 0;
    std::vector<Grid> grids; // canonical

    // Written out: the standard library of the WebAssembly build has no <=> for vectors.
    bool operator<(const Piece &other) const
    {
        if (width != other.width || height != other.height)
            return std::pair(width, height) < std::pair(other.width, other.height);
        return std::lexicographical_compare(grids.begin(), grids.end(), other.grids.begin(),
                                            other.grids.end());
    }
};

// A product's trimmed size and its pitch, flat or turned, as drawn.
struct Cell
{
    Length width, height, pitchX, pitchY;
};

class Planner
{
public:
    explicit Planner(const Sheet &sheet)
        : m_flat{sheet.trimLength, sheet.trimWidth, sheet.pitchLength, sheet.pitchWidth},
          m_turned{sheet.trimWidth, sheet.trimLength, sheet.pitchWidth, sheet.pitchLength}
    {
    }

    CutPlan plan(Piece sheet)
    {
        // A sheet that is its one product, or none, takes no cut.
        if (intern(std::move(sheet)) < 0)
            return {};
        for (std::size_t next = 0; next < m_pieces.size(); ++next)
            m_cuts.push_back(cut(next));
        return ordered();
    }

private:
    struct Cut
    {
        bool across = false;
        Length at = 0;
        int first = Waste, second = Waste;
    };

    const Cell &cell(const Grid &g) const { return g.turned ? m_turned : m_flat; }
    Length right(const Grid &g) const
    {
        return g.x + (g.cols - 1) * cell(g).pitchX + cell(g).width;
    }
    Length bottom(const Grid &g) const
    {
        return g.y + (g.rows - 1) * cell(g).pitchY + cell(g).height;
    }

    // Rows of products merged where one continues another, then rows alike stacked at their
    // pitch into grids; sorted. The rows are taken a band at a time, not one by one: grids of
    // one orientation whose rows lie on the same lines (the same offset within the pitch) are
    // swept together, and between two consecutive ends of theirs every line has the same
    // runs. A band is as tall as a grid's rows at most, so the sweep costs no more than the
    // rows would, and far less for the tall grids of small products.
    std::vector<Grid> canonical(std::vector<Grid> grids) const
    {
        if (grids.size() <= 1)
            return grids;
        const auto offset = [this](const Grid &g) {
            const Length pitch = cell(g).pitchY;
            return (g.y % pitch + pitch) % pitch;
        };
        const auto line = [&](const Grid &g) { return (g.y - offset(g)) / cell(g).pitchY; };
        std::sort(grids.begin(), grids.end(), [&](const Grid &a, const Grid &b) {
            return std::tuple(a.turned, offset(a), line(a)) <
                   std::tuple(b.turned, offset(b), line(b));
        });
        std::vector<Grid> runs;
        std::vector<std::int64_t> ends;
        std::vector<Grid> active;
        for (auto group = grids.begin(); group != grids.end();) {
            const auto last = std::find_if(group, grids.end(), [&](const Grid &g) {
                return g.turned != group->turned || offset(g) != offset(*group);
            });
            const Length pitch = cell(*group).pitchY;
            const Length first = offset(*group);
            ends.clear();
            for (auto g = group; g != last; ++g) {
                ends.push_back(line(*g));
                ends.push_back(line(*g) + g->rows);
            }
            std::sort(ends.begin(), ends.end());
            ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
            active.clear();
            auto next = group; // the grids in the order their first lines come
            for (std::size_t band = 0; band + 1 < ends.size(); ++band) {
                const std::int64_t top = ends[band], height = ends[band + 1] - top;
                std::erase_if(active, [&](const Grid &g) { return line(g) + g.rows <= top; });
                for (; next != last && line(*next) == top; ++next)
                    active.push_back(*next);
                std::sort(active.begin(), active.end(),
                          [](const Grid &a, const Grid &b) { return a.x < b.x; });
                const std::size_t from = runs.size();
                for (const Grid &g : active) {
                    Grid *run = runs.size() > from ? &runs.back() : nullptr;
                    if (run && run->x + run->cols * cell(g).pitchX == g.x)
                        run->cols += g.cols;
                    else
                        runs.push_back({height, g.cols, g.turned, g.x, first + top * pitch});
                }
            }
            group = last;
        }
        std::sort(runs.begin(), runs.end(), [](const Grid &a, const Grid &b) {
            return std::tie(a.turned, a.x, a.cols, a.y) < std::tie(b.turned, b.x, b.cols, b.y);
        });
        std::vector<Grid> out;
        for (const Grid &r : runs) {
            Grid *last = out.empty() ? nullptr : &out.back();
            if (last && last->turned == r.turned && last->x == r.x && last->cols == r.cols &&
                last->y + last->rows * cell(r).pitchY == r.y)
                last->rows += r.rows;
            else
                out.push_back(r);
        }
        std::sort(out.begin(), out.end(), [](const Grid &a, const Grid &b) {
            return std::tie(a.y, a.x, a.turned, a.rows, a.cols) <
                   std::tie(b.y, b.x, b.turned, b.rows, b.cols);
        });
        return out;
    }

    // The kind of a piece: a product or waste where it is one, else the kind it is, new or not.
    int intern(Piece piece)
    {
        if (piece.grids.empty())
            return Waste;
        const Grid &g = piece.grids.front();
        if (piece.grids.size() == 1 && g.rows == 1 && g.cols == 1 && g.x == 0 && g.y == 0 &&
            cell(g).width == piece.width && cell(g).height == piece.height)
            return Product;
        piece.grids = canonical(std::move(piece.grids));
        const auto [at, added] = m_kinds.try_emplace(piece, int(m_pieces.size()));
        if (added)
            m_pieces.push_back(piece);
        return at->second;
    }

    // The two parts of `piece` either side of a cut `at` from its top (across) or left edge,
    // each with the products on its side, moved to its own corner. The cut passes between
    // products: a grid it crosses is parted between two of its rows (or columns).
    Cut split(const Piece &piece, bool across, Length at)
    {
        Piece first{across ? piece.width : at, across ? at : piece.height, {}};
        Piece second{
            across ? piece.width : piece.width - at, across ? piece.height - at : piece.height, {}};
        for (const Grid &g : piece.grids) {
            const Length pitch = across ? cell(g).pitchY : cell(g).pitchX;
            const Length size = across ? cell(g).height : cell(g).width;
            const Length start = across ? g.y : g.x;
            const std::int64_t n = across ? g.rows : g.cols;
            // The rows ending by the cut.
            const std::int64_t before =
                at < start + size ? 0 : std::min(n, (at - start - size) / pitch + 1);
            Grid head = g, tail = g;
            (across ? head.rows : head.cols) = before;
            (across ? tail.rows : tail.cols) = n - before;
            (across ? tail.y : tail.x) += before * pitch - at;
            if (before > 0)
                first.grids.push_back(head);
            if (before < n)
                second.grids.push_back(tail);
        }
        return {across, at, intern(std::move(first)), intern(std::move(second))};
    }

    // Where a line parts the products, across (at a height) or down (at a width): the end of
    // those before it, nearest the middle of the piece. Between whole grids, or, `fine`,
    // between any of their rows and columns. Nothing where none does.
    std::optional<Cut> partingLine(const Piece &piece, bool fine)
    {
        std::optional<std::pair<Length, bool>> best; // the place and whether across
        Length bestDistance = 0;
        for (const bool across : {true, false}) {
            std::vector<std::pair<Length, Length>> spans;
            for (const Grid &g : piece.grids) {
                const Length pitch = across ? cell(g).pitchY : cell(g).pitchX;
                const Length size = across ? cell(g).height : cell(g).width;
                const Length start = across ? g.y : g.x;
                const std::int64_t n = across ? g.rows : g.cols;
                if (!fine)
                    spans.push_back({start, start + (n - 1) * pitch + size});
                for (std::int64_t i = 0; fine && i < n; ++i)
                    spans.push_back({start + i * pitch, start + i * pitch + size});
            }
            std::sort(spans.begin(), spans.end());
            Length reach = spans.front().second;
            const Length middle = (across ? piece.height : piece.width) / 2;
            for (std::size_t i = 1; i < spans.size(); ++i) {
                if (spans[i].first >= reach) {
                    const Length distance = reach > middle ? reach - middle : middle - reach;
                    if (!best || distance < bestDistance) {
                        best = {reach, across};
                        bestDistance = distance;
                    }
                }
                reach = std::max(reach, spans[i].second);
            }
        }
        if (!best)
            return std::nullopt;
        return split(piece, best->second, best->first);
    }

    Cut cut(std::size_t index)
    {
        const Piece piece = m_pieces[index]; // a copy: interning grows the list
        Length top = piece.height, left = piece.width, bottomEdge = 0, rightEdge = 0;
        for (const Grid &g : piece.grids) {
            top = std::min(top, g.y);
            left = std::min(left, g.x);
            bottomEdge = std::max(bottomEdge, bottom(g));
            rightEdge = std::max(rightEdge, right(g));
        }
        if (top > 0)
            return split(piece, true, top);
        if (left > 0)
            return split(piece, false, left);
        if (bottomEdge < piece.height)
            return split(piece, true, bottomEdge);
        if (rightEdge < piece.width)
            return split(piece, false, rightEdge);
        if (piece.grids.size() > 1) {
            const auto line = partingLine(piece, false);
            return line ? *line : *partingLine(piece, true);
        }
        // One grid: its rows, else its columns, halved where there are an even number of
        // them, else all but the last apart from it.
        const Grid &g = piece.grids.front();
        const bool across = g.rows > 1;
        const std::int64_t n = across ? g.rows : g.cols;
        const std::int64_t head = n % 2 == 0 ? n / 2 : n - 1;
        return split(piece, across,
                     (across ? g.y : g.x) +
                         (head - 1) * (across ? cell(g).pitchY : cell(g).pitchX) +
                         (across ? cell(g).height : cell(g).width));
    }

    // The strokes largest piece first, so that every piece of a kind is there when it is cut;
    // the kinds renumbered in the order they come off.
    CutPlan ordered() const
    {
        std::vector<int> order(m_pieces.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const Wide128 areaA =
                Wide128(m_pieces[std::size_t(a)].width) * m_pieces[std::size_t(a)].height;
            const Wide128 areaB =
                Wide128(m_pieces[std::size_t(b)].width) * m_pieces[std::size_t(b)].height;
            return areaA > areaB;
        });
        CutPlan plan;
        std::vector<int> name(m_pieces.size(), Waste);
        std::vector<std::int64_t> count(m_pieces.size(), 0);
        std::vector<std::vector<std::pair<Length, Length>>> places(m_pieces.size());
        const auto named = [&](int kind) {
            if (kind < 0)
                return kind;
            if (name[std::size_t(kind)] == Waste) {
                name[std::size_t(kind)] = int(plan.kinds.size());
                plan.kinds.push_back(
                    {m_pieces[std::size_t(kind)].width, m_pieces[std::size_t(kind)].height});
            }
            return name[std::size_t(kind)];
        };
        named(0);
        count[0] = 1;
        places[0] = {{0, 0}};
        for (const int kind : order) {
            const Cut &c = m_cuts[std::size_t(kind)];
            auto &here = places[std::size_t(kind)];
            for (const auto &[part, dx, dy] :
                 {std::tuple{c.first, Length(0), Length(0)},
                  std::tuple{c.second, c.across ? 0 : c.at, c.across ? c.at : 0}}) {
                if (part < 0)
                    continue;
                count[std::size_t(part)] += count[std::size_t(kind)];
                auto &there = places[std::size_t(part)];
                for (std::size_t i = 0; i < here.size() && there.size() < MaxPlaces; ++i)
                    there.push_back({here[i].first + dx, here[i].second + dy});
            }
            plan.strokes.push_back({named(kind), count[std::size_t(kind)], c.across, c.at,
                                    named(c.first), named(c.second), std::move(here)});
        }
        return plan;
    }

    Cell m_flat, m_turned;
    std::map<Piece, int> m_kinds;
    std::vector<Piece> m_pieces; // by the order they were found
    std::vector<Cut> m_cuts;     // the cut of each
};

} // namespace

CutPlan cutPlan(const Sheet &sheet, const Layout &layout)
{
    if (layout.ups <= 0)
        return {};
    Piece whole{sheet.length, sheet.width, {}};
    for (const Box &b : layout.blocks)
        whole.grids.push_back({b.rows, b.cols, b.turned, b.x, b.y});
    return Planner(sheet).plan(std::move(whole));
}

std::u16string kindName(int kind)
{
    std::u16string name;
    for (int n = kind + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), char16_t(u'A' + (n - 1) % 26));
    return name;
}

std::vector<std::u16string> cutSteps(const CutPlan &plan)
{
    const auto length = [](Length value) { return formatFixed(value, 2, true); };
    const auto part = [](int kind) -> std::u16string {
        return kind == Product ? u"成品" : kind == Waste ? u"废料" : kindName(kind);
    };
    if (plan.strokes.empty())
        return {};
    std::vector<std::u16string> lines(1);
    for (std::size_t i = 0; i < plan.kinds.size(); ++i)
        lines.front() += (i > 0 ? u"，" : u"") + kindName(int(i)) + u" " +
                         length(plan.kinds[i].width) + u" × " + length(plan.kinds[i].height);
    for (std::size_t n = 0; n < plan.strokes.size(); ++n) {
        const Stroke &s = plan.strokes[n];
        lines.push_back(u"第 " + formatCount(std::int64_t(n) + 1) + u" 刀：" + kindName(s.kind) +
                        u" ×" + formatCount(s.count) + (s.across ? u"，距上边 " : u"，距左边 ") +
                        length(s.at) + (s.across ? u" 横切" : u" 竖切") + u"，得 " + part(s.first) +
                        u" 和 " + part(s.second));
    }
    return lines;
}

} // namespace korvane::planner
