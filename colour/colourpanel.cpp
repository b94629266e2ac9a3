#include "colour/colourpanel.h"

#include "colour/mixer.h"
#include "common/numtext.h"

#include <array>

namespace korvane {
namespace {

using namespace colour;

// clang-format off
using K = ControlKind;
// An arrow steps a component by 1, a click on the track by 10.
constexpr ScrollRange Component{0, 255, 1, 10};
// Until its first change a tint box shows the system window colour.
constexpr Colour Untouched{Colour::Role::Window};
constexpr Colour Black = Colour::fixed({0, 0, 0});

constexpr ControlRow Controls[] = {
    {K::AutoLabel,  "Label1",   {600, 360, 360, 180},   u"红色"},
    {K::AutoLabel,  "Label32",  {600, 600, 90, 180},    u"0"},
    {K::VScrollBar, "VScroll1", {1200, 360, 255, 1215}, {}, {}, Component},
    {K::PictureBox, "Picture2", {360, 840, 735, 735},   {}, {}, {}, Untouched},
    {K::AutoLabel,  "Label2",   {1920, 360, 360, 180},  u"绿色"},
    {K::AutoLabel,  "Label34",  {1920, 600, 90, 180},   u"0"},
    {K::VScrollBar, "VScroll2", {2640, 360, 255, 1215}, {}, {}, Component},
    {K::PictureBox, "Picture3", {1800, 840, 735, 735},  {}, {}, {}, Untouched},
    {K::AutoLabel,  "Label3",   {3360, 360, 360, 180},  u"蓝色"},
    {K::AutoLabel,  "Label35",  {3480, 600, 90, 180},   u"0"},
    {K::VScrollBar, "VScroll3", {4080, 360, 255, 1215}, {}, {}, Component},
    {K::PictureBox, "Picture4", {3240, 840, 735, 735},  {}, {}, {}, Untouched},
    {K::PictureBox, "Picture5", {360, 1920, 3975, 855}, u"混合色", {}, {}, Black},
};

// Each scroll bar with the value label and the tint box it writes.
struct Column
{
    ControlName bar;
    ControlName value;
    ControlName tint;
    Primary primary;
};
constexpr std::array<Column, 3> Columns = {{
    {"VScroll1", "Label32", "Picture2", Primary::Red},
    {"VScroll2", "Label34", "Picture3", Primary::Green},
    {"VScroll3", "Label35", "Picture4", Primary::Blue},
}};

constexpr ControlName RedTitled[] = {"VScroll1", "Picture2", "Label32"};
constexpr ControlName GreenTitled[] = {"VScroll2", "Picture3", "Label34"};
constexpr ControlName BlueTitled[] = {"VScroll3", "Picture4", "Label35"};
constexpr Title Titles[] = {
    {"Label1", RedTitled},
    {"Label2", GreenTitled},
    {"Label3", BlueTitled},
};
// clang-format on

constexpr ControlName Bars[] = {Columns[0].bar, Columns[1].bar, Columns[2].bar};

// The scroll values are 16-bit; the range 0..255 always fits.
std::int16_t valueOf(const Reading &reading)
{
    return static_cast<std::int16_t>(reading.value);
}

// The change of scroll bar `Index`: its value label and tint box, then the mixed colour of
// all three values.
template <std::size_t Index> Outcome change(std::span<const Reading> readings)
{
    const Column &column = Columns[Index];
    const std::int16_t value = valueOf(readings[Index]);
    return Update{.captions = {{column.value, formatCount(value)}},
                  .backgrounds = {{column.tint, Colour::fixed(tint(column.primary, value))},
                                  {"Picture5", Colour::fixed(mix(valueOf(readings[0]),
                                                                 valueOf(readings[1]),
                                                                 valueOf(readings[2])))}}};
}

constexpr Event Events[] = {
    {Columns[0].bar, Bars, change<0>},
    {Columns[1].bar, Bars, change<1>},
    {Columns[2].bar, Bars, change<2>},
};

} // namespace

const PanelTable colourPanel{Controls, Titles, Events};

} // namespace korvane
