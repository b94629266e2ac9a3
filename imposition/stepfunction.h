#pragma once

// The maximum of a dot product over the points of a non-increasing step function, found
// without scanning every point: while the function stays constant the dot product grows
// with the count, so only the last count of each run of equal values can hold a maximum,
// and a maximum with non-negative weights lies on the upper hull of those run ends, where a
// binary search finds the first one. Collinear hull points are kept, so the first maximum
// is also the smallest count among equals. Both mixed searches, the main panel's and the
// planner's, are scans of this kind.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvane::imposition {

struct Point
{
    std::int64_t x; // the searched count (k, r or t)
    std::int64_t y; // the value of the step function there
};

// Visits the run ends of a non-increasing step function f on [0, n] in ascending order.
template <typename F, typename Visit> void forEachRunEnd(std::int64_t n, F f, Visit visit)
{
    std::int64_t i = 0;
    std::int64_t v = f(0);
    while (i <= n) {
        std::int64_t lo = i; // f(lo) == v
        std::int64_t step = 1;
        std::int64_t beyond = -1; // f at lo + step once the gallop overshoots
        while (lo + step <= n) {
            const std::int64_t probe = f(lo + step);
            if (probe < v) {
                beyond = probe;
                break;
            }
            lo += step;
            step *= 2;
        }
        std::int64_t hi = std::min(n, lo + step - 1); // f(hi + 1) < v, or hi == n
        while (lo < hi) {
            const std::int64_t mid = lo + (hi - lo + 1) / 2;
            if (f(mid) >= v)
                lo = mid;
            else
                hi = mid - 1;
        }
        visit(Point{lo, v});
        i = lo + 1;
        // A run of one: the overshooting probe was the next value already.
        v = (step == 1 && beyond >= 0) ? beyond : (i <= n ? f(i) : 0);
    }
}

// Upper hull of the run ends of f, keeping points that lie on a hull edge.
template <typename F> std::vector<Point> upperHull(std::int64_t n, F f)
{
    std::vector<Point> hull;
    forEachRunEnd(n, f, [&](const Point &p) {
        while (hull.size() >= 2) {
            const Point &o = hull[hull.size() - 2];
            const Point &a = hull.back();
            const std::int64_t cross = (a.x - o.x) * (p.y - o.y) - (a.y - o.y) * (p.x - o.x);
            if (cross <= 0)
                break;
            hull.pop_back();
        }
        hull.push_back(p);
    });
    return hull;
}

// The first hull point where a*x + c*y is largest, for a > 0 and c >= 0.
inline const Point &firstMaximum(const std::vector<Point> &hull, std::int64_t a, std::int64_t c)
{
    std::size_t lo = 0;
    std::size_t hi = hull.size() - 1;
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        const std::int64_t rise =
            a * (hull[mid + 1].x - hull[mid].x) + c * (hull[mid + 1].y - hull[mid].y);
        if (rise <= 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return hull[lo];
}

} // namespace korvane::imposition
