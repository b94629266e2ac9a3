#pragma once

#include "common/panel.h"

#include <span>

namespace korvane {

// A window's settings: the name the toolkit keeps them under, and what the bytes kept give its
// controls before anything else happens: texts, and captions shown once the window is filled.
struct WindowSettings
{
    std::string_view name;
    Update (*read)(std::string_view bytes);
};

struct Tab
{
    std::u16string_view caption;
    const PanelTable *panel;
};

// A window of panels. With a tab strip, the panels lie stacked on the strip's client
// rectangle, a tab brings its panel to the front, and the panels behind keep everything they
// show: they are never hidden, disabled or cleared. Without one (an empty `tabStrip`), the
// window has a single panel that fills its client area and follows its size.
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
    const WindowSettings *settings = nullptr;

    bool tabbed() const { return !tabStrip.empty(); }
};

} // namespace korvane
