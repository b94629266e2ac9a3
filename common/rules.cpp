#include "common/rules.h"

#include <algorithm>

namespace korvane {

char16_t upperCase(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

Behaviour behaviourOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextBox:
    case ControlKind::DropDown:
        return {.takesFocus = true, .selectsAllOnTab = true};
    case ControlKind::List:
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
    case ControlKind::VScrollBar:
        return {.takesFocus = true};
    case ControlKind::Label:
    case ControlKind::AutoLabel:
    case ControlKind::PictureBox:
    case ControlKind::Diagram:
    case ControlKind::Image:
        break;
    }
    return {};
}

int scrolledTo(const ScrollRange &range, int value, ScrollRequest request, int thumb)
{
    switch (request) {
    case ScrollRequest::LineUp:
        value -= range.smallStep;
        break;
    case ScrollRequest::LineDown:
        value += range.smallStep;
        break;
    case ScrollRequest::PageUp:
        value -= range.largeStep;
        break;
    case ScrollRequest::PageDown:
        value += range.largeStep;
        break;
    case ScrollRequest::ThumbDragged:
        break;
    case ScrollRequest::ThumbReleased:
        value = thumb;
        break;
    case ScrollRequest::Top:
        value = range.minimum;
        break;
    case ScrollRequest::Bottom:
        value = range.maximum;
        break;
    }
    return std::clamp(value, range.minimum, range.maximum);
}

std::vector<ControlRef> focusCycle(const WindowDescription &window, int front)
{
    std::vector<ControlRef> cycle;
    if (window.tabbed())
        cycle.push_back({NoPanel, window.tabStrip});
    if (front < 0 || std::size_t(front) >= window.tabs.size())
        return cycle;
    for (const ControlRow &row : window.tabs[std::size_t(front)].panel->controls)
        if (behaviourOf(row.kind).takesFocus)
            cycle.push_back({front, row.name});
    return cycle;
}

ControlRef nextFocus(std::span<const ControlRef> cycle, std::optional<ControlRef> current,
                     bool backwards)
{
    if (cycle.empty())
        return {};
    const auto at = current ? std::find(cycle.begin(), cycle.end(), *current) : cycle.end();
    if (at == cycle.end())
        return backwards ? cycle.back() : cycle.front();
    const std::size_t n = cycle.size();
    const std::size_t i = std::size_t(at - cycle.begin());
    return cycle[(i + (backwards ? n - 1 : 1)) % n];
}

std::optional<char16_t> accessKeyOf(std::u16string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return upperCase(caption[i + 1]);
        ++i; // "&&": one ampersand, shown
    }
    return std::nullopt;
}

std::u16string withoutMarker(std::u16string_view caption)
{
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown.push_back(caption[i]);
    }
    return shown;
}

std::vector<std::pair<char16_t, ControlRef>> accessKeys(const WindowDescription &window)
{
    std::vector<std::pair<char16_t, ControlRef>> keys;
    for (std::size_t tab = 0; tab < window.tabs.size(); ++tab) {
        for (const ControlRow &row : window.tabs[tab].panel->controls) {
            if (row.kind != ControlKind::Button)
                continue;
            const auto key = accessKeyOf(row.text);
            const bool taken = std::any_of(keys.begin(), keys.end(),
                                           [&](const auto &entry) { return entry.first == key; });
            if (key && !taken)
                keys.push_back({*key, {int(tab), row.name}});
        }
    }
    return keys;
}

std::optional<ControlRef> accessKeyTarget(const WindowDescription &window, char16_t key)
{
    for (const auto &[marked, ref] : accessKeys(window))
        if (marked == upperCase(key))
            return ref;
    return std::nullopt;
}

const Title *titleOf(const PanelTable &panel, ControlName name)
{
    for (const Title &title : panel.titles)
        if (std::find(title.controls.begin(), title.controls.end(), name) != title.controls.end())
            return &title;
    return nullptr;
}

Accessible accessibleOf(const PanelTable &panel, const ControlRow &row)
{
    const Title *title = titleOf(panel, row.name);
    const ControlRow *titleRow = title ? findControl(panel, title->label) : nullptr;
    const std::u16string titled = titleRow ? std::u16string(titleRow->text) : std::u16string();
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        return {true, {}, titled};
    case ControlKind::TextBox:
    case ControlKind::DropDown:
    case ControlKind::List:
    case ControlKind::VScrollBar:
        return {false, titled, {}};
    case ControlKind::Button:
    case ControlKind::Option:
    case ControlKind::CheckBox:
        return {false, withoutMarker(row.text), {}};
    case ControlKind::PictureBox:
    case ControlKind::Diagram:
        if (row.text.empty())
            return {false, titled, {}};
        return {false, std::u16string(row.text), titled};
    case ControlKind::Image:
        break;
    }
    return {};
}

TwipsRect placeOf(const ControlRow &row, TwipsSize design, TwipsSize size, TwipsSize caption)
{
    TwipsRect rect = row.rect;
    if (row.kind == ControlKind::AutoLabel)
        return {rect.left, rect.top, caption.width, caption.height};
    if (row.anchor == Anchor::AllSides) {
        rect.width = std::max(row.rect.width, row.rect.width + size.width - design.width);
        rect.height = std::max(row.rect.height, row.rect.height + size.height - design.height);
    }
    return rect;
}

Update initialUpdate(const PanelTable &panel)
{
    Update update;
    for (const ControlRow &row : panel.controls) {
        if (row.kind == ControlKind::Diagram)
            update.drawing = Drawing{row.name, float(row.rect.width), float(row.rect.height), {}};
        else if (row.kind == ControlKind::PictureBox &&
                 row.background.role != Colour::Role::Default)
            update.backgrounds.push_back({row.name, row.background});
    }
    return update;
}

bool commandEnabled(const Command &command, const Document *last, bool inFront)
{
    return inFront && command.enabled(last);
}

const Command *commandFor(const PanelTable &panel, Shortcut shortcut)
{
    for (const Command &command : panel.commands)
        if (command.shortcut == Shortcut{shortcut.shift, upperCase(shortcut.key)})
            return &command;
    return nullptr;
}

std::u16string shortcutText(Shortcut shortcut)
{
    return std::u16string(u"Ctrl+") + (shortcut.shift ? u"Shift+" : u"") + shortcut.key;
}

std::vector<std::string> checkWindow(const WindowDescription &window)
{
    std::vector<std::string> problems;
    std::vector<ControlName> names = {window.tabStrip, window.panelArray};
    for (const Tab &tab : window.tabs) {
        for (std::string &problem : checkPanel(*tab.panel))
            problems.push_back(std::move(problem));
        for (const ControlRow &row : tab.panel->controls) {
            if (std::find(names.begin(), names.end(), row.name) != names.end() &&
                findControl(*tab.panel, row.name) == &row)
                problems.push_back("name used twice in the window: " + std::string(row.name));
            names.push_back(row.name);
        }
    }
    return problems;
}

} // namespace korvane
