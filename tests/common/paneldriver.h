#pragma once

#include "common/panel.h"

#include <map>
#include <optional>
#include <string>

namespace korvane::test {

// A panel without a window: its controls' texts, values and colours as a front end would
// hold them, starting from the table. Events run the panel's handlers and apply their
// updates; refusals change nothing. A name the panel lacks throws, as does an outcome that
// names a control of the wrong kind.
class PanelDriver
{
public:
    explicit PanelDriver(const PanelSpec &panel);

    // Types into a text box or a drop-down box.
    void enter(ControlName control, std::u16string text);
    // Clicks a button.
    Outcome press(ControlName button);
    // Moves a scroll bar, which fires its change.
    Outcome scroll(ControlName bar, int value);

    // A label's caption, a text box's or drop-down box's text.
    const std::u16string &text(ControlName control) const;
    // A picture box's colour; nullopt while it shows the table's initial colour.
    std::optional<Rgb> background(ControlName control) const;
    // What the diagram shows; nullopt before the first drawing.
    const std::optional<Drawing> &drawing() const { return m_drawing; }

private:
    const ControlSpec &row(ControlName control) const;
    Outcome fire(ControlName source);

    const PanelSpec &m_panel;
    std::map<std::string, std::u16string, std::less<>> m_texts;
    std::map<std::string, int, std::less<>> m_values;
    std::map<std::string, Rgb, std::less<>> m_backgrounds;
    std::optional<Drawing> m_drawing;
};

} // namespace korvane::test
