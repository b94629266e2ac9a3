// The driver behind a narrow C interface, for a page's script: the module's exports are what
// the page reports (an event, a tab, a key, a size, a command, an answer), its imports from
// the module "korvane" what the driver has the page do. Windows are numbered from 0, the main
// window first; a control is (panel, index in its panel's table), the tab strip (-1, 0).
// Strings cross as UTF-16 in linear memory: into the module through the buffer kv_inbox gives,
// out of it as a pointer and a length in code units. Structured data (a control to make, the
// commands, a picture's text) goes out as JSON.

#include "app/mainwindow.h"
#include "common/driver.h"
#include "common/typeface.h"
#include "web/json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#define KV_IMPORT(name) __attribute__((import_module("korvane"), import_name(#name)))
#define KV_EXPORT(name) extern "C" __attribute__((export_name(#name)))

using korvane::page::Json;

extern "C" {
// A window's frame (name, caption, client size, font, tabs) made, not yet shown.
KV_IMPORT(window) void kvWindow(int win, const char16_t *json, int length);
KV_IMPORT(create) void kvCreate(int win, const char16_t *json, int length);
KV_IMPORT(link) void kvLink(int win, int labelPanel, int label, int panel, int index);
KV_IMPORT(place) void kvPlace(int win, int panel, int index, int x, int y, int w, int h);
// The text of a control, put in the inbox: its length.
KV_IMPORT(read_text) int kvReadText(int win, int panel, int index);
KV_IMPORT(read_value) int kvReadValue(int win, int panel, int index);
// The control with the focus: (panel + 1) * 65536 + index; -1 for none.
KV_IMPORT(focus) int kvFocus(int win);
KV_IMPORT(set_text) void kvSetText(int win, int panel, int index, const char16_t *text, int length);
KV_IMPORT(pick) void kvPick(int win, int panel, int index, int item);
KV_IMPORT(set_caption)
void kvSetCaption(int win, int panel, int index, const char16_t *text, int length);
// A label's caption as shown, in CSS pixels: width * 65536 + height.
KV_IMPORT(caption_size) int kvCaptionSize(int win, int panel, int index);
// A colour: its role (Colour::Role), and for a fixed one 0xRRGGBB.
KV_IMPORT(set_background) void kvSetBackground(int win, int panel, int index, int role, int rgb);
KV_IMPORT(set_option) void kvSetOption(int win, int panel, int index, int enabled, int chosen);
KV_IMPORT(set_value) void kvSetValue(int win, int panel, int index, int value);
KV_IMPORT(set_tooltip)
void kvSetToolTip(int win, int panel, int index, const char16_t *text, int length);
// A diagram has a new drawing: the page asks kv_paint for its pixels when it paints.
KV_IMPORT(draw) void kvDraw(int win, int panel, int index);
KV_IMPORT(front) void kvFront(int win, int panel);
KV_IMPORT(set_focus) void kvSetFocus(int win, int panel, int index, int byTab, int selectAll);
// The error box, {title, message, ok}; answered when it is closed.
KV_IMPORT(show_error) void kvShowError(int win, const char16_t *json, int length);
KV_IMPORT(commands_changed) void kvCommandsChanged(int win);
KV_IMPORT(show_window) void kvShowWindow(int win, int shown);
// How wide a text is in the window's font at `pixels`, in pixels.
KV_IMPORT(text_width) double kvTextWidth(int win, const char16_t *text, int length, int pixels);
// The picture {width, height, font, pixels, lines: [[left, top, text]]} whose sheet's pixels
// (RGBA) are at `rgba`, with the document's text: on the clipboard; answered when done.
KV_IMPORT(copy)
void kvCopy(int win, const char16_t *json, int length, const std::uint8_t *rgba, int size);
// The save dialog {title, name, types: [label], type, save, cancel}; answered with the name.
KV_IMPORT(ask_save) void kvAskSave(int win, const char16_t *json, int length);
// A file downloaded: {name, type}, then its bytes (SVG), or for a picture the JSON of copy
// and its pixels.
KV_IMPORT(download)
void kvDownload(int win, const char16_t *json, int length, const std::uint8_t *bytes, int size);
// The page, as SVG in CSS pixels {job, width, height (mm), svg}, printed; answered when done.
KV_IMPORT(print) void kvPrint(int win, const char16_t *json, int length);
// The settings' bytes (char codes 0-255) put in the inbox: their length, -1 for none.
KV_IMPORT(read_settings) int kvReadSettings(const char16_t *name, int length);
// 0 when kept; else the length of the system's reason, put in the inbox.
KV_IMPORT(write_settings)
int kvWriteSettings(const char16_t *name, int length, const char16_t *bytes, int size);
}

namespace korvane::page {
namespace {

std::u16string g_inbox;
std::u16string g_outbox;
std::vector<std::uint8_t> g_pixels;
int g_pixelsWidth = 0;
int g_pixelsHeight = 0;

std::u16string wide(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

// Millimetres of A4, and its size in CSS pixels (96 to the inch).
constexpr double A4Long = 297, A4Short = 210;
constexpr double PixelsPerMillimetre = 96 / 25.4;
// A CSS pixel is a 96th of an inch.
constexpr int TwipsPerPixel = TwipsPerInch / 96;

class WebWindow;
std::vector<std::unique_ptr<WebWindow>> g_windows;

class WebWindow final : public FrontEnd, public DocumentIo
{
public:
    WebWindow(int id, const WindowDescription &description, int owner)
        : m_id(id), m_description(description), m_driver(description, *this, *this)
    {
        Json frame;
        frame.field("name", description.name)
            .field("caption", description.caption)
            .field("width", description.clientWidth)
            .field("height", description.clientHeight)
            .field("owner", owner)
            .field("tabStrip", description.tabStrip)
            .field("panelArray", description.panelArray)
            .field("points", description.font.points);
        frame.key("faces").open('[');
        for (std::u16string_view face : faceCandidates(description.font.face))
            frame.item(face);
        frame.close(']').key("tabStripRect").rect(description.tabStripRect);
        frame.key("tabs").open('[');
        for (const Tab &tab : description.tabs)
            frame.item(tab.caption);
        frame.close(']');
        send(kvWindow, frame);
    }

    Driver &driver() { return m_driver; }

    ControlRef ref(int panel, int index) const
    {
        if (panel < 0 || std::size_t(panel) >= m_description.tabs.size())
            return {NoPanel, m_description.tabStrip};
        const auto &controls = m_description.tabs[std::size_t(panel)].panel->controls;
        if (index < 0 || std::size_t(index) >= controls.size())
            return {NoPanel, {}};
        return {panel, controls[std::size_t(index)].name};
    }

    const ControlRow *row(int panel, int index) const
    {
        const ControlRef control = ref(panel, index);
        return control.panel == NoPanel ? nullptr : &m_driver.rowOf(control);
    }

    // The picture of a diagram's last drawing at `dpi`, as RGBA.
    void paint(int panel, int index, int dpi, std::uint32_t paper, std::uint32_t ink,
               std::uint32_t highlight)
    {
        const auto found = std::find_if(m_drawings.begin(), m_drawings.end(), [&](const auto &d) {
            return d.first == ref(panel, index);
        });
        if (found == m_drawings.end() || dpi < 24 || dpi > 960)
            return setPixels({}, 0xffffff, 0, 0);
        setPixels(rasterise(found->second, dpi), paper, ink, highlight);
    }

    // FrontEnd
    void create(int panel, const ControlRow &row, const TwipsRect &rect,
                const Accessible &spoken) override
    {
        Json control;
        control.field("panel", panel)
            .field("index", indexOf(panel, row.name))
            .field("name", row.name)
            .field("kind", int(row.kind))
            .field("text", row.kind == ControlKind::Button ? withoutMarker(row.text) : row.text)
            .field("focus", behaviourOf(row.kind).takesFocus)
            .field("background", colourCss(row.background))
            .field("foreground", colourCss(row.foreground))
            .field("namedByText", spoken.namedByText)
            .field("spoken", spoken.name)
            .field("description", spoken.description);
        if (row.kind == ControlKind::Button)
            if (const auto key = accessKeyOf(row.text))
                control.field("accessKey", std::u16string_view(&*key, 1));
        if (row.font) {
            control.field("points", row.font->points).key("faces").open('[');
            for (std::u16string_view face : faceCandidates(row.font->face))
                control.item(face);
            control.close(']');
        }
        control.key("rect").rect(rect);
        control.key("scroll").open('[');
        for (int v :
             {row.scroll.minimum, row.scroll.maximum, row.scroll.smallStep, row.scroll.largeStep})
            control.item(v);
        control.close(']').key("items").open('[');
        for (std::u16string_view item : row.items)
            control.item(item);
        control.close(']');
        send(kvCreate, control);
    }
    void linkTitle(ControlRef label, ControlRef first) override
    {
        kvLink(m_id, label.panel, indexOf(label.panel, label.control), first.panel,
               indexOf(first.panel, first.control));
    }
    void place(ControlRef control, const TwipsRect &rect) override
    {
        kvPlace(m_id, control.panel, indexOf(control), rect.left, rect.top, rect.width,
                rect.height);
    }
    Reading read(ControlRef control) override
    {
        const ControlKind kind = m_driver.rowOf(control).kind;
        if (kind == ControlKind::VScrollBar || kind == ControlKind::CheckBox)
            return {{}, kvReadValue(m_id, control.panel, indexOf(control))};
        const int length = kvReadText(m_id, control.panel, indexOf(control));
        return {g_inbox.substr(0, std::size_t(std::clamp(length, 0, int(g_inbox.size()))))};
    }
    std::optional<ControlRef> focus() override
    {
        const int at = kvFocus(m_id);
        if (at < 0)
            return std::nullopt;
        const ControlRef control = ref(at / 65536 - 1, at % 65536);
        if (control.control.empty())
            return std::nullopt;
        return control;
    }
    void setText(ControlRef control, std::u16string_view text) override
    {
        if (m_driver.rowOf(control).kind == ControlKind::List) {
            const auto &items = m_driver.rowOf(control).items;
            const auto item = std::find(items.begin(), items.end(), text);
            if (item != items.end())
                return pick(control, std::size_t(item - items.begin()));
        }
        kvSetText(m_id, control.panel, indexOf(control), text.data(), int(text.size()));
    }
    void pick(ControlRef list, std::size_t item) override
    {
        kvPick(m_id, list.panel, indexOf(list), int(item));
    }
    void setCaption(ControlRef label, std::u16string_view text) override
    {
        kvSetCaption(m_id, label.panel, indexOf(label), text.data(), int(text.size()));
    }
    TwipsSize captionSize(ControlRef label) override
    {
        const int size = kvCaptionSize(m_id, label.panel, indexOf(label));
        return {size / 65536 * TwipsPerPixel, size % 65536 * TwipsPerPixel};
    }
    void setBackground(ControlRef control, const Colour &colour) override
    {
        kvSetBackground(m_id, control.panel, indexOf(control), int(colour.role),
                        int(rgbOf(colour.rgb)));
    }
    void setOption(ControlRef control, bool enabled, bool chosen) override
    {
        kvSetOption(m_id, control.panel, indexOf(control), enabled, chosen);
    }
    void setToolTip(ControlRef control, std::u16string_view text) override
    {
        kvSetToolTip(m_id, control.panel, indexOf(control), text.data(), int(text.size()));
    }
    void draw(ControlRef control, const Drawing &drawing) override
    {
        const auto found = std::find_if(m_drawings.begin(), m_drawings.end(),
                                        [&](const auto &d) { return d.first == control; });
        if (found == m_drawings.end())
            m_drawings.emplace_back(control, drawing);
        else
            found->second = drawing;
        kvDraw(m_id, control.panel, indexOf(control));
    }
    void bringToFront(int panel) override { kvFront(m_id, panel); }
    void setFocus(ControlRef control, bool byTab, bool selectAll) override
    {
        kvSetFocus(m_id, control.panel, control.panel == NoPanel ? 0 : indexOf(control), byTab,
                   selectAll);
    }
    Answered showError(std::u16string_view message) override
    {
        Json box;
        box.field("title", ErrorTitle).field("message", message).field("ok", OkCaption);
        send(kvShowError, box);
        return std::nullopt;
    }
    void commandsChanged() override { kvCommandsChanged(m_id); }
    Answered makeWindow(const WindowDescription &window) override
    {
        const int id = int(g_windows.size());
        g_windows.push_back(std::make_unique<WebWindow>(id, window, m_id));
        Driver &opened = g_windows.back()->driver();
        opened.start();
        return Answer{.opened = &opened};
    }
    void showWindow(bool shown) override { kvShowWindow(m_id, shown); }

    // DocumentIo
    Answered copy(const Document &document) override
    {
        Json picture = pictureOf(document);
        picture.field("text", documentText(document));
        send(kvCopy, picture, g_pixels);
        return std::nullopt;
    }
    bool writes(FileFormat format) override { return format != FileFormat::Pdf; }
    std::u16string folder(UserFolder) override { return {}; }
    // A download never overwrites: the browser names a second file of a name anew.
    bool exists(std::u16string_view) override { return false; }
    Answered askSaveName(const SaveDialog &dialog) override
    {
        Json box;
        box.field("title", dialog.title)
            .field("name", dialog.fileName)
            .field("type", int(dialog.type))
            .field("save", SaveCaption)
            .field("cancel", CancelCaption);
        box.key("types").open('[');
        for (const FileType &type : dialog.types)
            box.item(filterLabel(type));
        box.close(']');
        send(kvAskSave, box);
        return std::nullopt;
    }
    Answered write(const Document &document, std::u16string_view path, FileFormat format) override
    {
        // A download takes a file's name, not a folder's.
        const std::size_t slash = path.find_last_of(u"/\\");
        const std::u16string_view name =
            slash == std::u16string_view::npos ? path : path.substr(slash + 1);
        if (format == FileFormat::Svg) {
            const std::string svg = toSvg(document, m_description.font.face);
            Json file;
            file.field("name", name).field("type", std::u16string_view(u"image/svg+xml"));
            send(kvDownload, file,
                 std::span(reinterpret_cast<const std::uint8_t *>(svg.data()), svg.size()));
            return Answer{};
        }
        Json file = pictureOf(document);
        file.field("name", name).field("type", std::u16string_view(u"image/png"));
        send(kvDownload, file, g_pixels);
        return Answer{};
    }
    Answered print(const Document &document, std::u16string_view jobName) override
    {
        const bool across = printsAcross(document);
        const double width = across ? A4Long : A4Short, height = across ? A4Short : A4Long;
        Json page;
        page.field("job", jobName)
            .field("width", int(width))
            .field("height", int(height))
            .field("svg",
                   pageSvg(document, width * PixelsPerMillimetre, height * PixelsPerMillimetre));
        send(kvPrint, page);
        return std::nullopt;
    }
    std::optional<std::string> readSettings(std::string_view name) override
    {
        const std::u16string key = wide(name);
        const int length = kvReadSettings(key.data(), int(key.size()));
        if (length < 0 || std::size_t(length) > g_inbox.size())
            return std::nullopt;
        std::string bytes(std::size_t(length), '\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = char(g_inbox[i] & 0xff);
        return bytes;
    }
    std::optional<std::u16string> writeSettings(std::string_view name,
                                                std::string_view bytes) override
    {
        const std::u16string key = wide(name);
        std::u16string codes(bytes.size(), u'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            codes[i] = char16_t(static_cast<unsigned char>(bytes[i]));
        const int failed =
            kvWriteSettings(key.data(), int(key.size()), codes.data(), int(codes.size()));
        if (failed <= 0)
            return std::nullopt;
        return g_inbox.substr(0, std::size_t(std::min(failed, int(g_inbox.size()))));
    }

private:
    int indexOf(int panel, ControlName name) const
    {
        if (panel < 0)
            return 0;
        const auto &controls = m_description.tabs[std::size_t(panel)].panel->controls;
        for (std::size_t i = 0; i < controls.size(); ++i)
            if (controls[i].name == name)
                return int(i);
        return -1;
    }
    int indexOf(ControlRef control) const { return indexOf(control.panel, control.control); }

    static std::uint32_t rgbOf(const Rgb &rgb)
    {
        return std::uint32_t(rgb.r) << 16 | std::uint32_t(rgb.g) << 8 | rgb.b;
    }
    // A colour as the page's style sheet names it: the user's scheme's by its custom
    // property, a fixed one as #rrggbb; empty for the default.
    static std::u16string colourCss(const Colour &colour)
    {
        switch (colour.role) {
        case Colour::Role::Default:
            return {};
        case Colour::Role::Window:
            return u"var(--window)";
        case Colour::Role::WindowText:
            return u"var(--window-text)";
        case Colour::Role::Highlight:
            return u"var(--highlight)";
        case Colour::Role::ActiveBorder:
            return u"var(--active-border)";
        case Colour::Role::Fixed:
            break;
        }
        // A leading 1 keeps the zeros of the six digits; the '#' takes its place.
        char hex[7];
        std::to_chars(hex, hex + 7, rgbOf(colour.rgb) | 0x1000000, 16);
        hex[0] = '#';
        return wide(std::string_view(hex, 7));
    }

    static void setPixels(const Raster &raster, std::uint32_t paper, std::uint32_t ink,
                          std::uint32_t highlight)
    {
        g_pixelsWidth = raster.width;
        g_pixelsHeight = raster.height;
        std::vector<std::uint32_t> rgb(std::size_t(raster.width) * std::size_t(raster.height));
        fillPixels(raster, paper, ink, rgb.data(), std::size_t(raster.width), highlight);
        g_pixels.resize(rgb.size() * 4);
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            g_pixels[4 * i] = std::uint8_t(rgb[i] >> 16);
            g_pixels[4 * i + 1] = std::uint8_t(rgb[i] >> 8);
            g_pixels[4 * i + 2] = std::uint8_t(rgb[i]);
            g_pixels[4 * i + 3] = 255;
        }
    }

    TextWidth measured() const
    {
        return [id = m_id](std::u16string_view text, int pixels) {
            return kvTextWidth(id, text.data(), int(text.size()), pixels);
        };
    }

    // The document's picture: its sheet's pixels in g_pixels, and what the page writes on it.
    Json pictureOf(const Document &document)
    {
        const PictureLayout layout = layoutPicture(document, m_description.font, measured());
        setPixels(layout.sheet, 0xffffff, 0, rgbOf(MarkColour));
        Json picture;
        picture.field("width", layout.width)
            .field("height", layout.height)
            .field("sheetWidth", layout.sheet.width)
            .field("sheetHeight", layout.sheet.height)
            .field("font", layout.fontPixels)
            .field("lineHeight", layout.lineHeight);
        picture.key("lines").open('[');
        for (const TextLine &line : layout.lines)
            picture.open('[').item(line.left).item(line.top).item(line.text).close(']');
        picture.close(']');
        return picture;
    }

    // The page as the core lays it out, in CSS pixels, the whole paper printable: the browser
    // prints it without margins of its own.
    std::u16string pageSvg(const Document &document, double width, double height)
    {
        const PageLayout page =
            layoutPage(document, {width, height, 0, 0, width, height}, 96, measured());
        Svg svg(width, height);
        svg.text(page.lines, page.textPixels, m_description.font.face, {0, 0, 0}, 0);
        const double k = page.unitsPerTwip;
        for (const GridBlock &block : document.drawing.blocks)
            forEachStroke(
                block, k,
                [&](double x1, double y1, double x2, double y2) {
                    svg.line(page.sheetLeft + x1 * k, page.sheetTop + y1 * k,
                             page.sheetLeft + x2 * k, page.sheetTop + y2 * k, page.lineWidth,
                             {0, 0, 0}, page.squareEnds);
                },
                [&](double x, double y, double w, double h) {
                    svg.rect(page.sheetLeft + x * k, page.sheetTop + y * k, w * k, h * k);
                });
        for (const PageMark &m : page.marks)
            svg.line(m.x1, m.y1, m.x2, m.y2, page.lineWidth, MarkColour, page.squareEnds);
        svg.text(page.numbers, page.numberPixels, m_description.font.face, MarkColour,
                 page.numberPixels);
        return svg.finish();
    }

    template <typename Import> void send(Import import, const Json &json)
    {
        const std::u16string &text = json.text();
        import(m_id, text.data(), int(text.size()));
    }
    template <typename Import>
    void send(Import import, const Json &json, std::span<const std::uint8_t> bytes)
    {
        const std::u16string &text = json.text();
        import(m_id, text.data(), int(text.size()), bytes.data(), int(bytes.size()));
    }

    int m_id;
    const WindowDescription &m_description;
    Driver m_driver;
    std::vector<std::pair<ControlRef, Drawing>> m_drawings;
};

WebWindow *windowOf(int win)
{
    if (win < 0 || std::size_t(win) >= g_windows.size())
        return nullptr;
    return g_windows[std::size_t(win)].get();
}

int outgoing(std::u16string text)
{
    g_outbox = std::move(text);
    return int(g_outbox.size());
}

// The commands as a menu shows them: [panel, index, id, text, shortcut, enabled].
int commandsOut(const std::vector<CommandEntry> &entries)
{
    Json list('[');
    for (const CommandEntry &entry : entries) {
        list.open('[')
            .item(entry.panel)
            .item(int(entry.index))
            .item(wide(entry.command->id))
            .item(withoutMarker(entry.command->text))
            .item(entry.shortcut)
            .item(entry.enabled)
            .item(wide(entry.command->menuOf))
            .close(']');
    }
    return outgoing(list.text());
}

} // namespace
} // namespace korvane::page

using namespace korvane;
using namespace korvane::page;

// The buffer for a string into the module, `length` code units long.
KV_EXPORT(kv_inbox) char16_t *kvInbox(int length)
{
    g_inbox.assign(std::size_t(std::clamp(length, 0, 1 << 26)), u'\0');
    return g_inbox.data();
}
KV_EXPORT(kv_outbox) const char16_t *kvOutbox()
{
    return g_outbox.data();
}

// The main window made and started: its number.
KV_EXPORT(kv_main) int kvMain()
{
    const int id = int(g_windows.size());
    g_windows.push_back(std::make_unique<WebWindow>(id, mainWindow, -1));
    g_windows.back()->driver().start();
    return id;
}

KV_EXPORT(kv_activated) void kvActivated(int win, int panel, int index)
{
    if (WebWindow *window = windowOf(win); window && window->row(panel, index))
        window->driver().activated(window->ref(panel, index));
}
KV_EXPORT(kv_tab) void kvTab(int win, int tab)
{
    if (WebWindow *window = windowOf(win))
        window->driver().tabSelected(tab);
}
// A key before the control with the focus has it (KeyPress::Key: 0 Tab, 1 a letter, 2 other):
// 1 when the driver used it.
KV_EXPORT(kv_key) int kvKey(int win, int key, int letter, int shift, int control, int alt)
{
    WebWindow *window = windowOf(win);
    if (!window || key < 0 || key > 2)
        return 0;
    return window->driver().keyPressed(
        {KeyPress::Key(key), char16_t(letter), shift != 0, control != 0, alt != 0});
}
// A scroll bar asked to move (ScrollRequest), `thumb` where its thumb was let go: its new
// value set and reported.
KV_EXPORT(kv_scroll) void kvScroll(int win, int panel, int index, int request, int thumb)
{
    WebWindow *window = windowOf(win);
    const ControlRow *row = window ? window->row(panel, index) : nullptr;
    if (!row || row->kind != ControlKind::VScrollBar || request < 0 ||
        request > int(ScrollRequest::Bottom) || window->driver().waiting())
        return;
    const int now = kvReadValue(win, panel, index);
    const int value = scrolledTo(row->scroll, now, ScrollRequest(request), thumb);
    if (value == now)
        return;
    kvSetValue(win, panel, index, value);
    window->driver().activated(window->ref(panel, index));
}
KV_EXPORT(kv_resized) void kvResized(int win, int width, int height)
{
    if (WebWindow *window = windowOf(win))
        window->driver().resized({width, height});
}
KV_EXPORT(kv_place_all) void kvPlaceAll(int win)
{
    if (WebWindow *window = windowOf(win))
        window->driver().placeAll();
}
KV_EXPORT(kv_window_activated) void kvWindowActivated(int win, int active)
{
    if (WebWindow *window = windowOf(win))
        window->driver().windowActivated(active != 0);
}
// 1 when the window goes (the page then hides it); 0 when it stays.
KV_EXPORT(kv_closing) int kvClosing(int win)
{
    WebWindow *window = windowOf(win);
    return window && window->driver().closing();
}
// The window's commands, or those of a control's context menu, as JSON in the outbox.
KV_EXPORT(kv_commands) int kvCommands(int win)
{
    WebWindow *window = windowOf(win);
    return window ? commandsOut(window->driver().commands()) : outgoing(u"[]");
}
KV_EXPORT(kv_menu) int kvMenu(int win, int panel, int index)
{
    WebWindow *window = windowOf(win);
    if (!window || !window->row(panel, index))
        return outgoing(u"[]");
    return commandsOut(window->driver().menu(window->ref(panel, index)));
}
KV_EXPORT(kv_run) void kvRun(int win, int panel, int index)
{
    if (WebWindow *window = windowOf(win))
        window->driver().run(panel, std::size_t(std::max(index, 0)));
}
// The answer to the window's open request: 0 done (a box closed, a copy or print made), 1 a
// name chosen (the inbox, and the type picked), 2 cancelled, 3 failed (the reason, inboxed).
KV_EXPORT(kv_answer) void kvAnswer(int win, int kind, int type)
{
    WebWindow *window = windowOf(win);
    if (!window || !window->driver().waiting())
        return;
    Answer answer;
    if (kind == 1)
        answer.choice = SaveChoice{g_inbox, std::size_t(std::max(type, 0))};
    else if (kind == 3)
        answer.failure = g_inbox;
    window->driver().answer(answer);
}
KV_EXPORT(kv_waiting) int kvWaiting(int win)
{
    WebWindow *window = windowOf(win);
    return window && window->driver().waiting();
}
// A diagram's pixels at `dpi` (RGBA, rows from the top), in the given colours (0xRRGGBB);
// kv_paint_width and kv_paint_height give its size.
KV_EXPORT(kv_paint)
const std::uint8_t *kvPaint(int win, int panel, int index, int dpi, int paper, int ink,
                            int highlight)
{
    if (WebWindow *window = windowOf(win))
        window->paint(panel, index, dpi, std::uint32_t(paper), std::uint32_t(ink),
                      std::uint32_t(highlight));
    return g_pixels.data();
}
KV_EXPORT(kv_paint_width) int kvPaintWidth()
{
    return g_pixelsWidth;
}
KV_EXPORT(kv_paint_height) int kvPaintHeight()
{
    return g_pixelsHeight;
}
