#include "tests/common/paneldriver.h"

#include <stdexcept>

namespace korvane::test {

PanelDriver::PanelDriver(const PanelSpec &panel) : m_panel(panel)
{
    for (const ControlSpec &control : panel.controls) {
        m_texts.emplace(control.name, control.text);
        m_values.emplace(control.name, control.scroll.minimum);
    }
}

const ControlSpec &PanelDriver::row(ControlName control) const
{
    const ControlSpec *found = findControl(m_panel, control);
    if (!found)
        throw std::invalid_argument("no control " + std::string(control));
    return *found;
}

void PanelDriver::enter(ControlName control, std::u16string text)
{
    const ControlKind kind = row(control).kind;
    if (kind != ControlKind::TextBox && kind != ControlKind::DropDown)
        throw std::invalid_argument("cannot type into " + std::string(control));
    m_texts.find(control)->second = std::move(text);
}

Outcome PanelDriver::press(ControlName button)
{
    if (row(button).kind != ControlKind::Button)
        throw std::invalid_argument("cannot click " + std::string(button));
    return fire(button);
}

Outcome PanelDriver::scroll(ControlName bar, int value)
{
    const ControlSpec &spec = row(bar);
    if (spec.kind != ControlKind::VScrollBar || value < spec.scroll.minimum ||
        value > spec.scroll.maximum)
        throw std::invalid_argument("cannot scroll " + std::string(bar));
    m_values.find(bar)->second = value;
    return fire(bar);
}

const std::u16string &PanelDriver::text(ControlName control) const
{
    row(control);
    return m_texts.find(control)->second;
}

std::optional<Rgb> PanelDriver::background(ControlName control) const
{
    row(control);
    const auto it = m_backgrounds.find(control);
    return it == m_backgrounds.end() ? std::nullopt : std::optional<Rgb>(it->second);
}

Outcome PanelDriver::fire(ControlName source)
{
    for (const EventSpec &event : m_panel.events) {
        if (event.source != source)
            continue;
        std::vector<Reading> readings;
        for (ControlName name : event.reads)
            readings.push_back({text(name), m_values.find(name)->second});
        Outcome outcome = event.handle(readings);
        const auto problems = checkOutcome(m_panel, outcome);
        if (!problems.empty())
            throw std::logic_error(problems.front());
        if (const auto *update = std::get_if<Update>(&outcome)) {
            if (update->drawing)
                m_drawing = update->drawing;
            for (const SetCaption &caption : update->captions)
                m_texts.find(caption.control)->second = caption.text;
            for (const SetBackground &background : update->backgrounds)
                m_backgrounds.insert_or_assign(std::string(background.control), background.colour);
        }
        return outcome;
    }
    throw std::invalid_argument(std::string(source) + " has no event");
}

} // namespace korvane::test
