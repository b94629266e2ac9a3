#include "common/driver.h"

#include "common/settings.h"

#include <algorithm>
#include <utility>

namespace korvane {
namespace {

template <typename... F> struct Overloaded : F...
{
    using F::operator()...;
};
template <typename... F> Overloaded(F...) -> Overloaded<F...>;

} // namespace

// While an outcome is applied, or a handler, box or dialog runs, what the front end reports
// of the controls is the driver's own doing, or comes too early: it is not acted upon.
struct Driver::Busy
{
    explicit Busy(bool &busy) : m_busy(busy), m_was(busy) { m_busy = true; }
    ~Busy() { m_busy = m_was; }
    bool &m_busy;
    bool m_was;
};

Driver::Driver(const WindowDescription &window, FrontEnd &frontEnd, DocumentIo &documentIo)
    : m_window(window), m_frontEnd(frontEnd),
      m_io(documentIo), m_size{window.clientWidth, window.clientHeight},
      m_documents(window.tabs.size()), m_measured(window.tabs.size()),
      m_captions(window.tabs.size())
{
}

void Driver::start()
{
    Busy busy(m_busy);
    m_started = true;
    for (std::size_t i = 0; i < m_window.tabs.size(); ++i) {
        const PanelTable &panel = *m_window.tabs[i].panel;
        // Every label shows its row's text when it is made.
        for (const ControlRow &row : panel.controls)
            m_captions[i].emplace_back(row.text);
        for (const ControlRow &row : panel.controls) {
            m_frontEnd.create(int(i), row, placeOf({int(i), row.name}), accessibleOf(panel, row));
            if (row.kind == ControlKind::List)
                setText({int(i), row.name}, row.text);
        }
        for (const Title &title : panel.titles)
            if (!title.controls.empty())
                m_frontEnd.linkTitle({int(i), title.label}, {int(i), title.controls.front()});
        apply(int(i), initialUpdate(panel));
    }
    if (m_window.tabbed())
        m_lastFocus = ControlRef{NoPanel, m_window.tabStrip};
    if (const WindowSettings *settings = m_window.settings)
        if (const auto bytes = m_io.readSettings(settings->name)) {
            Update update = settings->read(*bytes);
            m_notice = std::move(update.captions);
            update.captions.clear();
            apply(0, update);
        }
    measure(0);
    m_frontEnd.bringToFront(0);
    m_frontEnd.commandsChanged();
}

const Document *Driver::document(int panel) const
{
    const auto &document = m_documents.at(std::size_t(panel));
    return document ? &*document : nullptr;
}

const ControlRow &Driver::rowOf(ControlRef control) const
{
    // Every name the driver passes on is one of the panel's: the tables are checked.
    return *findControl(*m_window.tabs[std::size_t(control.panel)].panel, control.control);
}

TwipsRect Driver::placeOf(ControlRef control) const
{
    const ControlRow &row = rowOf(control);
    return placed(row, {row.rect.width, row.rect.height});
}

TwipsRect Driver::placed(const ControlRow &row, TwipsSize caption) const
{
    // A window of tabs keeps its panels' size; a window of one panel gives it all it has.
    const TwipsSize design{m_window.clientWidth, m_window.clientHeight};
    return korvane::placeOf(row, design, m_window.tabbed() ? design : m_size, caption);
}

ControlRef Driver::find(ControlName name) const
{
    for (std::size_t i = 0; i < m_window.tabs.size(); ++i)
        if (findControl(*m_window.tabs[i].panel, name))
            return {int(i), name};
    return {NoPanel, name};
}

bool Driver::enabled(ControlRef control) const
{
    return std::find(m_disabled.begin(), m_disabled.end(), control) == m_disabled.end();
}

void Driver::place(ControlRef control)
{
    const ControlRow &row = rowOf(control);
    m_frontEnd.place(control, row.kind == ControlKind::AutoLabel
                                  ? placed(row, m_frontEnd.captionSize(control))
                                  : placeOf(control));
}

void Driver::placeAll()
{
    for (std::size_t i = 0; i < m_window.tabs.size(); ++i)
        for (const ControlRow &row : m_window.tabs[i].panel->controls)
            if (row.kind != ControlKind::AutoLabel || m_measured[i])
                place({int(i), row.name});
}

// A panel's labels that size themselves are measured when it first comes to the front: until
// then nothing of them shows, and measuring the text of every panel would load glyphs that
// start-up does not need.
void Driver::measure(int panel)
{
    if (m_measured[std::size_t(panel)])
        return;
    m_measured[std::size_t(panel)] = true;
    for (const ControlRow &row : m_window.tabs[std::size_t(panel)].panel->controls)
        if (row.kind == ControlKind::AutoLabel)
            place({panel, row.name});
}

void Driver::activated(ControlRef control)
{
    if (control.panel >= 0 && std::size_t(control.panel) < m_window.tabs.size())
        runEventsOf(control);
}

void Driver::runEventsOf(ControlRef control)
{
    if (m_busy || waiting())
        return;
    for (const Event &event : m_window.tabs[std::size_t(control.panel)].panel->events) {
        if (event.source != control.control)
            continue;
        Busy busy(m_busy);
        apply(control.panel, event.handle(readings(control.panel, event.reads)));
    }
}

void Driver::tabSelected(int tab)
{
    if (waiting() || tab == m_front || tab < 0 || std::size_t(tab) >= m_window.tabs.size())
        return;
    bringToFront(tab);
    // The panel behind keeps its controls, but not the focus: what is typed next must not go
    // where the user cannot see it. The tab strip keeps it, as a click on it gives it.
    setFocus({NoPanel, m_window.tabStrip}, false, false);
}

void Driver::setFocus(ControlRef control, bool byTab, bool selectAll)
{
    m_lastFocus = control;
    m_frontEnd.setFocus(control, byTab, selectAll);
}

void Driver::windowActivated(bool active)
{
    // While a box or dialog of the driver's is open, the focus is theirs.
    if (m_busy || waiting())
        return;
    if (!active)
        m_lastFocus = m_frontEnd.focus().value_or(m_lastFocus.value_or(ControlRef{}));
    else if (m_lastFocus && !m_lastFocus->control.empty())
        m_frontEnd.setFocus(*m_lastFocus, false, false);
}

bool Driver::closing()
{
    if (m_opener) {
        m_frontEnd.showWindow(false);
        return false;
    }
    // The windows opened from this one go with it.
    for (const auto &[description, opened] : m_opened)
        opened->m_frontEnd.showWindow(false);
    return true;
}

void Driver::bringToFront(int panel)
{
    measure(panel);
    m_front = panel;
    m_frontEnd.bringToFront(panel);
    m_frontEnd.commandsChanged();
}

bool Driver::keyPressed(const KeyPress &key)
{
    // A key of the box or dialog open, for it alone.
    if (waiting())
        return false;
    if (key.key == KeyPress::Key::Tab && !key.control && !key.alt) {
        moveFocus(key.shift);
        return true;
    }
    if (key.key != KeyPress::Key::Letter || (key.alt && key.control))
        return false;
    if (key.alt) {
        const auto target = accessKeyTarget(m_window, key.letter);
        if (target)
            activated(*target);
        return target.has_value();
    }
    if (!key.control)
        return false;
    // The key stays the command's while the command is disabled: Ctrl+Shift+C copies no text
    // box's selection either.
    const PanelTable &front = *m_window.tabs[std::size_t(m_front)].panel;
    const Command *command = commandFor(front, {key.shift, key.letter});
    if (command)
        run(m_front, std::size_t(command - front.commands.data()));
    return command != nullptr;
}

void Driver::moveFocus(bool backwards)
{
    std::vector<ControlRef> cycle = focusCycle(m_window, m_front);
    std::erase_if(cycle, [this](ControlRef stop) { return !enabled(stop); });
    if (cycle.empty())
        return;
    const ControlRef to = nextFocus(cycle, m_frontEnd.focus(), backwards);
    setFocus(to, true, to.panel != NoPanel && behaviourOf(rowOf(to).kind).selectsAllOnTab);
}

void Driver::resized(TwipsSize client)
{
    if (!m_started || m_window.tabbed() || client == m_size)
        return;
    m_size = client;
    const PanelTable &panel = *m_window.tabs.front().panel;
    for (const ControlRow &row : panel.controls) {
        if (row.anchor == Anchor::TopLeft)
            continue;
        place({0, row.name});
        // A diagram drawn to its size is drawn anew.
        if (row.kind == ControlKind::Diagram)
            runEventsOf({0, row.name});
    }
}

std::vector<Reading> Driver::readings(int panel, std::span<const ControlName> reads) const
{
    std::vector<Reading> readings;
    readings.reserve(reads.size());
    for (ControlName name : reads) {
        const ControlRef control{panel, name};
        const TwipsRect at = placeOf(control);
        // A diagram's size is where the driver has placed it; an option is chosen when its
        // handler last said so.
        const ControlKind kind = rowOf(control).kind;
        readings.push_back(
            kind == ControlKind::Diagram ? Reading{{}, 0, {at.width, at.height}}
            : kind == ControlKind::Option
                ? Reading{{},
                          std::find(m_chosen.begin(), m_chosen.end(), control) != m_chosen.end()}
                : m_frontEnd.read(control));
    }
    return readings;
}

void Driver::apply(int panel, const Outcome &outcome)
{
    if (const auto *refusal = std::get_if<Refusal>(&outcome)) {
        // The box over the panel that holds the bad input, which then takes what is typed.
        if (panel != m_front)
            bringToFront(panel);
        ask([&] { return m_frontEnd.showError(refusal->message); },
            [this, to = ControlRef{panel, refusal->focus}](const Answer &) {
                setFocus(to, false, false);
            });
        return;
    }
    const Update &update = std::get<Update>(outcome);
    if (update.drawing)
        m_frontEnd.draw({panel, update.drawing->control}, *update.drawing);
    for (const SetText &text : update.texts)
        setText({panel, text.control}, text.text);
    for (const SetCaption &caption : update.captions)
        setCaption({panel, caption.control}, caption.text);
    for (const SetBackground &background : update.backgrounds)
        m_frontEnd.setBackground({panel, background.control}, background.colour);
    for (const SetOption &option : update.options) {
        const ControlRef control{panel, option.control};
        std::erase(m_disabled, control);
        std::erase(m_chosen, control);
        if (!option.enabled)
            m_disabled.push_back(control);
        if (option.chosen)
            m_chosen.push_back(control);
        m_frontEnd.setOption(control, option.enabled, option.chosen);
    }
    for (const SetToolTip &tip : update.toolTips)
        m_frontEnd.setToolTip({panel, tip.control}, tip.text);
    if (update.settings && m_window.settings) {
        const auto reason = m_io.writeSettings(m_window.settings->name, update.settings->bytes);
        setCaption({panel, update.settings->report},
                   reason ? settingsFailure(*reason) : update.settings->saved);
    }
    if (update.document || !update.keepsDocument) {
        m_documents[std::size_t(panel)] = update.document;
        m_frontEnd.commandsChanged();
    }
}

void Driver::setText(ControlRef control, std::u16string_view text)
{
    const ControlRow &row = rowOf(control);
    if (row.kind != ControlKind::List)
        return m_frontEnd.setText(control, text);
    const auto item = std::find(row.items.begin(), row.items.end(), text);
    if (item != row.items.end())
        m_frontEnd.pick(control, std::size_t(item - row.items.begin()));
}

void Driver::setCaption(ControlRef label, std::u16string_view text)
{
    // A label given what it shows already is left alone: a planner's keystroke sets some fifty
    // captions, most of them as they were, and a toolkit redraws each one it is given.
    const auto &controls = m_window.tabs[std::size_t(label.panel)].panel->controls;
    std::u16string &shown =
        m_captions[std::size_t(label.panel)][std::size_t(&rowOf(label) - controls.data())];
    if (shown == text)
        return;
    shown = text;
    m_frontEnd.setCaption(label, text);
    if (rowOf(label).kind == ControlKind::AutoLabel && m_measured[std::size_t(label.panel)])
        place(label);
}

std::vector<CommandEntry> Driver::commands() const
{
    std::vector<CommandEntry> entries;
    for (std::size_t panel = 0; panel < m_window.tabs.size(); ++panel) {
        const auto &commands = m_window.tabs[panel].panel->commands;
        for (std::size_t i = 0; i < commands.size(); ++i)
            entries.push_back(
                {int(panel), i, &commands[i], shortcutText(commands[i].shortcut),
                 commandEnabled(commands[i], document(int(panel)), int(panel) == m_front)});
    }
    return entries;
}

std::vector<CommandEntry> Driver::menu(ControlRef control) const
{
    std::vector<CommandEntry> entries = commands();
    std::erase_if(entries, [&](const CommandEntry &entry) {
        return entry.panel != control.panel || entry.command->menuOf != control.control;
    });
    return entries;
}

void Driver::run(int panel, std::size_t index)
{
    if (m_busy || waiting() || panel < 0 || std::size_t(panel) >= m_window.tabs.size())
        return;
    const auto &commands = m_window.tabs[std::size_t(panel)].panel->commands;
    if (index >= commands.size())
        return;
    const Command &command = commands[index];
    const Document *last = document(panel);
    if (!commandEnabled(command, last, panel == m_front))
        return;
    Busy busy(m_busy);
    // The request carries its own copy of the document.
    const CommandRequest request = command.handle(last, readings(panel, command.reads));
    std::visit(Overloaded{
                   [this](const CopyRequest &copy) {
                       ask([&] { return m_io.copy(copy.document); },
                           [this](const Answer &answer) {
                               if (answer.failure)
                                   fail(copyFailure(*answer.failure));
                           });
                   },
                   [this](const SaveRequest &request) { save(request); },
                   [this](const PrintRequest &print) {
                       ask([&] { return m_io.print(print.document, print.document.fileStem); },
                           [this](const Answer &answer) {
                               if (answer.failure)
                                   fail(printFailure(*answer.failure));
                           });
                   },
                   [this](const OpenRequest &request) { open(request); },
               },
               request);
}

template <typename Request>
void Driver::ask(Request &&request, std::function<void(const Answer &)> then)
{
    // Kept first: a front end may answer before the request returns.
    m_then = then ? std::move(then) : [](const Answer &) {};
    if (const Answered now = request())
        answer(*now);
}

void Driver::answer(const Answer &answer)
{
    if (!m_then)
        return;
    const auto then = std::exchange(m_then, {});
    Busy busy(m_busy);
    then(answer);
}

void Driver::fail(std::u16string message)
{
    ask([&] { return m_frontEnd.showError(message); });
}

void Driver::save(const SaveRequest &request)
{
    SaveDialog dialog{request.title, {}, request.fileName, {}, 0};
    for (const FileType &type : request.types)
        if (m_io.writes(type.format))
            dialog.types.push_back(type);
    if (dialog.types.empty())
        return;
    for (UserFolder which : SaveFolders) {
        const std::u16string folder = m_io.folder(which);
        if (!folder.empty() && m_io.exists(folder)) {
            dialog.folder = folder;
            break;
        }
    }
    // First the type of the name proposed.
    dialog.type = std::size_t(savePath(dialog.fileName, dialog.types, dialog.types.front()).type -
                              dialog.types.data());
    askSaveName(request.document, std::move(dialog));
}

void Driver::askSaveName(Document document, SaveDialog dialog)
{
    ask([&] { return m_io.askSaveName(dialog); },
        [this, document = std::move(document), dialog](const Answer &answer) mutable {
            if (!answer.choice)
                return;
            const SavePath target =
                savePath(answer.choice->path, dialog.types,
                         dialog.types[std::min(answer.choice->type, dialog.types.size() - 1)]);
            // The dialog asked about the name it gave, not about one with an extension added:
            // such a file is not replaced unasked, but offered again for the dialog to ask.
            if (target.path != answer.choice->path && m_io.exists(target.path)) {
                dialog.fileName = target.path;
                dialog.type = std::size_t(target.type - dialog.types.data());
                return askSaveName(std::move(document), std::move(dialog));
            }
            ask([&] { return m_io.write(document, target.path, target.type->format); },
                [this, path = target.path](const Answer &written) {
                    if (written.failure)
                        fail(saveFailure(path, *written.failure));
                });
        });
}

void Driver::open(const OpenRequest &request)
{
    const auto it = std::find_if(m_opened.begin(), m_opened.end(), [&](const auto &opened) {
        return opened.first == request.window;
    });
    if (it != m_opened.end())
        return show(*it->second, request.fill);
    ask([&] { return m_frontEnd.makeWindow(*request.window); },
        [this, window = request.window, fill = request.fill](const Answer &answer) {
            if (!answer.opened)
                return;
            answer.opened->m_opener = this;
            m_opened.push_back({window, answer.opened});
            show(*answer.opened, fill);
        });
}

void Driver::show(Driver &opened, std::span<const SetText> fill)
{
    opened.m_frontEnd.showWindow(true);
    opened.fill(fill);
}

void Driver::fill(std::span<const SetText> texts)
{
    {
        Busy busy(m_busy);
        for (const SetText &text : texts)
            if (const ControlRef control = find(text.control); control.panel != NoPanel)
                setText(control, text.text);
    }
    for (const SetText &text : texts)
        activated(find(text.control));
    for (const SetCaption &caption : std::exchange(m_notice, {}))
        setCaption(find(caption.control), caption.text);
}

} // namespace korvane
