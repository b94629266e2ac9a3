#pragma once

// Everyday press sheets and finished sizes in whole millimetres, shorter side first: the
// planner's tests and its benchmark run every sheet with every product. And the planner's
// worst inputs in range, which its benchmark times and its tests check as any other.

#include "imposition/planner.h"

namespace korvane::cases {

struct MmSize
{
    int width;
    int length;
};

// clang-format off
inline constexpr MmSize TradeSheets[] = {
    {787, 1092}, {889, 1194}, {850, 1168}, {880, 1230}, {700, 1000},
    {720, 1020}, {640, 900},  {520, 740},  {393, 546},  {444, 597},
};
inline constexpr MmSize TradeProducts[] = {
    {210, 297}, {148, 210}, {185, 260}, {210, 285}, {130, 184}, {54, 90},   {100, 148}, {297, 420},
    {216, 303}, {154, 216}, {191, 266}, {216, 291}, {60, 96},   {130, 190}, {100, 140}, {110, 220},
};
// clang-format on

struct PlannerCase
{
    const char *name;
    planner::Input input;
};

constexpr planner::Input onFullSheet(planner::Length w, planner::Length l, planner::Length bleed,
                                     planner::Length gap, imposition::Method method)
{
    return {500'000, 500'000, w, l, bleed, gap, 0, 0, method};
}

// clang-format off
inline constexpr PlannerCase WorstPlannerCases[] = {
    {"1 x 1 mm on 5000 x 5000", onFullSheet(100, 100, 0, 0, imposition::Method::Sheetwise)},
    {"5000 x 1 mm on 5000 x 5000", onFullSheet(500'000, 100, 0, 0, imposition::Method::Sheetwise)},
    // Cells of 1.02 x 1.04 mm: raster points every 0.02 mm, a quarter of a million a side.
    {"1.01 x 1.03 mm, gap 0.01", onFullSheet(101, 103, 0, 1, imposition::Method::Sheetwise)},
    {"1.01 x 1.03 mm, gap 0.01, tumble", onFullSheet(101, 103, 0, 1, imposition::Method::WorkAndTumble)},
    // Coprime cells of 7 mm: every length is fillable only from 4893 mm on; below, a sieve.
    {"6.99 x 7 mm, gap 0.01", onFullSheet(699, 700, 0, 1, imposition::Method::Sheetwise)},
    {"5.38 x 8.21 mm, bleed 0.01", onFullSheet(538, 821, 1, 0, imposition::Method::Sheetwise)},
    // The slowest found among thousands of random inputs in range: two searched in full just
    // within the work limit, one cut short.
    {"9.69 x 14.56 mm, bleed 18.74, turn", {257'392, 209'413, 969, 1456, 1874, 0, 5933, 5811, imposition::Method::WorkAndTurn}},
    {"13.43 x 11.19 mm, bleed 9.99, gap 25.48, tumble", {495'039, 106'203, 1343, 1119, 999, 2548, 0, 6272, imposition::Method::WorkAndTumble}},
    {"12.56 x 2.67 mm, gap 48.25", {148'597, 194'538, 1256, 267, 0, 4825, 0, 0, imposition::Method::Sheetwise}},
    {"54 x 90 mm, bleed 0.01, on 889 x 1194", {88'900, 119'400, 5400, 9000, 1, 0, 0, 0, imposition::Method::Sheetwise}},
};
// clang-format on

} // namespace korvane::cases
