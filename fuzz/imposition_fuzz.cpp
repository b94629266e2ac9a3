// Fuzzes the imposition core: four sizes from raw bytes, every method with every
// arrangement.
//
// Input: for each size box in panel order, a tag byte choosing how the value is encoded,
// then its payload; bytes past the end read as zero. The encodings reach whole numbers of
// every range, fractions with halves, negative numbers, and raw doubles (NaN, infinities,
// subnormals, huge values).
//
// Checked for each of the twelve combinations: refusals follow the size rules and the box
// order of the panel; the counts are the integer divisions of the ordered sides; a plan
// draws exactly the products it counts, in blocks of no negative size, with the evened
// count of its method, and with whole sizes every block lies inside the sheet and no two
// blocks overlap; the mixed arrangement holds at least what either single placement
// holds; and the fast mixed searches choose what the literal scans choose wherever a scan
// is affordable.

#include "fuzz/property.h"
#include "imposition/impose.h"
#include "imposition/search.h"
#include "tests/imposition/reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <variant>

// Names this target in the reports of violated properties.
#define FUZZ_TARGET_NAME "imposition"

namespace {

using namespace korvane::imposition;

// Sums and products of counts that may exceed 64 bits when the core is wrong.
__extension__ typedef __int128 Wide;

using korvane::fuzz::g_input;

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

// The literal scans run only where they cost fewer count evaluations than this, which keeps
// one input well under a second even with the sanitizers.
constexpr std::int64_t ScanBudget = 100'000;

class Reader
{
public:
    Reader(const std::uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    std::uint64_t little(int bytes)
    {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= static_cast<std::uint64_t>(byte()) << (8 * i);
        return v;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

constexpr std::array<double, 28> EdgeValues = {
    0.0,
    -0.0,
    std::numeric_limits<double>::quiet_NaN(),
    -std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::denorm_min(),
    -std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::min(),
    std::numeric_limits<double>::max(),
    -std::numeric_limits<double>::max(),
    0.49999999999999994,
    0.5,
    0.5000000000000001,
    1.5,
    2.5,
    2147483646.5,
    2147483647.0,
    2147483647.4,
    2147483647.5,
    2147483648.0,
    4611686018427387904.0, // 2^62
    4611686018427386880.0, // the double below 2^62
    1e300,
    46340,
    46341,
    99999,
    100000,
};

double readSize(Reader &in)
{
    const std::uint8_t tag = in.byte();
    switch (tag % 8) {
    case 0: {
        const std::uint64_t bits = in.little(8);
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    case 1:
        return static_cast<double>(in.byte());
    case 2:
        return static_cast<double>(in.little(2));
    case 3:
        return static_cast<double>(in.little(4));
    case 4: // whole part and a fraction in 32nds, halves included
        return static_cast<double>(in.little(2)) + (tag >> 3) / 32.0;
    case 5:
        return -static_cast<double>(in.little(2));
    case 6:
        return EdgeValues[in.byte() % EdgeValues.size()];
    default:
        return static_cast<double>(in.little(2)) / 256.0;
    }
}

std::string describe(const Sizes &s)
{
    std::array<char, 160> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.17g %.17g %.17g %.17g", s.sheet1, s.sheet2,
                  s.product1, s.product2);
    return buffer.data();
}

constexpr std::array<Method, 3> Methods = {Method::Sheetwise, Method::WorkAndTurn,
                                           Method::WorkAndTumble};
constexpr std::array<Arrangement, 4> Arrangements = {Arrangement::HorizontalOrVertical,
                                                     Arrangement::Horizontal, Arrangement::Vertical,
                                                     Arrangement::Mixed};

std::string comboName(Method m, Arrangement a)
{
    return "method " + std::to_string(static_cast<int>(m)) + " arrangement " +
           std::to_string(static_cast<int>(a));
}

// The panel's size rules, written directly: each box in order must hold a positive value
// that rounds (half to even, the default rounding mode) to a whole number from 1 to the
// largest 32-bit integer.
std::optional<SizeRefusal> expectedRefusal(const Sizes &s)
{
    const std::array<std::pair<double, SizeBox>, 4> boxes = {{{s.sheet1, SizeBox::Sheet1},
                                                              {s.sheet2, SizeBox::Sheet2},
                                                              {s.product1, SizeBox::Product1},
                                                              {s.product2, SizeBox::Product2}}};
    for (const auto &[value, box] : boxes) {
        if (!(value > 0))
            return SizeRefusal{box, Problem::NotPositive};
        const double rounded = std::nearbyint(value);
        if (rounded == 0)
            return SizeRefusal{box, Problem::NotPositive};
        if (rounded > static_cast<double>(Int32Max))
            return SizeRefusal{box, Problem::TooLarge};
    }
    return std::nullopt;
}

std::int64_t wholeDiv(double a, double b)
{
    return static_cast<std::int64_t>(std::nearbyint(a)) /
           static_cast<std::int64_t>(std::nearbyint(b));
}

std::int64_t evenDown(std::int64_t n)
{
    return n - n % 2;
}

void checkGeometry(const Sizes &s, const Geometry &g)
{
    EXPECT_PROPERTY(g.wwid1 == std::min(s.sheet1, s.sheet2), "");
    EXPECT_PROPERTY(g.llen1 == std::max(s.sheet1, s.sheet2), "");
    EXPECT_PROPERTY(g.wwid2 == std::min(s.product1, s.product2), "");
    EXPECT_PROPERTY(g.llen2 == std::max(s.product1, s.product2), "");
    EXPECT_PROPERTY(g.hrows == wholeDiv(g.wwid1, g.wwid2), "");
    EXPECT_PROPERTY(g.hcols == wholeDiv(g.llen1, g.llen2), "");
    EXPECT_PROPERTY(g.vrows == wholeDiv(g.wwid1, g.llen2), "");
    EXPECT_PROPERTY(g.vcols == wholeDiv(g.llen1, g.wwid2), "");
    // The diagram fills the envelope along one side and keeps the sheet's proportions.
    EXPECT_PROPERTY(g.wida > 0 && g.wida <= 3135, std::to_string(g.wida));
    EXPECT_PROPERTY(g.lena > 0 && g.lena <= 2415, std::to_string(g.lena));
    EXPECT_PROPERTY(g.wida == 3135 || g.lena == 2415, "");
    EXPECT_PROPERTY(std::isfinite(g.plen) && g.plen > 0 && std::isfinite(g.pwid) && g.pwid > 0, "");
}

struct Extent
{
    double left, top, right, bottom;
};

Extent extentOf(const Block &b, const Geometry &g)
{
    const bool flat = b.placement == Placement::Horizontal;
    const double cw = flat ? g.plen : g.pwid;
    const double ch = flat ? g.pwid : g.plen;
    return {b.x, b.y, b.x + static_cast<double>(b.cols) * cw,
            b.y + static_cast<double>(b.rows) * ch};
}

void checkPlan(const Plan &plan, const Geometry &g, Method method, Arrangement arrangement,
               bool wholeSizes)
{
    const std::string where = comboName(method, arrangement);
    const std::size_t expectedBlocks = arrangement != Arrangement::Mixed ? 1
                                       : method == Method::Sheetwise     ? 4
                                                                         : 2;
    EXPECT_PROPERTY(plan.blocks.size() == expectedBlocks, where);
    EXPECT_PROPERTY(plan.ups >= 0, where);

    Wide cells = 0;
    for (const Block &b : plan.blocks) {
        EXPECT_PROPERTY(b.rows >= 0 && b.cols >= 0, where);
        cells += static_cast<Wide>(b.rows) * b.cols;
        if (method == Method::WorkAndTurn)
            EXPECT_PROPERTY(b.cols % 2 == 0, where);
        if (method == Method::WorkAndTumble)
            EXPECT_PROPERTY(b.rows % 2 == 0, where);
    }
    EXPECT_PROPERTY(cells == plan.ups, where + " ups " + std::to_string(plan.ups));

    if (!wholeSizes)
        return;
    // With whole sizes no rounding lets a product stick out: every drawn block lies in the
    // sheet, and blocks do not overlap (touching edges aside).
    const double slackX = g.wida * 1e-9;
    const double slackY = g.lena * 1e-9;
    for (std::size_t i = 0; i < plan.blocks.size(); ++i) {
        const Block &b = plan.blocks[i];
        if (b.rows == 0 || b.cols == 0)
            continue;
        const Extent e = extentOf(b, g);
        const std::string block = where + " block " + std::to_string(i + 1);
        EXPECT_PROPERTY(e.left >= 0 && e.top >= 0, block);
        EXPECT_PROPERTY(e.right <= g.wida + slackX, block);
        EXPECT_PROPERTY(e.bottom <= g.lena + slackY, block);
        for (std::size_t j = 0; j < i; ++j) {
            const Block &o = plan.blocks[j];
            if (o.rows == 0 || o.cols == 0)
                continue;
            const Extent f = extentOf(o, g);
            const bool apart = e.right <= f.left + slackX || f.right <= e.left + slackX ||
                               e.bottom <= f.top + slackY || f.bottom <= e.top + slackY;
            EXPECT_PROPERTY(apart, block + " overlaps block " + std::to_string(j + 1));
        }
    }
}

// The single placements written out directly: each count evened where the method needs it.
struct Single
{
    Wide horizontal;
    Wide vertical;
};

Single singleUps(const Geometry &g, Method method)
{
    const bool evenRows = method == Method::WorkAndTumble;
    const bool evenCols = method == Method::WorkAndTurn;
    const auto ups = [&](std::int64_t rows, std::int64_t cols) {
        return static_cast<Wide>(evenRows ? evenDown(rows) : rows) *
               (evenCols ? evenDown(cols) : cols);
    };
    return {ups(g.hrows, g.hcols), ups(g.vrows, g.vcols)};
}

void checkSingle(const Plan &plan, const Geometry &g, Method method, Arrangement arrangement)
{
    const Single single = singleUps(g, method);
    const Wide expected = arrangement == Arrangement::Horizontal ? single.horizontal
                          : arrangement == Arrangement::Vertical ? single.vertical
                          : single.horizontal > single.vertical  ? single.horizontal
                                                                 : single.vertical;
    EXPECT_PROPERTY(plan.ups == expected, comboName(method, arrangement));
    const bool horizontal =
        arrangement == Arrangement::Horizontal ||
        (arrangement == Arrangement::HorizontalOrVertical && single.horizontal > single.vertical);
    EXPECT_PROPERTY((plan.blocks[0].placement == Placement::Horizontal) == horizontal,
                    comboName(method, arrangement));
}

bool mixedScanAffordable(const Geometry &g)
{
    return g.hcols < ScanBudget && (g.hcols + 1) * (g.hrows + g.vrows + 2) < ScanBudget;
}

bool bandScanAffordable(const Geometry &g, Method method)
{
    return (method == Method::WorkAndTurn ? g.hrows : g.hcols) < ScanBudget;
}

void checkSearches(const Geometry &g)
{
    if (mixedScanAffordable(g)) {
        const MixedChoice fast = searchMixed(g);
        const MixedChoice slow = reference::scanMixed(g);
        EXPECT_PROPERTY(fast.ups == slow.ups && fast.mixcols == slow.mixcols &&
                            fast.mixrows == slow.mixrows && fast.mixturns == slow.mixturns,
                        "fast " + std::to_string(fast.ups) + "/" + std::to_string(fast.mixcols) +
                            "/" + std::to_string(fast.mixrows) + "/" +
                            std::to_string(fast.mixturns) + " slow " + std::to_string(slow.ups) +
                            "/" + std::to_string(slow.mixcols) + "/" +
                            std::to_string(slow.mixrows) + "/" + std::to_string(slow.mixturns));
    }
    for (Method m : {Method::WorkAndTurn, Method::WorkAndTumble}) {
        if (!bandScanAffordable(g, m))
            continue;
        const BandChoice fast = searchBands(g, m);
        const BandChoice slow = reference::scanBands(g, m);
        EXPECT_PROPERTY(fast.ups == slow.ups && fast.kbest == slow.kbest &&
                            fast.band2 == slow.band2,
                        comboName(m, Arrangement::Mixed) + " fast " + std::to_string(fast.ups) +
                            "/" + std::to_string(fast.kbest) + " slow " + std::to_string(slow.ups) +
                            "/" + std::to_string(slow.kbest));
    }
}

// The exact number of ups of a mixed layout, when a scan can afford to find it.
std::optional<Wide> scannedMixedUps(const Geometry &g, Method method)
{
    if (method == Method::Sheetwise)
        return mixedScanAffordable(g) ? std::optional<Wide>(reference::scanMixed(g).ups)
                                      : std::nullopt;
    return bandScanAffordable(g, method) ? std::optional<Wide>(reference::scanBands(g, method).ups)
                                         : std::nullopt;
}

void checkOutcome(const ImposeOutcome &outcome, const Geometry &g, Method method, Arrangement arrangement,
                  bool wholeSizes)
{
    const std::string where = comboName(method, arrangement);
    const Single single = singleUps(g, method);
    const Wide atLeast = std::max(single.horizontal, single.vertical);

    if (const auto *refusal = std::get_if<SizeRefusal>(&outcome)) {
        // Sizes that pass the rules are refused only for the product being too small for
        // the sheet: too many ups, or too many cuts for the mixed search.
        EXPECT_PROPERTY(refusal->box == SizeBox::Product1, where);
        if (refusal->problem == Problem::SearchTooLarge) {
            EXPECT_PROPERTY(arrangement == Arrangement::Mixed && method != Method::WorkAndTurn &&
                                g.hcols >= MaxMixedCuts,
                            where);
            return;
        }
        EXPECT_PROPERTY(refusal->problem == Problem::TooLarge, where);
        if (arrangement != Arrangement::Mixed) {
            const Wide ups = arrangement == Arrangement::Horizontal ? single.horizontal
                             : arrangement == Arrangement::Vertical ? single.vertical
                                                                    : atLeast;
            EXPECT_PROPERTY(ups > Int32Max, where);
        } else if (atLeast <= Int32Max) {
            // A mixed layout holds at least either single placement, so a refusal below that
            // is justified only by the search's own total.
            const auto scanned = scannedMixedUps(g, method);
            if (scanned)
                EXPECT_PROPERTY(*scanned > Int32Max, where);
        }
        return;
    }

    const Plan &plan = std::get<Plan>(outcome);
    const Geometry &p = plan.geometry;
    EXPECT_PROPERTY(p.wwid1 == g.wwid1 && p.llen1 == g.llen1 && p.wwid2 == g.wwid2 &&
                        p.llen2 == g.llen2 && p.wida == g.wida && p.lena == g.lena &&
                        p.hrows == g.hrows && p.hcols == g.hcols && p.vrows == g.vrows &&
                        p.vcols == g.vcols,
                    where);
    checkPlan(plan, g, method, arrangement, wholeSizes);
    if (arrangement != Arrangement::Mixed) {
        checkSingle(plan, g, method, arrangement);
        return;
    }
    EXPECT_PROPERTY(plan.ups >= atLeast, where);
    EXPECT_PROPERTY(!(method != Method::WorkAndTurn && g.hcols >= MaxMixedCuts), where);
    if (const auto scanned = scannedMixedUps(g, method))
        EXPECT_PROPERTY(plan.ups == *scanned, where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Reader in(data, size);
    Sizes sizes;
    sizes.sheet1 = readSize(in);
    sizes.sheet2 = readSize(in);
    sizes.product1 = readSize(in);
    sizes.product2 = readSize(in);
    g_input = describe(sizes);

    const std::optional<SizeRefusal> refused = expectedRefusal(sizes);
    const auto measured = measure(sizes);
    if (refused) {
        EXPECT_PROPERTY(std::holds_alternative<SizeRefusal>(measured), "measure");
        EXPECT_PROPERTY(std::get<SizeRefusal>(measured) == *refused, "measure");
        for (Method m : Methods) {
            for (Arrangement a : Arrangements) {
                const ImposeOutcome outcome = impose(sizes, m, a);
                EXPECT_PROPERTY(std::holds_alternative<SizeRefusal>(outcome), comboName(m, a));
                EXPECT_PROPERTY(std::get<SizeRefusal>(outcome) == *refused, comboName(m, a));
            }
        }
        return 0;
    }

    EXPECT_PROPERTY(std::holds_alternative<Geometry>(measured), "measure");
    const Geometry &g = std::get<Geometry>(measured);
    checkGeometry(sizes, g);

    const bool wholeSizes = sizes.sheet1 == std::floor(sizes.sheet1) &&
                            sizes.sheet2 == std::floor(sizes.sheet2) &&
                            sizes.product1 == std::floor(sizes.product1) &&
                            sizes.product2 == std::floor(sizes.product2);
    for (Method m : Methods) {
        for (Arrangement a : Arrangements)
            checkOutcome(impose(sizes, m, a), g, m, a, wholeSizes);
    }
    checkSearches(g);
    return 0;
}
