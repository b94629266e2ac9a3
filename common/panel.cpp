#include "common/panel.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

namespace korvane {
namespace {

using K = ControlKind;

// Adds a complaint unless `name` is a control of one of `kinds`.
void expectKind(const PanelTable &panel, ControlName name, std::initializer_list<K> kinds,
                std::string_view role, std::vector<std::string> &problems)
{
    const ControlRow *row = findControl(panel, name);
    if (!row)
        problems.push_back(std::string(role) + " names no control: " + std::string(name));
    else if (std::find(kinds.begin(), kinds.end(), row->kind) == kinds.end())
        problems.push_back(std::string(role) + " cannot be " + std::string(name));
}

} // namespace

std::optional<NameParts> nameParts(ControlName name)
{
    for (std::size_t i = 0; i < NamedWords.size(); ++i)
        if (name == NamedWords[i])
            return NameParts{i, 0};
    for (std::size_t i = 0; i < NumberedWords.size(); ++i) {
        if (!name.starts_with(NumberedWords[i]))
            continue;
        const std::string_view digits = name.substr(NumberedWords[i].size());
        int number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        // "Text04" is not "Text4": no leading zeros.
        if (error == std::errc() && end == digits.data() + digits.size() && number >= 1 &&
            number <= 999 && digits.front() != '0')
            return NameParts{i, number};
    }
    return std::nullopt;
}

const ControlRow *findControl(const PanelTable &panel, ControlName name)
{
    const auto it = std::find_if(panel.controls.begin(), panel.controls.end(),
                                 [name](const ControlRow &row) { return row.name == name; });
    return it == panel.controls.end() ? nullptr : &*it;
}

std::vector<std::string> checkPanel(const PanelTable &panel)
{
    std::vector<std::string> problems;
    for (const ControlRow &row : panel.controls) {
        if (findControl(panel, row.name) != &row)
            problems.push_back("name used twice: " + std::string(row.name));
        if (!nameParts(row.name))
            problems.push_back("name outside the naming scheme: " + std::string(row.name));
        if (row.kind == K::VScrollBar && row.scroll.minimum >= row.scroll.maximum)
            problems.push_back("scroll bar without a range: " + std::string(row.name));
    }
    for (const Title &title : panel.titles) {
        expectKind(panel, title.label, {K::Label, K::AutoLabel}, "title", problems);
        for (ControlName name : title.controls)
            expectKind(panel, name,
                       {K::Label, K::AutoLabel, K::TextBox, K::DropDown, K::List, K::Button,
                        K::Option, K::CheckBox, K::VScrollBar, K::PictureBox, K::Diagram},
                       "titled control", problems);
    }
    for (const Event &event : panel.events) {
        expectKind(
            panel, event.source,
            {K::Button, K::Option, K::CheckBox, K::VScrollBar, K::TextBox, K::List, K::Diagram},
            "event source", problems);
        for (ControlName name : event.reads)
            expectKind(panel, name,
                       {K::TextBox, K::DropDown, K::List, K::VScrollBar, K::Option, K::CheckBox,
                        K::Diagram},
                       "reading", problems);
        if (!event.handle)
            problems.push_back("event without a handler: " + std::string(event.source));
    }
    for (const Command &command : panel.commands) {
        expectKind(panel, command.menuOf, {K::Diagram, K::PictureBox}, "command menu", problems);
        if (!command.enabled || !command.handle)
            problems.push_back("command without its rule or handler: " + std::string(command.id));
        for (ControlName name : command.reads)
            expectKind(panel, name, {K::TextBox, K::DropDown, K::List}, "command reading",
                       problems);
    }
    return problems;
}

std::vector<std::string> checkOutcome(const PanelTable &panel, const Outcome &outcome)
{
    std::vector<std::string> problems;
    if (const auto *refusal = std::get_if<Refusal>(&outcome)) {
        expectKind(panel, refusal->focus, {K::TextBox, K::DropDown, K::List}, "focus", problems);
        if (refusal->message.empty())
            problems.push_back("refusal without a message");
        return problems;
    }
    const Update &update = std::get<Update>(outcome);
    if (update.drawing)
        expectKind(panel, update.drawing->control, {K::Diagram}, "drawing", problems);
    for (const SetText &text : update.texts)
        expectKind(panel, text.control, {K::TextBox, K::DropDown, K::List}, "text", problems);
    for (const SetOption &option : update.options)
        expectKind(panel, option.control, {K::Option}, "option", problems);
    for (const SetCaption &caption : update.captions)
        expectKind(panel, caption.control, {K::Label, K::AutoLabel}, "caption", problems);
    for (const SetBackground &background : update.backgrounds)
        expectKind(panel, background.control, {K::PictureBox}, "background", problems);
    for (const SetToolTip &tip : update.toolTips)
        if (!findControl(panel, tip.control))
            problems.push_back("tool tip names no control: " + std::string(tip.control));
    return problems;
}

} // namespace korvane
