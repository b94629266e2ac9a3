#include "win32/toplevelwindow.h"

#include "win32/accessibility.h"
#include "win32/colours.h"
#include "win32/controlid.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "win32/windowclass.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <windowsx.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace korvane::win32 {
namespace {

constexpr wchar_t ClassName[] = L"KorvaneMain";
constexpr wchar_t PanelClassName[] = L"KorvanePanel";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Wine draws its Chinese stand-in face taller than the Windows faces the layout was drawn
// for, and the size boxes are narrow: without the inner margins a text box asks for, their
// numbers fit between the borders. The one place the layout is bent for a toolkit.
constexpr bool TextBoxesWithoutMargins = true;

[[noreturn]] void tableMismatch(ControlName name, const char *problem)
{
    std::fprintf(stderr, "korvane: control %.*s %s\n", int(name.size()), name.data(), problem);
    std::abort();
}

HICON loadIcon(HINSTANCE instance, int size)
{
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
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

bool held(int key)
{
    return GetKeyState(key) & 0x8000;
}

// A drop-down box is as high as its text field, whose height the box sets from its font,
// plus a frame that differs between systems: set the field, measure the frame, and set the
// field once more.
void fitField(HWND box, int height)
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

} // namespace

TopLevelWindow::TopLevelWindow(const WindowDescription &description, HINSTANCE instance, HWND owner)
    : m_description(description), m_documentIo(m_window, description.font),
      m_driver(description, *this, m_documentIo)
{
    // The system's own dialogs and messages in the window's language, where Windows has it:
    // "zh_CN" is "zh-CN" to Windows.
    std::wstring language(description.language.begin(), description.language.end());
    std::replace(language.begin(), language.end(), L'_', L'-');
    if (const LCID locale = LocaleNameToLCID(language.c_str(), 0))
        SetThreadUILanguage(LANGIDFROMLCID(locale));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    m_bigIcon = loadIcon(instance, GetSystemMetrics(SM_CXICON));
    m_smallIcon = loadIcon(instance, GetSystemMetrics(SM_CXSMICON));
    const auto background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    registerWindowClass(instance, ClassName, forwardToObject<TopLevelWindow>, background, m_bigIcon,
                        m_smallIcon);
    registerWindowClass(instance, PanelClassName, forwardToObject<TopLevelWindow>, background);
    Surface::registerClass(instance);

    // Sized for the system's DPI first; laid out for the window's own once it exists.
    int dpi = systemDpi();
    for (int pass = 0; pass < 2; ++pass) {
        const SIZE outer = outerSize(twipsToPixels(description.clientWidth, dpi),
                                     twipsToPixels(description.clientHeight, dpi), Style, 0, dpi);
        if (!m_window) {
            m_window = CreateWindowExW(0, ClassName, wide(description.caption).c_str(), Style,
                                       CW_USEDEFAULT, CW_USEDEFAULT, outer.cx, outer.cy, owner,
                                       nullptr, instance, nullptr);
            tie(m_window, this);
        } else {
            SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (windowDpi(m_window) == dpi)
            break;
        dpi = windowDpi(m_window);
    }
    m_dpi = dpi;
    m_font = Font(description.font, m_dpi);
    // Made first: the tab strip leads the keyboard focus order.
    if (description.tabbed()) {
        m_tabStrip = CreateWindowExW(
            0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0,
            0, m_window, reinterpret_cast<HMENU>(INT_PTR(controlId(description.tabStrip))),
            instance, nullptr);
        for (std::size_t i = 0; i < description.tabs.size(); ++i) {
            std::wstring caption = wide(description.tabs[i].caption);
            TCITEMW item{TCIF_TEXT, 0, 0, caption.data(), 0, 0, 0};
            SendMessageW(m_tabStrip, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    // The panels overlap: each clips its siblings, so only the one in front shows.
    for (std::size_t i = 0; i < description.tabs.size(); ++i) {
        const HMENU id = reinterpret_cast<HMENU>(INT_PTR(panelId(description.panelArray, int(i))));
        m_panels.push_back(
            CreateWindowExW(WS_EX_CONTROLPARENT, PanelClassName, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                            m_window, id, instance, nullptr));
        tie(m_panels.back(), this);
    }
    layout();
    std::size_t rows = 0;
    for (const Tab &tab : description.tabs)
        rows += tab.panel->controls.size();
    m_controls.reserve(rows);
    m_driver.start();
}

TopLevelWindow::~TopLevelWindow()
{
    m_opened.clear();
    // Destroyed by its owner, not closed by the user: the message loop goes on.
    if (m_window) {
        tie<TopLevelWindow>(m_window, nullptr);
        DestroyWindow(m_window);
    }
    if (m_bigIcon)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon)
        DestroyIcon(m_smallIcon);
}

// Laid out from the twips at the window's DPI: its font, the tab strip, the panels on the
// strip's display rectangle or on the whole client area, and every control.
void TopLevelWindow::layout()
{
    m_font = Font(m_description.font, m_dpi);
    RECT display;
    GetClientRect(m_window, &display);
    if (m_tabStrip) {
        SendMessageW(m_tabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.handle()), FALSE);
        setPlace(m_tabStrip, pixelRect(m_description.tabStripRect, m_dpi));
        display = displayRect();
    }
    for (HWND panel : m_panels)
        setPlace(panel, display);
    // Placed first: a drop-down box's field is fitted to its place (applyFont); a label that
    // sizes itself is measured in the font of the new DPI.
    if (!m_controls.empty())
        m_driver.placeAll();
    for (Control &control : m_controls) {
        applyFont(control);
        if (control.row->kind == ControlKind::Diagram)
            control.surface->redraw(m_dpi);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

// The area of the tab strip below its row of tabs, in the window's coordinates.
RECT TopLevelWindow::displayRect() const
{
    RECT display;
    GetClientRect(m_tabStrip, &display);
    SendMessageW(m_tabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    MapWindowPoints(m_tabStrip, m_window, reinterpret_cast<POINT *>(&display), 2);
    return display;
}

HFONT TopLevelWindow::fontOf(Control &control)
{
    if (!control.row->font)
        return m_font.handle();
    if (!control.font.handle() || control.fontDpi != m_dpi) {
        control.font = Font(*control.row->font, m_dpi);
        control.fontDpi = m_dpi;
    }
    return control.font.handle();
}

// Where a control goes at the window's DPI: at `place` in pixels; a drop-down box or list also
// holds the list that drops down, room for every item.
RECT TopLevelWindow::placeOf(const Control &control, const TwipsRect &place) const
{
    const ControlRow &row = *control.row;
    RECT r = pixelRect(place, m_dpi);
    if (row.kind == ControlKind::DropDown || row.kind == ControlKind::List) {
        const int listBorders = 2 * GetSystemMetrics(SM_CYBORDER);
        r.bottom += (r.bottom - r.top) * int(row.items.size()) + listBorders;
    }
    return r;
}

void TopLevelWindow::applyFont(Control &control)
{
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(control)), FALSE);
    const ControlRow &row = *control.row;
    if (TextBoxesWithoutMargins && row.kind == ControlKind::TextBox)
        SendMessageW(control.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    if (row.kind == ControlKind::DropDown || row.kind == ControlKind::List) {
        const RECT r = pixelRect(m_driver.placeOf(control.ref), m_dpi);
        fitField(control.window, r.bottom - r.top);
    }
}

const TopLevelWindow::Control &TopLevelWindow::find(ControlName name) const
{
    for (const Control &control : m_controls)
        if (control.row->name == name)
            return control;
    tableMismatch(name, "is not in this window");
}

const TopLevelWindow::Control *TopLevelWindow::find(HWND window) const
{
    for (const Control &control : m_controls)
        if (control.window == window || IsChild(control.window, window))
            return &control;
    return nullptr;
}

int TopLevelWindow::panelOf(HWND window) const
{
    const auto it = std::find(m_panels.begin(), m_panels.end(), window);
    return it == m_panels.end() ? NoPanel : int(it - m_panels.begin());
}

Surface &TopLevelWindow::surface(ControlName name) const
{
    const Control &control = find(name);
    if (!control.surface)
        tableMismatch(name, "is no picture box");
    return *control.surface;
}

TopLevelWindow *TopLevelWindow::opened(const WindowDescription &description) const
{
    for (const auto &window : m_opened)
        if (&window->m_description == &description)
            return window.get();
    return nullptr;
}

void TopLevelWindow::create(int panel, const ControlRow &row, const TwipsRect &rect,
                            const Accessible &spoken)
{
    Control &control = m_controls.emplace_back();
    control.ref = {panel, row.name};
    control.row = &row;
    const int id = controlId(row.name);
    const RECT r = placeOf(control, rect);
    const DWORD tabStop = behaviourOf(row.kind).takesFocus ? WS_TABSTOP : 0;
    const auto make = [&](const wchar_t *className, DWORD exStyle, DWORD style,
                          std::u16string_view text) {
        return CreateWindowExW(
            exStyle, className, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top,
            r.right - r.left, r.bottom - r.top, m_panels[std::size_t(panel)],
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    };
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        // No '&' access keys in labels: a caption shows as written.
        control.window = make(L"STATIC", 0, SS_LEFTNOWORDWRAP | SS_NOPREFIX, row.text);
        break;
    case ControlKind::TextBox:
        // Any length: 0 lifts the limit.
        control.window = make(L"EDIT", WS_EX_CLIENTEDGE, tabStop | ES_AUTOHSCROLL, row.text);
        SendMessageW(control.window, EM_SETLIMITTEXT, 0, 0);
        break;
    case ControlKind::DropDown:
    case ControlKind::List: {
        // A drop-down box completes nothing that is typed unless its kind does; a list takes
        // nothing typed at all.
        const DWORD kind = row.kind == ControlKind::List ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
        control.window = make(L"COMBOBOX", 0, tabStop | WS_VSCROLL | kind | CBS_AUTOHSCROLL, {});
        SendMessageW(control.window, CB_LIMITTEXT, 0, 0);
        for (std::u16string_view item : row.items)
            SendMessageW(control.window, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(wide(item).c_str()));
        if (row.kind == ControlKind::DropDown)
            setText(control.ref, row.text);
        break;
    }
    case ControlKind::Button:
        control.window = make(L"BUTTON", 0, tabStop | BS_PUSHBUTTON, row.text);
        break;
    case ControlKind::Option:
        // Which option is chosen is the handlers' to say.
        control.window = make(L"BUTTON", 0, tabStop | BS_RADIOBUTTON, row.text);
        break;
    case ControlKind::CheckBox:
        control.window = make(L"BUTTON", 0, tabStop | BS_AUTOCHECKBOX, row.text);
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
        control.surface = std::make_unique<Surface>(row, m_panels[std::size_t(panel)], id, r);
        control.window = control.surface->handle();
        break;
    }
    if (!control.window)
        tableMismatch(row.name, "could not be made");
    applyFont(control);
    speakAs(control.window, spoken);
    // A drop-down box's text field, where its focus goes, speaks for the box.
    COMBOBOXINFO box{};
    box.cbSize = sizeof box;
    if (row.kind == ControlKind::DropDown && GetComboBoxInfo(control.window, &box))
        speakAs(box.hwndItem, spoken);
}

void TopLevelWindow::place(ControlRef ref, const TwipsRect &rect)
{
    const Control &control = find(ref.control);
    setPlace(control.window, placeOf(control, rect));
}

Reading TopLevelWindow::read(ControlRef ref)
{
    const Control &control = find(ref.control);
    switch (control.row->kind) {
    case ControlKind::VScrollBar:
        return {{}, GetScrollPos(control.window, SB_CTL)};
    case ControlKind::CheckBox:
        return {{}, SendMessageW(control.window, BM_GETCHECK, 0, 0) == BST_CHECKED};
    default:
        return {windowText(control.window)};
    }
}

std::optional<ControlRef> TopLevelWindow::focus()
{
    HWND focus = GetFocus();
    if (focus && focus == m_tabStrip)
        return ControlRef{NoPanel, m_description.tabStrip};
    if (const Control *control = focus ? find(focus) : nullptr)
        return control->ref;
    return std::nullopt;
}

void TopLevelWindow::setText(ControlRef ref, std::u16string_view text)
{
    SetWindowTextW(control(ref.control), wide(text).c_str());
}

void TopLevelWindow::pick(ControlRef list, std::size_t item)
{
    SendMessageW(control(list.control), CB_SETCURSEL, WPARAM(item), 0);
}

void TopLevelWindow::setCaption(ControlRef label, std::u16string_view text)
{
    SetWindowTextW(control(label.control), wide(text).c_str());
}

TwipsSize TopLevelWindow::captionSize(ControlRef label)
{
    Control &control = find(label.control);
    const SIZE size = textSize(windowText(control.window), fontOf(control));
    return {MulDiv(size.cx, TwipsPerInch, m_dpi), MulDiv(size.cy, TwipsPerInch, m_dpi)};
}

void TopLevelWindow::setBackground(ControlRef control, const Colour &colour)
{
    surface(control.control).setBackground(colour);
}

void TopLevelWindow::setOption(ControlRef ref, bool enabled, bool chosen)
{
    const HWND option = control(ref.control);
    EnableWindow(option, enabled);
    SendMessageW(option, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TopLevelWindow::setToolTip(ControlRef ref, std::u16string_view text)
{
    Control &control = find(ref.control);
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
    tool.hwnd = m_panels[std::size_t(ref.panel)];
    tool.uId = reinterpret_cast<UINT_PTR>(control.window);
    tool.lpszText = tip.data();
    if (control.hasToolTip)
        SendMessageW(m_toolTips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    else
        control.hasToolTip =
            SendMessageW(m_toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TopLevelWindow::draw(ControlRef control, const Drawing &drawing)
{
    surface(control.control).draw(drawing, m_dpi);
}

void TopLevelWindow::bringToFront(int panel)
{
    if (m_tabStrip)
        SendMessageW(m_tabStrip, TCM_SETCURSEL, WPARAM(panel), 0);
    SetWindowPos(m_panels[std::size_t(panel)], HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TopLevelWindow::setFocus(ControlRef ref, bool, bool selectAll)
{
    SetFocus(ref.panel == NoPanel ? m_tabStrip : control(ref.control));
    // A drop-down box's focus is its text field.
    if (selectAll)
        SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
}

Answered TopLevelWindow::showError(std::u16string_view message)
{
    MessageBoxW(m_window, wide(message).c_str(), wide(ErrorTitle).c_str(), MB_OK | MB_ICONERROR);
    return Answer{};
}

Answered TopLevelWindow::makeWindow(const WindowDescription &window)
{
    m_opened.push_back(
        std::make_unique<TopLevelWindow>(window, GetModuleHandleW(nullptr), m_window));
    return Answer{.opened = &m_opened.back()->driver()};
}

void TopLevelWindow::showWindow(bool shown)
{
    ShowWindow(m_window, shown ? SW_SHOWNORMAL : SW_HIDE);
    if (shown)
        SetForegroundWindow(m_window);
}

void TopLevelWindow::scrolled(const Control &control, int request, int thumb)
{
    const int now = GetScrollPos(control.window, SB_CTL);
    if (request < SB_LINEUP || request > SB_BOTTOM)
        return;
    const int value = scrolledTo(control.row->scroll, now, ScrollRequest(request), thumb);
    if (value == now)
        return;
    SetScrollPos(control.window, SB_CTL, value, TRUE);
    m_driver.activated(control.ref);
}

void TopLevelWindow::showMenu(const Control &control, LPARAM at)
{
    const std::vector<CommandEntry> entries = m_driver.menu(control.ref);
    if (entries.empty())
        return;
    const HMENU menu = CreatePopupMenu();
    for (const CommandEntry &entry : entries)
        AppendMenuW(menu, MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED),
                    UINT_PTR(commandId(entry.index)),
                    (wide(entry.command->text) + L"\t" + wide(entry.shortcut)).c_str());
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {
        RECT r;
        GetWindowRect(control.window, &r);
        point = {r.left, r.top};
    }
    // The item chosen comes back as a WM_COMMAND to the panel, as a tool's does.
    TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                     m_panels[std::size_t(control.ref.panel)], nullptr);
    DestroyMenu(menu);
}

bool TopLevelWindow::takeKey(const MSG &message)
{
    // Only a key pressed down or an Alt letter can be the driver's, and only then are Shift,
    // Ctrl and Alt asked after: under Wine each of them is a request to the server.
    if (message.message != WM_KEYDOWN && message.message != WM_SYSCHAR)
        return false;
    for (const auto &opened : m_opened)
        if (opened->takeKey(message))
            return true;
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd))
        return false;
    KeyPress key{KeyPress::Key::Other, 0, held(VK_SHIFT), held(VK_CONTROL), held(VK_MENU)};
    // A letter's virtual key is its upper-case ASCII code.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB)
        key.key = KeyPress::Key::Tab;
    else if ((message.message == WM_KEYDOWN && message.wParam >= 'A' && message.wParam <= 'Z' &&
              key.control) ||
             message.message == WM_SYSCHAR)
        key = {KeyPress::Key::Letter, char16_t(message.wParam), key.shift, key.control,
               message.message == WM_SYSCHAR};
    return key.key != KeyPress::Key::Other && m_driver.keyPressed(key);
}

LRESULT TopLevelWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const int panel = panelOf(window); panel != NoPanel)
        return onPanelMessage(panel, message, wParam, lParam);
    switch (message) {
    case WM_NOTIFY: {
        const auto *notice = reinterpret_cast<const NMHDR *>(lParam);
        if (notice->hwndFrom == m_tabStrip && notice->code == TCN_SELCHANGE)
            m_driver.tabSelected(int(SendMessageW(m_tabStrip, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    case WM_ACTIVATE:
        m_driver.windowActivated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SIZE:
        if (!m_description.tabbed() && !m_panels.empty()) {
            SetWindowPos(m_panels.front(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
            m_driver.resized({MulDiv(LOWORD(lParam), TwipsPerInch, m_dpi),
                              MulDiv(HIWORD(lParam), TwipsPerInch, m_dpi)});
        }
        return 0;
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        layout();
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CLOSE:
        if (!m_driver.closing())
            return 0;
        break;
    case WM_DESTROY:
        // The main window closed by the user: the program ends.
        if (!GetWindow(m_window, GW_OWNER))
            PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND closed = m_window;
        m_window = nullptr;
        return DefWindowProcW(closed, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TopLevelWindow::onPanelMessage(int panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = m_panels[std::size_t(panel)];
    switch (message) {
    case WM_COMMAND:
        // From a menu (0) or an accelerator (1) there is no control: a command by its number.
        if (lParam == 0 && HIWORD(wParam) <= 1) {
            m_driver.run(panel, std::size_t(LOWORD(wParam) - commandId(0)));
        } else if (const Control *source = find(reinterpret_cast<HWND>(lParam))) {
            const WORD code = HIWORD(wParam);
            if (code == BN_CLICKED || code == EN_CHANGE ||
                (code == CBN_SELCHANGE && source->row->kind == ControlKind::List))
                m_driver.activated(source->ref);
        }
        return 0;
    case WM_CONTEXTMENU:
        if (const Control *clicked = find(reinterpret_cast<HWND>(wParam))) {
            showMenu(*clicked, lParam);
            return 0;
        }
        break;
    case WM_VSCROLL:
        if (const Control *source = find(reinterpret_cast<HWND>(lParam)))
            scrolled(*source, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        const Control *label = find(reinterpret_cast<HWND>(lParam));
        const Colour background = label ? label->row->background : Colour{};
        const Colour foreground = label ? label->row->foreground : Colour{};
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, colourOf(background, COLOR_BTNFACE));
        SetTextColor(dc, colourOf(foreground, COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(
            GetSysColorBrush(systemColourIndex(background.role, COLOR_BTNFACE)));
    }
    case WM_PAINT: {
        // A panel under tabs has a frame's border; the background is the class brush.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT area;
        GetClientRect(window, &area);
        if (m_description.tabbed())
            DrawEdge(dc, &area, EDGE_ETCHED, BF_RECT);
        EndPaint(window, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int runMessageLoop(TopLevelWindow &window)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.takeKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

} // namespace korvane::win32
