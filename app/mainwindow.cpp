#include "app/mainwindow.h"

#include "app/aboutpanel.h"
#include "app/version.h"
#include "calculators/grammagepanel.h"
#include "calculators/spinepanel.h"
#include "colour/colourpanel.h"
#include "imposition/impositionpanel.h"

namespace korvane {
namespace {

// clang-format off
constexpr Tab Tabs[] = {
    {u"开版图",   &impositionPanel},
    {u"克重换算", &grammagePanel},
    {u"书脊",     &spinePanel},
    {u"配色",     &colourPanel},
    {u"关于..",   &aboutPanel},
};
// clang-format on

} // namespace

const WindowDescription mainWindow{
    .name = "main",
    .caption = ProductName,
    .clientWidth = 5370,
    .clientHeight = 4005,
    .tabStrip = "TabStrip1",
    .tabStripRect = {240, 240, 4935, 3615},
    .panelArray = "Frame1",
    .tabs = Tabs,
    .font = {u"宋体", 9},
    .language = "zh_CN",
};

} // namespace korvane
