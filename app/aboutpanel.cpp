#include "app/aboutpanel.h"

#include "app/version.h"

namespace korvane {
namespace {

// clang-format off
using K = ControlKind;
constexpr Typeface TitleFont{u"黑体", 15};

constexpr ControlRow Controls[] = {
    {K::Image,     "Image1",  {240, 360, 1200, 1185}, u"product"},
    {K::AutoLabel, "Label49", {1680, 360, 1500, 300}, ProductName, {}, {},
     {Colour::Role::ActiveBorder}, {Colour::Role::Highlight}, &TitleFont},
    {K::AutoLabel, "Label52", {1680, 1200, 900, 180}, VersionCaption},
};
// clang-format on

} // namespace

const PanelTable aboutPanel{Controls, {}, {}};

} // namespace korvane
