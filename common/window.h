#pragma once

#include "common/panel.h"

#include <span>

namespace korvane {

struct Tab
{
    std::u16string_view caption;
    const PanelTable *panel;
};

// A window of panels stacked under a tab strip, on the strip's client rectangle. A tab
// brings its panel to the front; the panels behind keep everything they show and are never
// hidden, disabled or cleared.
struct WindowDescription
{
    ControlName name;
    std::u16string_view caption;
    int clientWidth; // twips
    int clientHeight;
    ControlName tabStrip;
    TwipsRect tabStripRect;
    // The panel array, one member a tab: the panel of tab i (0-based) has index i.
    ControlName panelArray;
    std::span<const Tab> tabs;
    // The window's font; a label with no font of its own uses it too.
    Typeface font;
    // The language of its texts, as a locale name: the toolkit's own dialogs speak it too.
    std::string_view language;
};

} // namespace korvane
