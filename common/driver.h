#pragma once

// How a window runs, decided once for every toolkit. The driver has the window's controls
// made, runs a handler when the front end reports an event and applies its outcome in one
// order, moves the focus, presses the button of an access key, offers and runs the commands,
// keeps each panel's last document and saves, copies and prints it. A front end makes the
// controls, draws, and reports what its toolkit saw: it implements FrontEnd and DocumentIo,
// and decides nothing of its own.

#include "common/document.h"
#include "common/rules.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace korvane {

// A name picked in a save dialog, and the type picked there (an index into its types).
struct SaveChoice
{
    std::u16string path;
    std::size_t type = 0;
};

// What a save dialog shows: its title, the folder it opens in (empty: where the system
// likes), the name it proposes, the types it offers (listed by filterLabel) and the one
// picked at first.
struct SaveDialog
{
    std::u16string title;
    std::u16string folder;
    std::u16string fileName;
    std::vector<FileType> types;
    std::size_t type = 0;
};
// The buttons of a save dialog that a front end draws itself.
inline constexpr std::u16string_view SaveCaption = u"保存";
inline constexpr std::u16string_view CancelCaption = u"取消";

class Driver;

// The answer to a request of the driver's: a box closed; the name chosen in a save dialog
// (none: cancelled); a copy, a file or a print done, or failed for the system's reason;
// another window made and started.
struct Answer
{
    std::optional<SaveChoice> choice = {};
    std::optional<std::u16string> failure = {};
    Driver *opened = nullptr;
};
// A request answered at once, or not yet: the front end then gives the answer to
// Driver::answer when it has it, and until then the window takes no other input, as under a
// modal box. A toolkit with modal loops answers at once.
using Answered = std::optional<Answer>;

// What a toolkit does for the driver. Controls are named by panel and name; the tab strip is
// {NoPanel, its name}. Twips are the container's, as in the tables.
class FrontEnd
{
public:
    virtual ~FrontEnd() = default;

    // The control of `row` on `panel`, of its kind, at `rect`, with its kind's behaviour
    // (rules.h) and what a screen reader says of it.
    virtual void create(int panel, const ControlRow &row, const TwipsRect &rect,
                        const Accessible &spoken) = 0;
    // A label titles controls (a Title), the first of them given: on a toolkit whose screen
    // readers hear it, the label that control is "labelled by". Once both exist.
    virtual void linkTitle(ControlRef /*label*/, ControlRef /*first*/) {}
    virtual void place(ControlRef control, const TwipsRect &rect) = 0;

    // The text of a text box, drop-down box or list; the value of a scroll bar; 1 for a check
    // box that is on.
    virtual Reading read(ControlRef control) = 0;
    // The control with the keyboard focus; none when it is not on one of this window's.
    virtual std::optional<ControlRef> focus() = 0;

    // A text box's or drop-down box's text; a list's item, by its place among the row's items.
    virtual void setText(ControlRef control, std::u16string_view text) = 0;
    virtual void pick(ControlRef list, std::size_t item) = 0;
    // A label's caption, and how large it shows, in twips.
    virtual void setCaption(ControlRef label, std::u16string_view text) = 0;
    virtual TwipsSize captionSize(ControlRef label) = 0;
    virtual void setBackground(ControlRef control, const Colour &colour) = 0;
    virtual void setOption(ControlRef control, bool enabled, bool chosen) = 0;
    virtual void setToolTip(ControlRef control, std::u16string_view text) = 0;
    virtual void draw(ControlRef control, const Drawing &drawing) = 0;
    // The tab of `panel` selected and its panel on top of the others.
    virtual void bringToFront(int panel) = 0;
    // The focus on `control`, moved there by Tab or Shift+Tab (`byTab`: a toolkit may show its
    // keyboard cues) or by the program; its whole text selected when `selectAll`.
    virtual void setFocus(ControlRef control, bool byTab, bool selectAll) = 0;
    // The modal error box: the message, ErrorTitle, the stop icon and OK alone; answered
    // when it is closed.
    virtual Answered showError(std::u16string_view message) = 0;
    // What Driver::commands() gives has changed: their enabled states.
    virtual void commandsChanged() = 0;

    // A window of `window`, owned by this one and not yet shown; answered with its driver,
    // started.
    virtual Answered makeWindow(const WindowDescription &window) = 0;
    // This window shown, on top and active; or hidden, keeping all it holds.
    virtual void showWindow(bool shown) = 0;
};

// How a toolkit hands a document on, for the driver: a copy, a file or a print is answered
// with the system's reason when it failed.
class DocumentIo
{
public:
    virtual ~DocumentIo() = default;

    virtual Answered copy(const Document &document) = 0;
    virtual bool writes(FileFormat format) = 0;
    // The path of a folder of the user's; empty when the system has none.
    virtual std::u16string folder(UserFolder which) = 0;
    virtual bool exists(std::u16string_view path) = 0;
    // The save dialog, answered with the name chosen. It asks itself before it gives the
    // name of a file that exists.
    virtual Answered askSaveName(const SaveDialog &dialog) = 0;
    // Writes the whole file or leaves whatever `path` held as it was.
    virtual Answered write(const Document &document, std::u16string_view path,
                           FileFormat format) = 0;
    // The print dialog, then the page, printed as the job `jobName`; cancelled, no failure.
    virtual Answered print(const Document &document, std::u16string_view jobName) = 0;
    // The bytes of the settings kept under `name`; nothing when there are none or they cannot
    // be read.
    virtual std::optional<std::string> readSettings(std::string_view name) = 0;
    // Keeps `bytes` as the settings of `name`, whole, or leaves the old ones as they were.
    virtual std::optional<std::u16string> writeSettings(std::string_view name,
                                                        std::string_view bytes) = 0;
};

// A key as the toolkit saw it, before the control with the focus handles it.
struct KeyPress
{
    enum class Key
    {
        Tab,
        Letter,
        Other,
    };
    Key key = Key::Other;
    char16_t letter = 0; // for a letter, in either case
    bool shift = false;
    bool control = false;
    bool alt = false;
};

// A command as its menu item and its action show it.
struct CommandEntry
{
    int panel = 0;
    std::size_t index = 0; // among the panel's commands
    const Command *command = nullptr;
    std::u16string shortcut; // "Ctrl+S"
    bool enabled = false;
};

class Driver
{
public:
    Driver(const WindowDescription &window, FrontEnd &frontEnd, DocumentIo &documentIo);
    Driver(const Driver &) = delete;
    Driver &operator=(const Driver &) = delete;

    // Has the controls made, in table order, shows each panel's first state and brings
    // panel 0 to the front. Once, when the window, its tab strip and its panels exist.
    void start();

    const WindowDescription &window() const { return m_window; }
    int front() const { return m_front; }
    // The panel's last document, on which its commands act; null before the first.
    const Document *document(int panel) const;
    const ControlRow &rowOf(ControlRef control) const;
    // Where a control stands now, in twips: its row's place, anchors followed (for a label
    // that sizes itself, the size its row gives).
    TwipsRect placeOf(ControlRef control) const;
    // The controls `reads` of `panel` as an event or command is given them now: as the front
    // end reads them, a diagram as the size it stands at.
    std::vector<Reading> readings(int panel, std::span<const ControlName> reads) const;

    // What the front end reports. The user pressed a button, chose an option, let a scroll
    // bar's value settle, edited a text or picked a list's item: its event runs, unless an
    // outcome is being applied (a control set by the driver reports nothing).
    void activated(ControlRef control);
    // The user selected a tab.
    void tabSelected(int tab);
    // A key, before the focused control sees it; true when the driver used it.
    bool keyPressed(const KeyPress &key);
    // The client area's new size.
    void resized(TwipsSize client);
    // The window laid out anew (its dots per inch changed): every control placed again, the
    // labels that size themselves measured again.
    void placeAll();
    // The window became active, or stopped being so: back in it, the focus returns where it
    // was.
    void windowActivated(bool active);
    // The user closes the window: true when it goes, and the windows opened from it with it;
    // a window opened from another only hides and keeps what it holds.
    bool closing();

    // Every command of every panel, in order, as it stands now.
    std::vector<CommandEntry> commands() const;
    // The commands offered in the context menu of `control`.
    std::vector<CommandEntry> menu(ControlRef control) const;
    // A command from its menu item, its action or its shortcut; nothing while disabled.
    void run(int panel, std::size_t index);
    // The controls of `texts` set, each then reporting its event as if the user had typed
    // or picked it: what an opening window is given.
    void fill(std::span<const SetText> texts);
    // The answer to the request open now, which the driver then goes on from; nothing when
    // none is open.
    void answer(const Answer &answer);
    // Whether a request is open.
    bool waiting() const { return bool(m_then); }

private:
    struct Busy;

    ControlRef find(ControlName name) const;
    bool enabled(ControlRef control) const;
    TwipsRect placed(const ControlRow &row, TwipsSize caption) const;
    void place(ControlRef control);
    void measure(int panel);
    void bringToFront(int panel);
    void setFocus(ControlRef control, bool byTab, bool selectAll);
    void moveFocus(bool backwards);
    void runEventsOf(ControlRef control);
    void apply(int panel, const Outcome &outcome);
    void setCaption(ControlRef label, std::u16string_view text);
    void setText(ControlRef control, std::u16string_view text);
    // `request` made, and `then` run with its answer, now or when it comes.
    template <typename Request>
    void ask(Request &&request, std::function<void(const Answer &)> then = {});
    void fail(std::u16string message);
    void askSaveName(Document document, SaveDialog dialog);
    void save(const SaveRequest &request);
    void open(const OpenRequest &request);
    void show(Driver &opened, std::span<const SetText> fill);

    const WindowDescription &m_window;
    FrontEnd &m_frontEnd;
    DocumentIo &m_io;
    int m_front = 0;
    bool m_started = false;
    bool m_busy = false;
    TwipsSize m_size;
    std::vector<std::optional<Document>> m_documents;
    std::vector<bool> m_measured;                        // each panel's labels that size themselves
    std::vector<std::vector<std::u16string>> m_captions; // each label's, by its row
    std::vector<ControlRef> m_disabled;
    std::vector<ControlRef> m_chosen;      // the options chosen, as the handlers last said
    std::optional<ControlRef> m_lastFocus; // where the focus returns when the window does
    std::vector<SetCaption> m_notice;      // what the settings read said, shown once filled
    Driver *m_opener = nullptr;            // the window this one was opened from
    std::vector<std::pair<const WindowDescription *, Driver *>> m_opened;
    std::function<void(const Answer &)> m_then; // what follows the request open now
};

} // namespace korvane
