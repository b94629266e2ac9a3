#pragma once

// A panel of a window described without any toolkit: its controls with their geometry in
// twips, the labels that title other controls, and its handlers, plain functions from the
// texts and values of its controls to an outcome. What the desktop does around them (focus,
// access keys, what a screen reader hears, the first state of each control) is decided from
// these tables by the rules of common/rules.h, and the driver of common/driver.h runs them:
// a front end only makes the controls, draws and reports what its toolkit saw.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace korvane {

// Layout unit: 1/1440 inch, so 15 twips are one pixel at 96 dots per inch.
constexpr int TwipsPerInch = 1440;

// A length in twips as whole pixels at `dpi` dots per inch, rounded to nearest.
constexpr int twipsToPixels(double twips, int dpi = 96)
{
    return static_cast<int>(twips * dpi / TwipsPerInch + 0.5);
}

// Left, top, width, height in twips, inside the container's client area.
struct TwipsRect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TwipsRect &) const = default;
};

// A control's name as tools and tests find it: "Text4", "Combo2", "drawpic". Names follow one
// scheme: a word of NumberedWords and a number from 1 to 999, or one of NamedWords alone.
using ControlName = std::string_view;

// clang-format off
inline constexpr std::array<std::string_view, 10> NumberedWords = {
    "Label", "Text", "Combo", "Command", "VScroll", "Picture", "Image", "TabStrip", "Option",
    "Check"};
inline constexpr std::array<std::string_view, 2> NamedWords = {"drawpic", "planpic"};
// clang-format on

// A name taken apart by the scheme: the index of its word in NumberedWords and its number,
// or the index of the word in NamedWords and 0. Nullopt for a name outside the scheme.
struct NameParts
{
    std::size_t word = 0;
    int number = 0;
};
std::optional<NameParts> nameParts(ControlName name);

enum class ControlKind
{
    Label,      // keeps its size
    AutoLabel,  // sizes itself to its caption, keeping its left and top
    TextBox,    // single line
    DropDown,   // editable: picking an item copies it into the text field
    List,       // a fixed list: one of its items, nothing typed
    Button,     // an '&' in the caption marks the access key
    Option,     // an option button: one of a group, chosen by a click
    CheckBox,   // on or off, turned by a click
    VScrollBar, // minimum at the top
    PictureBox, // a plain coloured area
    Diagram,    // a picture box whose drawn lines persist
    Image,      // the product picture, stretched to the box
};

// A colour by its red, green and blue components, each 0 to 255.
struct Rgb
{
    int r = 0;
    int g = 0;
    int b = 0;

    bool operator==(const Rgb &) const = default;
};

// A colour of the user's scheme, or a fixed one.
struct Colour
{
    enum class Role
    {
        Default, // whatever the toolkit gives the control
        Window,
        WindowText,
        Highlight,
        ActiveBorder,
        Fixed,
    };
    Role role = Role::Default;
    Rgb rgb{}; // for Fixed

    static constexpr Colour fixed(Rgb rgb) { return {Role::Fixed, rgb}; }

    bool operator==(const Colour &) const = default;
};

struct Typeface
{
    std::u16string_view face; // with the Chinese (GB 2312) character set
    int points = 9;
};

// The edges of its container a control keeps its distance to as the window is resized: the
// top and left ones always; with AllSides the right and bottom ones too, so that it grows and
// shrinks with the window, never below its size in the table.
enum class Anchor
{
    TopLeft,
    AllSides,
};

struct ScrollRange
{
    int minimum = 0;
    int maximum = 0;
    int smallStep = 1; // arrow click or arrow key
    int largeStep = 1; // click on the track, Page Up and Page Down
};

// One row of a panel's control table. The table order is the keyboard focus order.
struct ControlRow
{
    ControlKind kind;
    ControlName name;
    TwipsRect rect;
    // A label's or button's caption (a button's '&' marks its access key), a text box's or
    // drop-down box's initial text; for a picture box or diagram the name a screen reader
    // gives it; for an image the name of its picture among the program's resources.
    std::u16string_view text = {};
    std::span<const std::u16string_view> items = {}; // drop-down list, in order
    ScrollRange scroll = {};
    Colour background = {};
    Colour foreground = {};
    const Typeface *font = nullptr; // the window's font when null
    Anchor anchor = Anchor::TopLeft;
};

// A label that titles other controls ("开版尺寸" over the two sheet sides): a screen reader
// announces them with its text.
struct Title
{
    ControlName label;
    std::span<const ControlName> controls;
};

// A width and a height in twips.
struct TwipsSize
{
    int width = 0;
    int height = 0;

    bool operator==(const TwipsSize &) const = default;
};

// What a handler reads of one control: the text of a text box, drop-down box or list (UTF-16,
// whole), the value of a scroll bar, whether an option is chosen or a check box is on (1) or
// not (0), or the size of a diagram as it stands.
struct Reading
{
    std::u16string text;
    int value = 0;
    TwipsSize size = {};
};

// The title of every error box; the box has the stop icon and a single OK button.
inline constexpr std::u16string_view ErrorTitle = u"错误";
// Its button, where the toolkit does not caption it itself.
inline constexpr std::u16string_view OkCaption = u"确定";

// A bad input: the error box's message, and the control that takes the keyboard focus
// once the box is dismissed. Nothing else changes.
struct Refusal
{
    std::u16string_view message;
    ControlName focus;

    bool operator==(const Refusal &) const = default;
};

struct SetCaption
{
    ControlName control;
    std::u16string text;

    bool operator==(const SetCaption &) const = default;
};

// A picture box's colour: one of the user's scheme, or a fixed one.
struct SetBackground
{
    ControlName control;
    Colour colour;

    bool operator==(const SetBackground &) const = default;
};

// One grid of `rows` by `cols` cells with its top-left corner at (x, y): rows + 1
// horizontal and cols + 1 vertical lines. Where the cells lie `gapX` and `gapY` apart, each
// is a box of its own: four lines a cell. Lengths in twips, y downwards.
struct GridBlock
{
    std::int64_t rows = 0;
    std::int64_t cols = 0;
    double x = 0;
    double y = 0;
    double cellWidth = 0;
    double cellHeight = 0;
    double gapX = 0;
    double gapY = 0;

    bool boxed() const { return gapX > 0 || gapY > 0; }
    // The block's extent: its cells and the gaps between them.
    double width() const { return double(cols) * cellWidth + double(cols - 1) * gapX; }
    double height() const { return double(rows) * cellHeight + double(rows - 1) * gapY; }

    bool operator==(const GridBlock &) const = default;
};

// A line drawn over the blocks in the highlight colour, across or down, in twips, and the
// number written beside its middle (0: none).
struct Mark
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int number = 0;

    bool operator==(const Mark &) const = default;
};

// A diagram resized (its top-left corner stays), cleared, and drawn anew, block by block, and
// its marks over them.
struct Drawing
{
    ControlName control;
    float width = 0; // twips, in single precision as the box takes them
    float height = 0;
    std::vector<GridBlock> blocks; // in drawing order; empty blocks included
    std::vector<Mark> marks = {};

    bool operator==(const Drawing &) const = default;
};

// The text of a text box or drop-down box, or the item of a list with that text.
struct SetText
{
    ControlName control;
    std::u16string text;

    bool operator==(const SetText &) const = default;
};

// An option button: whether it can be chosen, and whether it is.
struct SetOption
{
    ControlName control;
    bool enabled = true;
    bool chosen = false;

    bool operator==(const SetOption &) const = default;
};

struct SetToolTip
{
    ControlName control;
    std::u16string text;

    bool operator==(const SetToolTip &) const = default;
};

// A result as something to hand on, the plan a diagram shows: the drawing, the sheet's edge
// included, at its true proportions, and the line that says what it is.
struct Document
{
    Drawing drawing;         // in twips, as the diagram draws it
    double unitsPerTwip = 0; // the sheet's own units of length in one twip of the drawing
    double width = 0;        // the sheet in its own units: across and down
    double height = 0;
    std::u16string jobLine;
    std::vector<std::u16string> notes; // lines said below the job line, in order
    std::u16string fileStem; // a file name for it, without the extension; the print job's name
    // The texts it was made from, as their controls held them.
    std::vector<SetText> inputs = {};

    bool operator==(const Document &) const = default;
};

// Settings to keep, where the toolkit keeps a program's for the window: the file's bytes; once
// they are written, `saved` on the label `report`, or why they were not.
struct SettingsWrite
{
    std::string bytes;
    ControlName report;
    std::u16string saved;

    bool operator==(const SettingsWrite &) const = default;
};

// What a successful event changes, applied in this order: the drawing, the texts, the
// captions, the backgrounds, the options, the tool tips, the settings kept. The document, when
// there is one, replaces the panel's last result, on which its commands act; without one the
// last result stays, unless `keepsDocument` is false: then there is none.
struct Update
{
    std::optional<Drawing> drawing = {};
    std::vector<SetText> texts = {};
    std::vector<SetCaption> captions = {};
    std::vector<SetBackground> backgrounds = {};
    std::vector<SetOption> options = {};
    std::vector<SetToolTip> toolTips = {};
    std::optional<Document> document = {};
    bool keepsDocument = true;
    std::optional<SettingsWrite> settings = {};

    bool operator==(const Update &) const = default;
};

using Outcome = std::variant<Refusal, Update>;

// The refusal a table of {fault, refusal} rows gives for `fault`; the table names every
// fault its core can report.
template <typename Fault, std::size_t N>
constexpr Refusal refusalOf(const std::array<std::pair<Fault, Refusal>, N> &table, Fault fault)
{
    for (const auto &[key, refusal] : table)
        if (key == fault)
            return refusal;
    return table.front().second;
}

// An event of one control: a button pressed, an option chosen, a scroll bar's value settled,
// a text edited, a list's item picked, a diagram resized. The controls its handler reads, in
// order, and the handler, which receives one reading per name.
struct Event
{
    ControlName source;
    std::span<const ControlName> reads;
    Outcome (*handle)(std::span<const Reading> readings);
};

// A key pressed with Ctrl, and Shift when `shift`: an upper-case ASCII letter.
struct Shortcut
{
    bool shift = false;
    char16_t key = 0;

    bool operator==(const Shortcut &) const = default;
};

enum class FileFormat
{
    Png,
    Svg,
    Pdf,
};

// A kind of file a document can be saved as, as a save dialog offers it.
struct FileType
{
    FileFormat format;
    std::u16string_view description;
    std::u16string_view extension; // without the dot
};

struct WindowDescription;

// What a command asks for: the panel's document on the clipboard (its picture, its vector
// form and its job line as text); saved where the user says, the dialog titled `title` and
// proposing `fileName`, as one of `types`; printed; or another window opened (or brought to
// the front), its controls filled in with `fill`.
struct CopyRequest
{
    Document document;
};
struct SaveRequest
{
    Document document;
    std::u16string title;
    std::u16string fileName;
    std::span<const FileType> types;
};
struct PrintRequest
{
    Document document;
};
struct OpenRequest
{
    const WindowDescription *window;
    std::vector<SetText> fill;
};
using CommandRequest = std::variant<CopyRequest, SaveRequest, PrintRequest, OpenRequest>;

// A command of a panel, offered in the context menu of `menuOf` and by its shortcut while
// the panel is in front. Tools find it by `id` (Qt) or by its place among the panel's
// commands (Windows).
struct Command
{
    std::string_view id;
    std::u16string_view text; // the menu item, its access key marked with '&'
    Shortcut shortcut;
    ControlName menuOf;
    // Whether it can run on the panel's last result (null before the first one).
    bool (*enabled)(const Document *last);
    // The request, from the last result and a reading of each control of `reads`.
    CommandRequest (*handle)(const Document *last, std::span<const Reading> readings);
    std::span<const ControlName> reads = {};
};

struct PanelTable
{
    std::span<const ControlRow> controls;
    std::span<const Title> titles;
    std::span<const Event> events;
    std::span<const Command> commands = {};
};

// The row of `name`; null when the panel has no such control.
const ControlRow *findControl(const PanelTable &panel, ControlName name);

// What is wrong with a panel's tables: names used twice, events, titles or outcomes
// naming controls that are missing or of the wrong kind. Empty when all is well.
std::vector<std::string> checkPanel(const PanelTable &panel);

// The same for one outcome: every control it names exists and is of a kind that takes it.
std::vector<std::string> checkOutcome(const PanelTable &panel, const Outcome &outcome);

} // namespace korvane
