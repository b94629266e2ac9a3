// Thousands of random user actions on the real Windows window, as the Linux window takes
// them: texts typed key by key or pasted into every input, items picked, buttons clicked,
// Alt+C from any tab, tabs clicked or stepped with the arrow keys, scroll bars moved by keys
// and clicks, every error box answered. After each action the window must still make sense.
#include "tests/cases/monkeycases.h"
#include "tests/win32/winewindowtest.h"

#include <random>

namespace korvane::win32 {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr ULONGLONG PressBudgetMs = 2000;
#else
constexpr ULONGLONG PressBudgetMs = 500; // Wine's own overhead included
#endif

class MonkeyTest : public WindowTest
{
protected:
    int pick(std::size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(m_random); }
    std::string where() const
    {
        return "seed " + std::to_string(m_seed) + ", action " + std::to_string(m_step);
    }
    // The controls of the window of one kind, in table order.
    std::vector<ControlName> all(std::initializer_list<ControlKind> kinds) const
    {
        std::vector<ControlName> names;
        for (const Tab &tab : mainWindow.tabs)
            for (const ControlRow &row : tab.panel->controls)
                if (std::find(kinds.begin(), kinds.end(), row.kind) != kinds.end())
                    names.push_back(row.name);
        return names;
    }
    ControlName focused() const
    {
        for (ControlName name : all({ControlKind::TextBox, ControlKind::DropDown}))
            if (GetFocus() == m_window->control(name) ||
                IsChild(m_window->control(name), GetFocus()))
                return name;
        return "(elsewhere)";
    }
    void key(HWND to, UINT message, WPARAM key)
    {
        PostMessageW(to, message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
        pump();
    }
    void press(ControlName name, const std::function<void()> &how)
    {
        const ULONGLONG start = GetTickCount64();
        const std::vector<SeenBox> seen = boxesWhile(how);
        const ULONGLONG answered = seen.empty() ? GetTickCount64() : seen.front().seenAt;
        ASSERT_LT(answered - start, PressBudgetMs) << where() << ": " << name;
        ASSERT_LE(seen.size(), 1u) << where() << ": boxes after " << name;
        if (seen.empty())
            return;
        EXPECT_EQ(seen[0].title, ErrorTitle);
        EXPECT_TRUE(seen[0].stopIcon && seen[0].okButton && seen[0].buttons == 1);
        EXPECT_TRUE(test::knownRefusal(name, seen[0].text, focused()))
            << where() << ": " << test::printable(seen[0].text) << " after " << name;
    }

    void act()
    {
        using A = test::MonkeyAction;
        const auto &texts = test::monkeyTexts();
        const auto &actions = test::monkeyActions();
        const HWND tabs = m_window->tabStrip();
        switch (actions[std::size_t(pick(actions.size()))]) {
        case A::Type: {
            const auto edits = all({ControlKind::TextBox, ControlKind::DropDown});
            const HWND edit = m_window->control(edits[std::size_t(pick(edits.size()))]);
            const std::u16string &text = texts[std::size_t(pick(texts.size()))];
            if (pick(4) == 0 && text.size() < 20) {
                SetWindowTextW(edit, L"");
                SetFocus(edit);
                for (char16_t typed : text)
                    SendMessageW(GetFocus(), WM_CHAR, typed, 0);
            } else {
                SetWindowTextW(edit, wide(text).c_str());
            }
            break;
        }
        case A::Pick: {
            const auto boxes = all({ControlKind::DropDown});
            const HWND box = m_window->control(boxes[std::size_t(pick(boxes.size()))]);
            SendMessageW(box, CB_SETCURSEL,
                         WPARAM(pick(std::size_t(SendMessageW(box, CB_GETCOUNT, 0, 0)))), 0);
            break;
        }
        case A::Press: {
            const auto buttons = all({ControlKind::Button});
            const ControlName name = buttons[std::size_t(pick(buttons.size()))];
            const HWND button = m_window->control(name);
            press(name, [button] { SendMessageW(button, BM_CLICK, 0, 0); });
            break;
        }
        case A::AltC:
            press("Command1",
                  [&] { key(GetFocus() ? GetFocus() : m_window->handle(), WM_SYSCHAR, u'c'); });
            break;
        case A::SwitchTab:
            if (pick(2) == 0) {
                clickTab(pick(5));
            } else {
                SetFocus(tabs);
                key(tabs, WM_KEYDOWN, pick(2) ? VK_LEFT : VK_RIGHT);
            }
            break;
        case A::Scroll: {
            const auto bars = all({ControlKind::VScrollBar});
            const HWND bar = m_window->control(bars[std::size_t(pick(bars.size()))]);
            if (pick(2) == 0) {
                const WPARAM keys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END};
                SetFocus(bar);
                key(bar, WM_KEYDOWN, keys[pick(6)]);
            } else {
                const int requests[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
                SendMessageW(GetParent(bar), WM_VSCROLL, MAKEWPARAM(requests[pick(4)], 0),
                             reinterpret_cast<LPARAM>(bar));
            }
            break;
        }
        }
        pump();
    }

    std::mt19937 m_random;
    std::uint32_t m_seed = 0;
    int m_step = 0;
};

TEST_F(MonkeyTest, SurvivesRandomUse)
{
    m_seed = test::monkeySeed();
    m_random.seed(m_seed);
    std::printf("monkey seed %u\n", m_seed);
    // Valid sizes at first, so that presses also compute and draw.
    for (const test::Entry &size :
         {test::Entry{"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"210"}, {"Text7", u"297"}})
        enter(0, size);
    const int actions = test::monkeyLength();
    for (m_step = 0; m_step < actions; ++m_step) {
        act();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(IsWindowVisible(m_window->handle())) << where();
        const std::string problem = test::checkShown(
            [this](ControlName name) { return textOf(m_window->control(name)); },
            [this](ControlName name) { return GetScrollPos(m_window->control(name), SB_CTL); });
        ASSERT_EQ(problem, "") << where();
    }
}

} // namespace
} // namespace korvane::win32
