// The plan handed on from the real Windows window: the imposition panel's commands from the
// context menu, their shortcuts and WM_COMMAND; the clipboard's three forms, files saved whole
// through the real save dialog, and the printed page. The presses are tests/cases' own.
#include "common/raster.h"
#include "common/rules.h"
#include "tests/cases/documentcases.h"
#include "tests/win32/winewindowtest.h"
#include "win32/ondemand.h"
#include "win32/picture.h"
#include "win32/savefile.h"

#include <array>
#include <winspool.h>

namespace korvane::win32 {
namespace {

const Typeface &Face = mainWindow.font;
constexpr int CopyNumber = 4101;
constexpr int SaveNumber = 4102;
constexpr int PrintNumber = 4103;
const std::u16string Sentinel = u"剪贴板上原有的文字";

// How the test answers what a command opens, and what it saw.
struct Dialogs
{
    std::vector<std::wstring> typed; // each save dialog's file name in turn; empty: Cancel
    bool print = true;               // OK or Cancel in the print dialog
    wchar_t menuKey = 0;             // pressed in a context menu; 0: Escape

    std::vector<std::u16string> saveTitles, proposed;
    int types = 0;
    int questions = 0; // overwrite questions, answered Yes
    int printDialogs = 0;
    std::vector<test::SeenBox> boxes;
    std::vector<std::pair<std::u16string, bool>> menu; // each item, and whether enabled
};
Dialogs *g_dialogs = nullptr;

std::u16string text16(const wchar_t *text)
{
    return reinterpret_cast<const char16_t *>(text);
}

void answer(Dialogs &d, HWND window)
{
    const auto click = [window](int id) { PostMessageW(GetDlgItem(window, id), BM_CLICK, 0, 0); };
    if (className(window) == "#32768") {
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t item[128] = {};
            GetMenuStringW(menu, UINT(i), item, 128, MF_BYPOSITION);
            d.menu.push_back(
                {text16(item), !(GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED)});
        }
        if (d.menuKey)
            PostMessageW(window, WM_CHAR, d.menuKey, 0);
        else
            EndMenu();
    } else if (HWND name = GetDlgItem(window, 1148)) { // a file dialog's file name
        d.saveTitles.push_back(windowText(window));
        d.proposed.push_back(windowText(FindWindowExW(
            FindWindowExW(name, nullptr, L"ComboBox", nullptr), nullptr, L"Edit", nullptr)));
        // The file types offered: the number of them.
        d.types = int(SendMessageW(GetDlgItem(window, 1136), CB_GETCOUNT, 0, 0));
        const std::wstring typed = d.typed.empty() ? L"" : d.typed.front();
        if (!d.typed.empty())
            d.typed.erase(d.typed.begin());
        SetWindowTextW(name, typed.c_str());
        click(typed.empty() ? IDCANCEL : IDOK);
    } else if (GetDlgItem(window, IDYES)) {
        ++d.questions;
        click(IDYES);
    } else if (GetDlgItem(window, 1139)) { // the print dialog's printer
        ++d.printDialogs;
        click(d.print ? IDOK : IDCANCEL);
    } else {
        d.boxes.push_back(readBox(window));
        PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
}

void writeFile(const std::wstring &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::u16string clipboardText()
{
    std::u16string text = u"(none)";
    OpenClipboard(nullptr);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t *>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A folder of the test's own in the temporary folder, with a Chinese name.
struct Folder
{
    explicit Folder(const std::wstring &name)
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = temp + name + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~Folder()
    {
        for (const std::wstring &name : files())
            DeleteFileW(at(name).c_str());
        RemoveDirectoryW(path.c_str());
    }
    std::wstring at(const std::wstring &name) const { return path + L"\\" + name; }
    std::vector<std::wstring> files() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(at(L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string read(const std::wstring &name) const
    {
        HANDLE file = CreateFileW(at(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        std::string bytes(GetFileSize(file, nullptr), '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr);
        CloseHandle(file);
        return bytes;
    }

    std::wstring path;
};

// The sheet exactly as the rasteriser inks it, black on white.
void expectPicture(const PictureLayout &layout, const std::uint8_t *rows, int stride)
{
    const Raster &sheet = layout.sheet;
    std::vector<int> ink(std::size_t(sheet.width) * sheet.height, 0xFF);
    for (const PixelRect &r : sheet.ink)
        for (int y = r.y; y < r.y + r.height; ++y)
            std::fill_n(ink.begin() + std::ptrdiff_t(y) * sheet.width + r.x, r.width, 0);
    int wrong = 0;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width * 3; ++x)
            wrong +=
                rows[std::ptrdiff_t(y) * stride + x] != ink[std::size_t(y) * sheet.width + x / 3];
    EXPECT_EQ(wrong, 0);
}

class DocumentTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        g_dialogs = &m_dialogs;
        g_answer = [](HWND window) { answer(*g_dialogs, window); };
    }
    void TearDown() override
    {
        g_answer = answerWithOk;
        WindowTest::TearDown();
    }
    // A fresh window after a press of `inputs`, the imposition panel in front.
    void restart(const std::vector<test::Entry> &inputs)
    {
        TearDown();
        SetUp();
        m_dialogs = {};
        press(inputs);
    }
    void press(const std::vector<test::Entry> &inputs)
    {
        for (const test::Entry &input : inputs)
            paste(input.control, input.text);
        click("Command6");
    }
    const Document *document() const { return m_window->driver().document(0); }
    void command(int number)
    {
        SendMessageW(panel(0), WM_COMMAND, WPARAM(number), 0);
        pump();
    }
    // A right click on the diagram; `key` is pressed in the menu it opens.
    void rightClickDiagram(wchar_t key)
    {
        m_dialogs.menu.clear();
        m_dialogs.menuKey = key;
        HWND diagram = find("drawpic");
        RECT r;
        GetWindowRect(diagram, &r);
        SendMessageW(diagram, WM_CONTEXTMENU, WPARAM(diagram), MAKELPARAM(r.left + 5, r.top + 5));
        pump();
    }
    std::u16string toolTip()
    {
        std::u16string text;
        for (HWND tips : threadWindows()) {
            wchar_t tip[512] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = panel(0);
            tool.uId = UINT_PTR(find("drawpic"));
            tool.lpszText = tip;
            if (className(tips) == "tooltips_class32")
                SendMessageW(tips, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
            text += text16(tip);
        }
        return text;
    }

    Dialogs m_dialogs;
};

// The commands follow the driver's rules; the window offers them in the context menu, with
// their shortcuts, and takes them from the menu, the keys and WM_COMMAND.
TEST_F(DocumentTest, CommandsReachTheDriver)
{
    const test::DocumentCase &c = test::documentCases().front();
    rightClickDiagram(0);
    const std::span<const Command> commands = m_window->driver().window().tabs[0].panel->commands;
    ASSERT_EQ(m_dialogs.menu.size(), commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_EQ(m_dialogs.menu[i].first,
                  std::u16string(commands[i].text) + u"\t" + shortcutText(commands[i].shortcut));
        EXPECT_EQ(m_dialogs.menu[i].second, commands[i].id == "openPlanner") << commands[i].id;
    }
    EXPECT_EQ(toolTip(), u"");
    press(c.inputs);
    ASSERT_TRUE(m_dialogs.boxes.empty() && document());
    EXPECT_EQ(toolTip(), c.jobLine);
    rightClickDiagram(0);
    for (const auto &[item, enabled] : m_dialogs.menu)
        EXPECT_TRUE(enabled) << test::printable(item);
    putOnClipboard(Sentinel);
    command(CopyNumber);
    EXPECT_EQ(clipboardText(), c.jobLine);
    // The shortcut through the message loop; Ctrl+C is a text box's own.
    putOnClipboard(Sentinel);
    focus("Text4");
    key({test::Key::Code::Character, u'C', true, true});
    EXPECT_EQ(clipboardText(), c.jobLine);
    SendMessageW(find("Text6"), EM_SETSEL, 0, -1);
    focus("Text6");
    key({test::Key::Code::Character, u'C', false, true});
    EXPECT_EQ(clipboardText(), u"210");
    // The menu's access key S asks where to save.
    rightClickDiagram(L's');
    EXPECT_EQ(m_dialogs.saveTitles.size(), 1u);
}

TEST_F(DocumentTest, ClipboardHoldsTextPictureAndVectors)
{
    std::vector<std::vector<test::Entry>> plans = {test::largestPlan()};
    for (const test::DocumentCase &c : test::documentCases())
        plans.push_back(c.inputs);
    for (const std::vector<test::Entry> &plan : plans) {
        restart(plan);
        SCOPED_TRACE(test::printable(document()->fileStem));
        command(CopyNumber);
        HDC dc = CreateCompatibleDC(nullptr);
        const PictureLayout layout = layoutPicture(*document(), Face, measuredOn(dc, Face.face));

        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(static_cast<const char16_t *>(GlobalLock(GetClipboardData(CF_UNICODETEXT))),
                  document()->jobLine);
        HANDLE dib = GetClipboardData(CF_DIB);
        const auto *header = static_cast<const BITMAPINFOHEADER *>(GlobalLock(dib));
        const int stride = (layout.width * 3 + 3) & ~3;
        ASSERT_TRUE(header && header->biBitCount == 24 &&
                    GlobalSize(dib) >= sizeof *header + std::size_t(stride) * layout.height);
        EXPECT_EQ(header->biWidth, layout.width);
        EXPECT_EQ(header->biHeight, layout.height); // positive: the bottom row first
        std::vector<std::uint8_t> rows(std::size_t(stride) * layout.height);
        for (int y = 0; y < layout.height; ++y)
            std::copy_n(reinterpret_cast<const std::uint8_t *>(header + 1) +
                            std::ptrdiff_t(layout.height - 1 - y) * stride,
                        stride, rows.begin() + std::ptrdiff_t(y) * stride);
        expectPicture(layout, rows.data(), stride);
        // The vector picture: the picture's size in hundredths of a millimetre, and a line
        // record for each block at least.
        ENHMETAHEADER vectors{};
        ASSERT_TRUE(GetEnhMetaFileHeader(
            static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)), sizeof vectors, &vectors));
        EXPECT_NEAR(vectors.rclFrame.right, layout.width * 2540.0 / PictureLayout::Dpi, 2);
        EXPECT_NEAR(vectors.rclFrame.bottom, layout.height * 2540.0 / PictureLayout::Dpi, 2);
        EXPECT_GT(vectors.nRecords, document()->drawing.blocks.size());
        CloseClipboard();
        DeleteDC(dc);
    }
}

// Wine's PostScript driver as the default printer, on the port FILE:, which writes a file of
// that name in the current folder. False where the prefix takes no printer.
bool installPrinter()
{
    static const bool installed = [] {
        wchar_t name[] = L"Korvane 测试打印机", environment[] = L"Windows x64",
                driverName[] = L"Wine PostScript Driver", module[] = L"wineps.drv", none[] = L"",
                port[] = L"FILE:", processor[] = L"winprint", datatype[] = L"RAW";
        HANDLE printer = nullptr;
        if (OpenPrinterW(name, &printer, nullptr))
            return ClosePrinter(printer) && SetDefaultPrinterW(name);
        wchar_t directory[MAX_PATH] = {};
        DWORD needed = 0;
        GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE *>(directory),
                                   sizeof directory, &needed);
        // A generic PostScript printer on A4.
        std::wstring ppd = std::wstring(directory) + L"\\korvane-test.ppd";
        writeFile(ppd, "*PPD-Adobe: \"4.3\"\n*ModelName: \"Generic PostScript\"\n"
                       "*NickName: \"Generic PostScript\"\n*LanguageLevel: \"3\"\n"
                       "*DefaultPageSize: A4\n*PageSize A4/A4: \"<</PageSize[595 842]>>"
                       "setpagedevice\"\n*DefaultImageableArea: A4\n*ImageableArea A4/A4: "
                       "\"18 18 577 824\"\n*DefaultPaperDimension: A4\n*PaperDimension A4/A4: "
                       "\"595 842\"\n*DefaultResolution: 600dpi\n");
        DRIVER_INFO_3W driver{};
        driver.cVersion = 3;
        driver.pName = driverName;
        driver.pEnvironment = environment;
        driver.pDriverPath = driver.pConfigFile = module;
        driver.pDataFile = ppd.data();
        driver.pDependentFiles = none;
        PRINTER_INFO_2W info{};
        info.pPrinterName = name;
        info.pPortName = port;
        info.pDriverName = driverName;
        info.pPrintProcessor = processor;
        info.pDatatype = datatype;
        if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE *>(&driver),
                                 APD_COPY_NEW_FILES) ||
            !(printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE *>(&info))))
            return false;
        return ClosePrinter(printer) && SetDefaultPrinterW(name);
    }();
    return installed;
}

// The width and height a PNG's header gives, big-endian after the signature.
std::pair<int, int> pngSize(const std::string &png)
{
    const auto at = [&](std::size_t i) {
        return int(std::uint8_t(png[i])) << 24 | int(std::uint8_t(png[i + 1])) << 16 |
               int(std::uint8_t(png[i + 2])) << 8 | int(std::uint8_t(png[i + 3]));
    };
    return png.size() > 24 && png.starts_with("\x89PNG") ? std::pair{at(16), at(20)}
                                                         : std::pair{0, 0};
}

TEST_F(DocumentTest, SavesWholeFilesThroughTheDialog)
{
    struct SaveCase
    {
        std::string name;
        std::vector<std::wstring> typed; // in the folder; empty: Cancel
        std::wstring existing;           // a file there before, holding "old"
        bool locked;                     // held open by another program
        std::wstring written;            // the file saved; empty: none
        int dialogs;
        int questions;
    };
    // clang-format off
    const SaveCase cases[] = {
        {"PNG into a Chinese folder",           {L"拼版图.png"}, L"",       false, L"拼版图.png",   1, 0},
        {"SVG by its extension",                {L"拼版图.SVG"}, L"",       false, L"拼版图.SVG",   1, 0},
        {"no extension: the chosen type's",     {L"方案"},       L"",       false, L"方案.png",     1, 0},
        {"replaced once the dialog asked",      {L"旧图.png"},   L"旧图.png", false, L"旧图.png",   1, 1},
        {"an added extension asked about too",  {L"旧.txt", L"旧.txt.png"}, L"旧.txt.png", false, L"旧.txt.png", 2, 1},
        {"a file in use kept, the failure shown", {L"锁定.png"}, L"锁定.png", true, L"",           1, 1},
        {"cancelled: nothing written",          {L""},           L"",       false, L"",             1, 0},
    };
    // clang-format on
    const test::DocumentCase &plan = test::documentCases().front();
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.name);
        restart(plan.inputs);
        Folder folder(L"保存测试");
        if (!c.existing.empty())
            writeFile(folder.at(c.existing), "old");
        HANDLE held = c.locked ? CreateFileW(folder.at(c.existing).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
        for (const std::wstring &name : c.typed)
            m_dialogs.typed.push_back(name.empty() ? L"" : folder.at(name));
        command(SaveNumber);
        CloseHandle(held);

        ASSERT_EQ(int(m_dialogs.saveTitles.size()), c.dialogs);
        EXPECT_EQ(m_dialogs.saveTitles[0], u"保存拼版图");
        EXPECT_EQ(m_dialogs.proposed[0], plan.fileName);
        EXPECT_EQ(m_dialogs.types, 2); // PNG and SVG
        EXPECT_EQ(m_dialogs.questions, c.questions);
        // The file saved and the one there before: no temporary file left behind.
        std::vector<std::wstring> expected = {c.existing, c.written};
        std::sort(expected.begin(), expected.end());
        expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
        expected.erase(std::remove(expected.begin(), expected.end(), L""), expected.end());
        EXPECT_TRUE(folder.files() == expected);
        if (c.locked) {
            ASSERT_EQ(m_dialogs.boxes.size(), 1u);
            const std::u16string prefix = saveFailure(text16(folder.at(c.existing).c_str()), u"");
            EXPECT_EQ(m_dialogs.boxes[0].title, ErrorTitle);
            EXPECT_TRUE(m_dialogs.boxes[0].stopAndOk);
            EXPECT_EQ(m_dialogs.boxes[0].text.find(prefix), 0u);
            EXPECT_GT(m_dialogs.boxes[0].text.size(), prefix.size()); // the system's reason
            EXPECT_EQ(folder.read(c.existing), "old");
            continue;
        }
        EXPECT_TRUE(m_dialogs.boxes.empty());
        if (c.written.empty())
            continue;
        if (c.written.ends_with(L"SVG") || c.written.ends_with(L"svg")) {
            EXPECT_TRUE(folder.read(c.written) == toSvg(*document(), Face.face));
            continue;
        }
        const PictureLayout &layout = renderPicture(*document(), Face).layout;
        EXPECT_EQ(pngSize(folder.read(c.written)), std::pair(layout.width, layout.height));
    }
}

TEST_F(DocumentTest, AFailedWriteLeavesNothingBehind)
{
    press(test::documentCases().front().inputs);
    // clang-format off
    const std::tuple<std::wstring, FileFormat, DWORD> cases[] = {
        {L"不存在\\拼版图.png", FileFormat::Png, ERROR_PATH_NOT_FOUND}, // fails at the start
        {L"拼版<图>.svg",       FileFormat::Svg, ERROR_INVALID_NAME},   // fails at the move
    };
    // clang-format on
    for (const auto &[name, format, error] : cases) {
        Folder folder(L"失败测试");
        EXPECT_EQ(writeWhole(folder.at(name), "whole", 5), error);
        const auto reason =
            writeDocument(*document(), text16(folder.at(name).c_str()), format, Face);
        EXPECT_EQ(reason.value_or(u"saved"), systemMessage(error));
        EXPECT_TRUE(folder.files().empty());
    }
}

TEST_F(DocumentTest, PrintsOnePageOnThePrinterPicked)
{
    if (!installPrinter())
        GTEST_SKIP() << "this Wine prefix takes no printer";
    const test::DocumentCase &plan = test::documentCases().front();
    press(plan.inputs);
    Folder folder(L"打印测试");
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(folder.path.c_str());
    m_dialogs.print = false;
    command(PrintNumber);
    EXPECT_TRUE(folder.files().empty());
    m_dialogs.print = true;
    command(PrintNumber);
    SetCurrentDirectoryW(before);

    EXPECT_EQ(m_dialogs.printDialogs, 2);
    EXPECT_TRUE(m_dialogs.boxes.empty());
    ASSERT_TRUE(folder.files() == std::vector<std::wstring>{L"FILE:"});
    const std::string ps = folder.read(L"FILE:");
    EXPECT_TRUE(ps.starts_with("%!PS-Adobe"));
    EXPECT_NE(ps.find("%%Pages: 1"), std::string::npos);
    EXPECT_NE(
        ps.find(printsAcross(*document()) ? "%%Orientation: Landscape" : "%%Orientation: Portrait"),
        std::string::npos);
    EXPECT_NE(ps.find("-1092x787-210x297)"), std::string::npos); // the file stem names the job
    // A quarter of a point at 600 dpi; a stroke for every line of the plan.
    EXPECT_NE(ps.find("\n2 setlinewidth"), std::string::npos);
    int strokes = 0;
    for (std::size_t at = ps.find(" lineto"); at != std::string::npos;
         at = ps.find(" lineto", at + 1))
        ++strokes;
    EXPECT_GE(strokes, plan.lines);
}

} // namespace
} // namespace korvane::win32
