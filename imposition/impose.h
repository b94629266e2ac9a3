#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

namespace korvane::imposition {

// In the order of the arrangement drop-down's items.
enum class Arrangement
{
    HorizontalOrVertical, // whichever placement holds more
    Horizontal,
    Vertical,
    Mixed,
};

// The arrangement drop-down's items; a typed text chooses the arrangement it equals.
inline constexpr std::array<std::u16string_view, 4> ArrangementItems = {u"横排或竖排", u"横排",
                                                                        u"竖排", u"横竖混排"};

// In the order of the method drop-down's items.
enum class Method
{
    Sheetwise,
    WorkAndTurn,   // every block has an even number of columns
    WorkAndTumble, // every block has an even number of rows
};

inline constexpr std::array<std::u16string_view, 3> MethodItems = {u"大套版", u"自翻版", u"大翻版"};

// The design size of the diagram box in twips, and the envelope every sheet is fitted into.
inline constexpr int EnvelopeWidth = 3135;
inline constexpr int EnvelopeHeight = 2415;

// The four size boxes as typed, in panel order: two sheet sides, two product sides.
struct Sizes
{
    double sheet1 = 0, sheet2 = 0, product1 = 0, product2 = 0;
};

// The sheet and product ordered by side, the diagram box they are drawn in and the basic
// counts. Lengths of the diagram (wida, lena, plen, pwid, block positions) are in twips.
struct Geometry
{
    double wwid1 = 0;       // sheet width, the smaller side
    double llen1 = 0;       // sheet length, the larger side
    double wwid2 = 0;       // product width
    double llen2 = 0;       // product length
    double wida = 0;        // diagram width; the sheet length runs across
    double lena = 0;        // diagram height; the sheet width runs down
    double plen = 0;        // product length at diagram scale
    double pwid = 0;        // product width at diagram scale
    std::int64_t hrows = 0; // product length along the sheet length
    std::int64_t hcols = 0;
    std::int64_t vrows = 0; // product turned: its length along the sheet width
    std::int64_t vcols = 0;
};

enum class Placement
{
    Horizontal = 0,
    Vertical = 1
};

// One grid of identical product cells, drawn as one call of the grid routine. Blocks with
// no rows or no columns are kept: they are part of the sequence a layout draws.
struct Block
{
    std::int64_t rows = 0;
    std::int64_t cols = 0;
    Placement placement = Placement::Horizontal;
    double x = 0; // left edge, twips
    double y = 0; // top edge, twips

    bool operator==(const Block &) const = default;
};

struct Plan
{
    Geometry geometry;
    std::int32_t ups = 0;
    std::vector<Block> blocks;
};

enum class SizeBox
{
    Sheet1,
    Sheet2,
    Product1,
    Product2
};

enum class Problem
{
    NotPositive,    // zero, negative, or rounds to zero for the counts
    TooLarge,       // a size, count or the number of ups leaves the 32-bit range
    SearchTooLarge, // the mixed search would try more cuts than a press may take
};

struct SizeRefusal
{
    SizeBox box;
    Problem problem;

    bool operator==(const SizeRefusal &) const = default;
};

using ImposeOutcome = std::variant<Plan, SizeRefusal>;

// The most cuts along the sheet length that a mixed search tries. Beyond it the product is
// absurdly small for the sheet (a hundred thousand lengths in a row), and the search would
// block the window.
constexpr std::int64_t MaxMixedCuts = 100'000;

// Arrangement and method from the exact drop-down texts; false when the text is not one
// of the items, compared whole, code unit by code unit.
bool arrangementFromText(std::u16string_view text, Arrangement &out);
bool methodFromText(std::u16string_view text, Method &out);

// Orders the sides, fits the diagram box and computes the counts. Refuses sizes that are
// not positive, that round to zero, or whose rounded value leaves the 32-bit range; boxes
// are checked in panel order.
std::variant<Geometry, SizeRefusal> measure(const Sizes &sizes);

// The whole computation of one press: the blocks to draw and the number of ups.
ImposeOutcome impose(const Sizes &sizes, Method method, Arrangement arrangement);

// The trimmed products' share of the sheet, ups x product area over sheet area, in tenths of
// a percent, a half rounded up. Exact: from the sizes as held, the panel's as typed or the
// planner's whole hundredths (which doubles hold exactly), all four in one unit.
std::int64_t utilisationTenths(std::int64_t ups, const Sizes &sizes);

} // namespace korvane::imposition
