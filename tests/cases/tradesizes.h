#pragma once

// Everyday press sheets and finished sizes in whole millimetres, shorter side first: the
// planner's tests and its benchmark run every sheet with every product.

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

} // namespace korvane::cases
