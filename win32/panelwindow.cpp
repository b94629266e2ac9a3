#include "win32/panelwindow.h"

#include "win32/controlid.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "win32/windowclass.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <utility>

namespace korvane::win32 {
namespace {

constexpr wchar_t ClassName[] = L"KorvanePanel";

[[noreturn]] void tableMismatch(ControlName name, const char *problem)
{
    std::fprintf(stderr, "korvane: control %.*s %s\n", int(name.size()), name.data(), problem);
    std::abort();
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::TextBox || kind == ControlKind::DropDown ||
           kind == ControlKind::Button || kind == ControlKind::VScrollBar;
}

int systemColourIndex(Colour::Role role)
{
    switch (role) {
    case Colour::Role::Window:
        return COLOR_WINDOW;
    case Colour::Role::WindowText:
        return COLOR_WINDOWTEXT;
    case Colour::Role::Highlight:
        return COLOR_HIGHLIGHT;
    case Colour::Role::ActiveBorder:
        return COLOR_ACTIVEBORDER;
    case Colour::Role::Fixed:
    case Colour::Role::Default:
        break;
    }
    return COLOR_BTNFACE;
}

// The size of a line of text in `font`: at least the font's height, also when empty.
SIZE textSize(std::u16string_view text, HFONT font)
{
    static HDC const measure = CreateCompatibleDC(nullptr);
    SelectObject(measure, font);
    SIZE size{};
    TEXTMETRICW metrics{};
    GetTextMetricsW(measure, &metrics);
    GetTextExtentPoint32W(measure, reinterpret_cast<const wchar_t *>(text.data()), int(text.size()),
                          &size);
    size.cy = std::max<LONG>(size.cy, metrics.tmHeight);
    return size;
}

} // namespace

void PanelWindow::registerClass(HINSTANCE instance)
{
    registerWindowClass(instance, ClassName, forwardToObject<PanelWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    Surface::registerClass(instance);
}

PanelWindow::PanelWindow(const PanelSpec &table, int index, HWND parent, const RECT &place, int dpi,
                         HFONT windowFont)
    : m_table(table), m_dpi(dpi), m_windowFont(windowFont)
{
    // The panels overlap: each clips its siblings, so only the one in front shows.
    m_window = CreateWindowExW(
        WS_EX_CONTROLPARENT, ClassName, L"",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(INT_PTR(panelId(index))), GetModuleHandleW(nullptr), nullptr);
    tie(m_window, this);
    m_controls.resize(table.controls.size());
    for (std::size_t i = 0; i < table.controls.size(); ++i)
        m_controls[i].row = &table.controls[i];
    // Each control is made once, in its place, in the order of the z-order it needs.
    for (Control *control : screenReaderOrder())
        create(*control);
}

// A screen reader names an input by the static label just before it in the z-order, and a
// child window goes below the siblings made before it. So each caption is made right before
// the first control it names, and labels that caption nothing (the "X" between two sizes,
// the results) last, so that they name nothing.
std::vector<PanelWindow::Control *> PanelWindow::screenReaderOrder()
{
    std::vector<Control *> order;
    const auto isLabel = [](const Control &control) {
        return control.row->kind == ControlKind::Label ||
               control.row->kind == ControlKind::AutoLabel;
    };
    for (Control &control : m_controls) {
        if (isLabel(control))
            continue;
        for (const CaptionSpec &caption : m_table.captions)
            if (!caption.controls.empty() && caption.controls.front() == control.row->name)
                order.push_back(&findRow(caption.caption));
        order.push_back(&control);
    }
    for (Control &control : m_controls)
        if (std::find(order.begin(), order.end(), &control) == order.end())
            order.push_back(&control);
    return order;
}

PanelWindow::Control &PanelWindow::findRow(ControlName name)
{
    return const_cast<Control &>(std::as_const(*this).find(name));
}

HFONT PanelWindow::fontOf(Control &control)
{
    if (!control.row->font)
        return m_windowFont;
    if (!control.font.handle() || control.fontDpi != m_dpi) {
        control.font = Font(*control.row->font, m_dpi);
        control.fontDpi = m_dpi;
    }
    return control.font.handle();
}

// Where a control goes at the panel's DPI: its twips in pixels; a label that sizes itself
// is as large as its text in its font; a drop-down box also holds the list that drops down,
// room for every item.
RECT PanelWindow::placeOf(Control &control, std::u16string_view text)
{
    const ControlSpec &row = *control.row;
    RECT r = pixelRect(row.rect, m_dpi);
    if (row.kind == ControlKind::AutoLabel) {
        const SIZE size = textSize(text, fontOf(control));
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
    } else if (row.kind == ControlKind::DropDown) {
        r.bottom += (r.bottom - r.top) * int(row.items.size()) + 2;
    }
    return r;
}

void PanelWindow::create(Control &control)
{
    const ControlSpec &row = *control.row;
    const HFONT font = fontOf(control);
    const RECT r = placeOf(control, row.text);
    const auto make = [&](const wchar_t *className, DWORD exStyle, DWORD style,
                          std::u16string_view text) {
        return CreateWindowExW(exStyle, className, wide(text).c_str(),
                               WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, m_window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(row.name))),
                               GetModuleHandleW(nullptr), nullptr);
    };
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        // No '&' access keys in labels: a caption shows as written.
        control.window = make(L"STATIC", 0, SS_LEFTNOWORDWRAP | SS_NOPREFIX, row.text);
        break;
    case ControlKind::TextBox:
        control.window = make(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL, row.text);
        // No limit: a number is never read from a text cut short.
        SendMessageW(control.window, EM_SETLIMITTEXT, 0, 0);
        break;
    case ControlKind::DropDown:
        // CBS_DROPDOWN completes nothing that is typed.
        control.window =
            make(L"COMBOBOX", 0, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, {});
        SendMessageW(control.window, CB_LIMITTEXT, 0, 0);
        for (std::u16string_view item : row.items)
            SendMessageW(control.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wide(item).c_str()));
        SetWindowTextW(control.window, wide(row.text).c_str());
        break;
    case ControlKind::Button:
        // A plain push button: none is the default, so Enter presses nothing.
        control.window = make(L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON, row.text);
        break;
    case ControlKind::VScrollBar: {
        control.window = make(L"SCROLLBAR", 0, WS_TABSTOP | SBS_VERT, {});
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
        info.nMin = row.scroll.minimum;
        info.nMax = row.scroll.maximum;
        info.nPos = row.scroll.minimum;
        SetScrollInfo(control.window, SB_CTL, &info, FALSE);
        break;
    }
    case ControlKind::PictureBox:
    case ControlKind::Diagram:
    case ControlKind::Image:
        control.surface = std::make_unique<Surface>(row, m_window, controlId(row.name), r);
        control.window = control.surface->handle();
        break;
    }
    if (!control.window)
        tableMismatch(row.name, "could not be created");
    applyFont(control, font);
    if (row.kind == ControlKind::Diagram)
        control.surface->draw({row.name, float(row.rect.width), float(row.rect.height), {}}, m_dpi);
}

void PanelWindow::applyFont(Control &control, HFONT font)
{
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const ControlSpec &row = *control.row;
    // The size boxes are narrow: their text runs from border to border, without the
    // margins a Chinese font asks for.
    if (row.kind == ControlKind::TextBox)
        SendMessageW(control.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (row.kind == ControlKind::DropDown) {
        const RECT r = pixelRect(row.rect, m_dpi);
        fitField(control.window, r.bottom - r.top);
    }
}

void PanelWindow::layout(int dpi, HFONT windowFont)
{
    m_dpi = dpi;
    m_windowFont = windowFont;
    for (Control &control : m_controls) {
        const RECT r = placeOf(control, windowText(control.window));
        SetWindowPos(control.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        applyFont(control, fontOf(control));
        if (control.row->kind == ControlKind::Diagram)
            control.surface->redraw(dpi);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

// A drop-down box is as high as its text field, whose height the box sets from its font.
// The field's frame differs between systems: measure it, and set the field once more.
void PanelWindow::fitField(HWND box, int height)
{
    int field = height - 6;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SendMessageW(box, CB_SETITEMHEIGHT, WPARAM(-1), std::max(1, field));
        RECT closed;
        GetWindowRect(box, &closed);
        const int error = int(closed.bottom - closed.top) - height;
        if (error == 0)
            return;
        field -= error;
    }
}

void PanelWindow::fitToText(const Control &control)
{
    const SIZE size =
        textSize(windowText(control.window),
                 reinterpret_cast<HFONT>(SendMessageW(control.window, WM_GETFONT, 0, 0)));
    SetWindowPos(control.window, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

const PanelWindow::Control &PanelWindow::find(ControlName name) const
{
    for (const Control &control : m_controls)
        if (control.row->name == name)
            return control;
    tableMismatch(name, "is not on this panel");
}

const PanelWindow::Control *PanelWindow::find(HWND window) const
{
    for (const Control &control : m_controls)
        if (control.window == window)
            return &control;
    return nullptr;
}

HWND PanelWindow::control(ControlName name) const
{
    return find(name).window;
}

Surface &PanelWindow::surface(ControlName name) const
{
    const Control &control = find(name);
    if (!control.surface)
        tableMismatch(name, "is no picture box");
    return *control.surface;
}

std::vector<HWND> PanelWindow::tabStops() const
{
    std::vector<HWND> stops;
    for (const Control &control : m_controls)
        if (takesFocus(control.row->kind) && IsWindowVisible(control.window) &&
            IsWindowEnabled(control.window))
            stops.push_back(control.window);
    return stops;
}

bool PanelWindow::pressAccessKey(wchar_t key)
{
    for (const Control &control : m_controls) {
        if (control.row->kind != ControlKind::Button)
            continue;
        const std::u16string_view caption = control.row->text;
        const std::size_t amp = caption.find(u'&');
        if (amp == std::u16string_view::npos || amp + 1 >= caption.size())
            continue;
        if (std::towupper(wchar_t(caption[amp + 1])) == std::towupper(key)) {
            fire(control);
            return true;
        }
    }
    return false;
}

void PanelWindow::scrolled(const Control &control, int request, int thumb)
{
    const ScrollSpec &scroll = control.row->scroll;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(control.window, SB_CTL, &info);
    int value = info.nPos;
    switch (request) {
    case SB_LINEUP:
        value -= scroll.smallStep;
        break;
    case SB_LINEDOWN:
        value += scroll.smallStep;
        break;
    case SB_PAGEUP:
        value -= scroll.largeStep;
        break;
    case SB_PAGEDOWN:
        value += scroll.largeStep;
        break;
    case SB_TOP:
        value = scroll.minimum;
        break;
    case SB_BOTTOM:
        value = scroll.maximum;
        break;
    case SB_THUMBPOSITION:
        // The thumb was let go. While it is dragged (SB_THUMBTRACK) nothing follows it.
        value = thumb;
        break;
    default:
        return;
    }
    value = std::clamp(value, scroll.minimum, scroll.maximum);
    if (value == info.nPos)
        return;
    SetScrollPos(control.window, SB_CTL, value, TRUE);
    fire(control);
}

void PanelWindow::fire(const Control &source)
{
    for (const EventSpec &event : m_table.events) {
        if (event.source != source.row->name)
            continue;
        std::vector<Reading> readings;
        readings.reserve(event.reads.size());
        for (ControlName name : event.reads) {
            const Control &read = find(name);
            if (read.row->kind == ControlKind::VScrollBar)
                readings.push_back({{}, GetScrollPos(read.window, SB_CTL)});
            else if (read.row->kind == ControlKind::TextBox ||
                     read.row->kind == ControlKind::DropDown)
                readings.push_back({windowText(read.window)});
            else
                tableMismatch(name, "cannot be read");
        }
        apply(event.handle(readings));
    }
}

void PanelWindow::apply(const Outcome &outcome)
{
    if (const auto *refusal = std::get_if<Refusal>(&outcome)) {
        HWND focus = control(refusal->focus);
        MessageBoxW(GetAncestor(m_window, GA_ROOT), wide(refusal->message).c_str(),
                    wide(ErrorTitle).c_str(), MB_OK | MB_ICONERROR);
        SetFocus(focus);
        return;
    }
    const Update &update = std::get<Update>(outcome);
    if (update.drawing)
        surface(update.drawing->control).draw(*update.drawing, m_dpi);
    for (const SetCaption &caption : update.captions) {
        const Control &label = find(caption.control);
        SetWindowTextW(label.window, wide(caption.text).c_str());
        if (label.row->kind == ControlKind::AutoLabel)
            fitToText(label);
    }
    for (const SetBackground &background : update.backgrounds)
        surface(background.control).setBackground(background.colour);
}

LRESULT PanelWindow::colourStatic(HDC dc, HWND label)
{
    const Control *control = find(label);
    const Colour::Role background = control ? control->row->background.role : Colour::Role::Default;
    const Colour::Role foreground = control ? control->row->foreground.role : Colour::Role::Default;
    const int backgroundIndex = systemColourIndex(background);
    SetBkColor(dc, GetSysColor(backgroundIndex));
    SetTextColor(dc,
                 GetSysColor(foreground == Colour::Role::Default ? COLOR_BTNTEXT
                                                                 : systemColourIndex(foreground)));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(backgroundIndex));
}

LRESULT PanelWindow::onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            if (const Control *source = find(reinterpret_cast<HWND>(lParam)))
                fire(*source);
        return 0;
    case WM_VSCROLL:
        if (const Control *source = find(reinterpret_cast<HWND>(lParam)))
            scrolled(*source, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT: {
        // The frame's border; the background is the class brush.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        RECT area;
        GetClientRect(m_window, &area);
        DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
        EndPaint(m_window, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace korvane::win32
