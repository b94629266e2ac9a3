#include "win32/panelwindow.h"

#include "common/rules.h"
#include "win32/accessibility.h"
#include "win32/colours.h"
#include "win32/controlid.h"
#include "win32/documentcommands.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "win32/windowclass.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <windowsx.h>

namespace korvane::win32 {
namespace {

constexpr wchar_t ClassName[] = L"KorvanePanel";

[[noreturn]] void tableMismatch(ControlName name, const char *problem)
{
    std::fprintf(stderr, "korvane: control %.*s %s\n", int(name.size()), name.data(), problem);
    std::abort();
}

// Wine draws its Chinese stand-in face taller than the Windows faces the layout was drawn
// for, and the size boxes are narrow: without the inner margins a text box asks for, their
// numbers fit between the borders. The one place the layout is bent for a toolkit.
constexpr bool TextBoxesWithoutMargins = true;

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

PanelWindow::PanelWindow(const PanelTable &table, int index, HWND parent, const RECT &place,
                         int dpi, HFONT windowFont, const Typeface &windowFace)
    : m_table(table), m_dpi(dpi), m_windowFont(windowFont), m_windowFace(windowFace)
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
    for (Control &control : m_controls)
        create(control);
    nameForScreenReaders();
    apply(initialUpdate(table));
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
    const ControlRow &row = *control.row;
    RECT r = pixelRect(row.rect, m_dpi);
    if (row.kind == ControlKind::AutoLabel) {
        const SIZE size = textSize(text, fontOf(control));
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
    } else if (row.kind == ControlKind::DropDown) {
        const int listBorders = 2 * GetSystemMetrics(SM_CYBORDER);
        r.bottom += (r.bottom - r.top) * int(row.items.size()) + listBorders;
    }
    return r;
}

void PanelWindow::create(Control &control)
{
    const ControlRow &row = *control.row;
    const HFONT font = fontOf(control);
    const RECT r = placeOf(control, row.text);
    const DWORD tabStop = takesFocus(row.kind) ? WS_TABSTOP : 0;
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
        control.window = make(L"EDIT", WS_EX_CLIENTEDGE, tabStop | ES_AUTOHSCROLL, row.text);
        // No limit: a number is never read from a text cut short.
        SendMessageW(control.window, EM_SETLIMITTEXT, 0, 0);
        break;
    case ControlKind::DropDown:
        // CBS_DROPDOWN completes nothing that is typed.
        control.window =
            make(L"COMBOBOX", 0, tabStop | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, {});
        SendMessageW(control.window, CB_LIMITTEXT, 0, 0);
        for (std::u16string_view item : row.items)
            SendMessageW(control.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wide(item).c_str()));
        SetWindowTextW(control.window, wide(row.text).c_str());
        break;
    case ControlKind::Button:
        // A plain push button: none is the default, so Enter presses nothing.
        control.window = make(L"BUTTON", 0, tabStop | BS_PUSHBUTTON, row.text);
        break;
    case ControlKind::VScrollBar: {
        control.window = make(L"SCROLLBAR", 0, tabStop | SBS_VERT, {});
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
}

void PanelWindow::applyFont(Control &control, HFONT font)
{
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const ControlRow &row = *control.row;
    if (TextBoxesWithoutMargins && row.kind == ControlKind::TextBox)
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

// A drop-down box is as high as its text field, whose height the box sets from its font,
// plus a frame that differs between systems: set the field, measure the frame, and set the
// field once more.
void PanelWindow::fitField(HWND box, int height)
{
    int field = height;
    for (int attempt = 0; attempt < 3; ++attempt) {
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

const ControlRow *PanelWindow::rowOf(HWND window) const
{
    for (const Control &control : m_controls)
        if (control.window == window || IsChild(control.window, window))
            return control.row;
    return nullptr;
}

void PanelWindow::press(ControlName button)
{
    fire(find(button));
}

void PanelWindow::nameForScreenReaders()
{
    for (const Control &control : m_controls) {
        const Accessible spoken = accessibleOf(m_table, *control.row);
        speakAs(control.window, spoken);
        // A drop-down box's text field, where its focus goes, speaks for the box.
        COMBOBOXINFO box{};
        box.cbSize = sizeof box;
        if (control.row->kind == ControlKind::DropDown && GetComboBoxInfo(control.window, &box))
            speakAs(box.hwndItem, spoken);
    }
}

void PanelWindow::scrolled(const Control &control, int request, int thumb)
{
    const ScrollRange &scroll = control.row->scroll;
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
    for (const Event &event : m_table.events) {
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
    for (const SetToolTip &tip : update.toolTips)
        setToolTip(find(tip.control), tip.text);
    if (update.document)
        m_document = *update.document;
}

void PanelWindow::setToolTip(Control &control, std::u16string_view text)
{
    if (!m_toolTips) {
        // TTS_NOPREFIX: an '&' in a tip is shown as written.
        m_toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                     WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (!m_toolTips)
            return;
    }
    std::wstring tip = wide(text);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = m_window;
    tool.uId = reinterpret_cast<UINT_PTR>(control.window);
    tool.lpszText = tip.data();
    if (control.hasToolTip)
        SendMessageW(m_toolTips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    else
        control.hasToolTip =
            SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PanelWindow::run(const Command &command)
{
    if (!commandEnabled(command, document(), m_inFront))
        return;
    // The request carries its own copy of the document.
    const CommandRequest request = command.handle(*m_document);
    carryOut(GetAncestor(m_window, GA_ROOT), request, m_windowFace.face);
}

bool PanelWindow::showMenu(const Control &control, LPARAM at)
{
    const HMENU menu = CreatePopupMenu();
    int items = 0;
    for (const Command &command : m_table.commands) {
        if (command.menuOf != control.row->name)
            continue;
        const std::wstring text = wide(command.text) + L"\t" + wide(shortcutText(command.shortcut));
        const UINT state = commandEnabled(command, document(), m_inFront) ? MF_ENABLED : MF_GRAYED;
        AppendMenuW(menu, MF_STRING | state, UINT_PTR(command.number), text.c_str());
        ++items;
    }
    if (items > 0) {
        POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
        if (point.x == -1 && point.y == -1) {
            RECT r;
            GetWindowRect(control.window, &r);
            point = {r.left, r.top};
        }
        // The item chosen comes back as a WM_COMMAND to this panel.
        TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                         m_window, nullptr);
    }
    DestroyMenu(menu);
    return items > 0;
}

LRESULT PanelWindow::colourStatic(HDC dc, HWND label)
{
    const Control *control = find(label);
    const Colour background = control ? control->row->background : Colour{};
    const Colour foreground = control ? control->row->foreground : Colour{};
    SetBkColor(dc, colourOf(background, COLOR_BTNFACE));
    SetTextColor(dc, colourOf(foreground, COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(
        GetSysColorBrush(systemColourIndex(background.role, COLOR_BTNFACE)));
}

LRESULT PanelWindow::onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // From a menu (0) or an accelerator (1) there is no control: a command by its number.
        // A button's click names the button.
        if (lParam == 0 && HIWORD(wParam) <= 1) {
            for (const Command &command : m_table.commands)
                if (command.number == LOWORD(wParam))
                    run(command);
        } else if (HIWORD(wParam) == BN_CLICKED) {
            if (const Control *source = find(reinterpret_cast<HWND>(lParam)))
                fire(*source);
        }
        return 0;
    case WM_CONTEXTMENU:
        if (const Control *clicked = find(reinterpret_cast<HWND>(wParam)))
            if (showMenu(*clicked, lParam))
                return 0;
        break;
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
