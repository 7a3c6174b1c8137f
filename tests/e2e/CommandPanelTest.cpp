// The two command panels of the real program: a fresh start shows them with the buttons of the
// installed definition files, and a click on a button runs its command, which keeps the button
// highlighted while it waits for input; a command inserted in the command-menu dialog of the
// settings sheet is written to the per-user file and shows in the panel after a restart; the
// first page of the sheet switches the buttons' tips at once.
#include "GTest.h"

#include <windows.h>

#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "ViewScreen.h"
#include "WindowText.h"

namespace {

// The per-user "CmdPanel.def" is set aside (or replaced) for one test and put back after.
class UserPanelFile {
public:
    explicit UserPanelFile(const std::string* replacement)
        : m_path(UserSettingsFolder() + "CmdPanel.def"), m_saved(ReadAll(m_path)), m_existed(!m_saved.empty())
    {
        DeleteFileA(m_path.c_str());
        if (replacement != nullptr) m_written = WriteAll(m_path, *replacement);
    }
    ~UserPanelFile()
    {
        if (m_existed) WriteAll(m_path, m_saved);
        else DeleteFileA(m_path.c_str());
    }
    const std::string& Path() const { return m_path; }
    bool Written() const { return m_written; }

private:
    std::string m_path, m_saved;
    bool m_existed = false, m_written = false;
};

struct FoundButtons {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectButton(HWND window, LPARAM lParam)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "PanelCheckButton" && IsWindowVisible(window))
        reinterpret_cast<FoundButtons*>(lParam)->windows.push_back(window);
    return TRUE;
}

// The visible buttons of a panel.
std::vector<HWND> VisibleButtons(HWND panel)
{
    FoundButtons found;
    EnumChildWindows(panel, CollectButton, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

HWND VisibleButton(HWND panel, int id)
{
    for (HWND button : VisibleButtons(panel))
        if (GetDlgCtrlID(button) == id) return button;
    return nullptr;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct ErrorBoxSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindErrorBox(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<ErrorBoxSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && Caption(window) == "エラー") search->found = true;
    return TRUE;
}

// Whether the process shows a box captioned "エラー".
bool ShowsErrorBox(DWORD processId)
{
    ErrorBoxSearch search = {processId, false};
    EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Starts the program and waits until its frame is shown and takes messages; null when it did not.
HWND StartedFrame(ProgramProcess& process)
{
    if (!process.Start()) return nullptr;
    HWND shown = process.WaitForWindow("Brisco001", 60000);
    return shown != nullptr && WaitUntilResponsive(shown, 10000) ? shown : nullptr;
}

class CommandPanelTest : public ::testing::Test {
protected:
    void StartProgram()
    {
        frame = StartedFrame(program);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
    }
    HWND Panel(int index)
    {
        DWORD_PTR panel = 0;
        SendMessageTimeoutA(frame, WM_CAD_GET_PANEL_WINDOW, index, 0, SMTO_BLOCK, 10000, &panel);
        return reinterpret_cast<HWND>(panel);
    }
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(CommandPanelTest, AFreshStartShowsBothPanelsWithTheInstalledButtonsAndNoErrorBox)
{
    UserPanelFile userFile(nullptr);
    StartProgram();
    for (int index : {0, 3}) {
        SCOPED_TRACE(index);
        HWND panel = Panel(index);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(ClassOf(panel), "CmdPanel");
        EXPECT_TRUE(IsWindowVisible(panel));
        // The first page of the installed file: 線分 (6000) to 平行寸法 (6080), ten buttons, and
        // one type button per page.
        EXPECT_NE(VisibleButton(panel, 6000), nullptr);
        EXPECT_NE(VisibleButton(panel, 6080), nullptr);
        EXPECT_EQ(VisibleButtons(panel).size(), 14u);
    }
    EXPECT_FALSE(ShowsErrorBox(program.ProcessId())) << "an error box came up";
    EXPECT_EQ(ReadAll(userFile.Path()), ReadAll(ProgramFolder() + "CmdPanel.def"))
        << "the per-user file was not seeded from the installed one";
}

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>WaitKey;数値待ち,5991,TestPlugin.dll /C:WaitKey</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// The selected faces of the installed image sets are orange.
bool Orange(DWORD rgb)
{
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r >= 0xF0 && g >= 0x90 && g <= 0xE8 && b <= 0xB0;
}

int OrangePixels(HWND button)
{
    RECT rc = {};
    GetWindowRect(button, &rc);
    int count = 0;
    for (DWORD pixel : ScreenPixels(rc)) count += Orange(pixel) ? 1 : 0;
    return count;
}

bool WaitForOrange(HWND button, bool wanted)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 10000) {
        if ((OrangePixels(button) > 100) == wanted) return true;
        Sleep(50);
    }
    return false;
}

TEST_F(CommandPanelTest, AClickOnAButtonRunsItsCommandWhichStaysHighlightedWhileItWaits)
{
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    const std::string panelFile =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<PanelInfo><試験><data>"
        "<item>エコー,5990,エコー,0</item><item>数値待ち,5991,入力を待つ,0</item>"
        "</data></試験></PanelInfo>\n";
    UserPanelFile userFile(&panelFile);
    ASSERT_TRUE(userFile.Written());
    StartProgram();
    // Commands from 5000 on need an open drawing.
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr) << "no drawing window";
    HWND button = VisibleButton(Panel(0), 5991);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(WaitForOrange(button, false)) << "highlighted before any command";

    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(WaitForCaption(frame, "WaitKey waiting", 10000)) << Caption(frame);
    EXPECT_TRUE(WaitForOrange(button, true)) << "the button of the waiting command is not highlighted";
    HWND other = VisibleButton(Panel(0), 5990);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(OrangePixels(other), 0);

    // The other button ends the waiting command and runs its own.
    PostMessageA(other, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(other, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
    EXPECT_TRUE(WaitForOrange(button, false)) << "the ended command's button is still highlighted";
}

// A pane record of the stored layout ("xx " per byte) with the pane docked in a bar of its own at
// the left side of the given width; false when the record is not there.
bool DockRecordAtLeft(std::string* layout, const std::string& name, int width)
{
    const std::string key = name + "=\"";
    const size_t at = layout->find(key);
    if (at == std::string::npos) return false;
    const size_t bytes = at + key.size();
    auto setInt = [&](size_t offset, unsigned int value) {
        for (int i = 0; i < 4; ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", (value >> (8 * i)) & 0xFF);
            layout->replace(bytes + 3 * (offset + i), 2, hex);
        }
    };
    // The position after its 12-byte header: side, bar, ratio, bar width; then the docked flag.
    setInt(12, 3 | 4);
    setInt(16, 0);
    setInt(20, 0);
    setInt(24, static_cast<unsigned int>(width));
    setInt(52, 1);
    return layout->size() > bytes + 3 * 60;
}

RECT RectInClient(HWND window, HWND parent)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

struct SideLayout {
    RECT client = {};
    std::vector<RECT> commands, types;
    RECT list = {};
};

// Where the panel has its page's buttons, its type strip and its type list.
SideLayout ReadSideLayout(HWND panel)
{
    SideLayout layout;
    GetClientRect(panel, &layout.client);
    for (HWND button : VisibleButtons(panel)) {
        const int id = GetDlgCtrlID(button);
        (id >= 100 && id < 200 ? layout.types : layout.commands).push_back(RectInClient(button, panel));
    }
    if (HWND list = GetDlgItem(panel, 2000)) layout.list = RectInClient(list, panel);
    return layout;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The command pane docked at a side, as the user left it at the last exit: the panel is taller
// than wide, so the rows of its page stand as columns of equal buttons under the type list and
// the type strip stands upright right of them, all of it inside the pane.
class CommandPanelAtTheSide : public CommandPanelTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_settings.Ready());
    }
    void TearDown() override
    {
        CommandPanelTest::TearDown();
        program.Kill();  // before the files are put back
    }
    UserFileAside m_layout{"configMain.xml"};
    SettingsFileSwap m_settings{"LocalSettings.xml", {{"bWindowSz", "1"}}};
};

TEST_F(CommandPanelAtTheSide, ShowsTheRowsAsColumnsAndTheUprightTypeStripInsideThePane)
{
    UserPanelFile userFile(nullptr);
    {
        ProgramProcess first;
        HWND firstFrame = StartedFrame(first);
        ASSERT_NE(firstFrame, nullptr);
        PostMessageA(firstFrame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        ASSERT_TRUE(first.WaitForExit(30000, &exitCode));
    }
    std::string layout = ReadAll(m_layout.Path());
    ASSERT_FALSE(layout.empty()) << "no layout written at exit";
    // Two columns of the widest caption of the first page (76 + 2 × 8), the strip and margins.
    const int width = 240;
    ASSERT_TRUE(DockRecordAtLeft(&layout, "Wnd-0xffffffff", width)) << layout;
    ASSERT_TRUE(DockRecordAtLeft(&layout, "DfdockPos0", width)) << layout;
    ASSERT_TRUE(WriteAll(m_layout.Path(), layout));

    StartProgram();
    HWND panel = Panel(0);
    ASSERT_NE(panel, nullptr);

    // The restored layout reaches the panel through its sizes: wait until it stands upright.
    SideLayout seen;
    const DWORD start = GetTickCount();
    do {
        seen = ReadSideLayout(panel);
        if (seen.client.right < seen.client.bottom && seen.commands.size() == 10 && seen.types.size() == 4 &&
            seen.types[0].bottom - seen.types[0].top > seen.types[0].right - seen.types[0].left)
            break;
        Sleep(50);
    } while (GetTickCount() - start < 20000);
    RECT pane = RectInClient(GetParent(panel), frame);
    RECT mdi = RectInClient(FindWindowExA(frame, nullptr, "MDIClient", nullptr), frame);
    EXPECT_LE(pane.right, mdi.left) << "the pane is not at the left of the drawing area";
    ASSERT_LT(seen.client.right, seen.client.bottom) << "the panel is not tall";
    EXPECT_EQ(seen.client.right, width);
    ASSERT_EQ(seen.commands.size(), 10u);
    ASSERT_EQ(seen.types.size(), 4u);

    EXPECT_EQ(seen.list.left, 4);
    EXPECT_EQ(seen.list.top, 2);
    std::set<int> columns;
    RECT buttons = seen.commands[0];
    for (const RECT& rc : seen.commands) {
        SCOPED_TRACE(testing::Message() << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom);
        EXPECT_TRUE(Inside(rc, seen.client)) << "a command button reaches past the pane";
        EXPECT_EQ(rc.right - rc.left, seen.commands[0].right - seen.commands[0].left);
        EXPECT_EQ(rc.bottom - rc.top, seen.commands[0].bottom - seen.commands[0].top);
        EXPECT_GE(rc.top, seen.list.bottom) << "a button under the type list";
        columns.insert(rc.left);
        UnionRect(&buttons, &buttons, &rc);
    }
    EXPECT_EQ(columns, (std::set<int>{4, 4 + seen.commands[0].right - seen.commands[0].left}))
        << "the two rows of the page are not two columns";
    for (const RECT& rc : seen.types) {
        SCOPED_TRACE(testing::Message() << rc.left << "," << rc.top << " " << rc.right << "," << rc.bottom);
        EXPECT_TRUE(Inside(rc, seen.client)) << "a type button reaches past the pane";
        EXPECT_EQ(rc.left, buttons.right + 4) << "the strip is not right of the buttons";
        EXPECT_GT(rc.bottom - rc.top, rc.right - rc.left) << "the strip does not stand upright";
    }
    if (HasFailure()) SaveScreen("CommandPanelAtTheSide.bmp");
}

// A row of a list of the program, read as wide text: a list of another process hands its text
// over as wide characters whichever form of the message asks for it.
std::u16string ListRow(HWND list, LRESULT index)
{
    WCHAR text[512] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof text / sizeof text[0])) return std::u16string();
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// The first row that starts with the text; LB_ERR when none does.
LRESULT RowStartingWith(HWND list, const std::u16string& start)
{
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (ListRow(list, i).compare(0, start.size(), start) == 0) return i;
    return LB_ERR;
}

TEST_F(CommandPanelTest, ACommandInsertedFromTheSettingsSheetShowsInThePanelAfterARestart)
{
    const std::string panelFile =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<PanelInfo><試験><data>"
        "<item>線分,6000,線分を描く,0</item>"
        "</data></試験></PanelInfo>\n";
    UserPanelFile userFile(&panelFile);
    ASSERT_TRUE(userFile.Written());
    {
        ProgramProcess first;
        HWND firstFrame = StartedFrame(first);
        ASSERT_NE(firstFrame, nullptr);

        PostMessageA(firstFrame, WM_COMMAND, 1229, 0);
        HWND sheet = WaitForDialog(first, "環境設定", 20000);
        ASSERT_NE(sheet, nullptr);
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_NE(page, nullptr);
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(1803, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, 1803)));
        HWND dialog = WaitForDialog(first, "コマンドメニュー編集", 20000);
        ASSERT_NE(dialog, nullptr);

        // The second place of the first row, then 矩形 of the first catalogue type.
        HWND grid = GetDlgItem(dialog, 1809);
        HWND commands = GetDlgItem(dialog, 1136);
        ASSERT_NE(grid, nullptr);
        SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100 + 10, 10));
        SendMessageA(grid, WM_LBUTTONUP, 0, MAKELPARAM(100 + 10, 10));
        const LRESULT row = RowStartingWith(commands, u"矩形");
        ASSERT_NE(row, LB_ERR) << SendMessageW(commands, LB_GETCOUNT, 0, 0) << " rows";
        SendMessageA(commands, LB_SETCURSEL, row, 0);
        SendMessageA(dialog, WM_COMMAND, 1806, 0);
        EXPECT_EQ(ReadAll(userFile.Path()), panelFile) << "nothing is written before OK";

        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        HWND box = WaitForDialog(first, "確認", 20000);
        ASSERT_NE(box, nullptr);
        EXPECT_NE(StaticTexts(box).find("次回ＣＡＤ起動時から有効になります"), std::string::npos) << StaticTexts(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(WaitUntilGone(dialog, 20000));
        const std::string written = ReadAll(userFile.Path());
        EXPECT_NE(written.find("<item>線分,6000,線分を描く,0</item>"), std::string::npos) << written;
        EXPECT_NE(written.find(",6010,"), std::string::npos) << written;

        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitUntilGone(sheet, 30000));
        PostMessageA(firstFrame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        ASSERT_TRUE(first.WaitForExit(30000, &exitCode));
    }

    StartProgram();
    HWND panel = Panel(0);
    ASSERT_NE(panel, nullptr);
    EXPECT_NE(VisibleButton(panel, 6000), nullptr);
    EXPECT_NE(VisibleButton(panel, 6010), nullptr) << "the inserted command has no button after the restart";
    EXPECT_FALSE(ShowsErrorBox(program.ProcessId())) << "an error box came up";
}

// The program started with the tips off. The settings file is put back only after the program
// has ended (the fixture's tear-down closes it), since the program writes the file at its end.
class CommandPanelWithoutTips : public CommandPanelTest {
protected:
    SettingsFileSwap settings{"LocalSettings.xml", {{"bToolHlp", "0"}, {"iStartOpenDlgFg", "1"}}};
};

// Started with the tips off, the program shows a button's tip as soon as "コマンドメニューのヘルプを
// 表示する" is checked on the first page of the settings sheet and the sheet is closed with OK.
TEST_F(CommandPanelWithoutTips, TheFirstSettingsPageSwitchesTheButtonTipsOnAtOnce)
{
    ASSERT_TRUE(settings.Ready());
    StartProgram();
    HWND panel = Panel(0);
    ASSERT_NE(panel, nullptr);
    HWND button = VisibleButton(panel, 6000);
    ASSERT_NE(button, nullptr);

    PostMessageA(frame, WM_COMMAND, 1229, 0);
    HWND sheet = WaitForDialog(program, "環境設定", 20000);
    ASSERT_NE(sheet, nullptr);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(page, 1100), static_cast<UINT>(BST_UNCHECKED)) << "the tips were on at the start";
    CheckDlgButton(page, 1100, BST_CHECKED);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(sheet, 30000));
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));

    // The pointer comes onto the button from the frame's caption, as a user's would.
    RECT frameRect, buttonRect;
    GetWindowRect(frame, &frameRect);
    GetWindowRect(button, &buttonRect);
    ASSERT_TRUE(MovePointer({frameRect.left + 40, frameRect.top + 8}));
    const POINT centre = {(buttonRect.left + buttonRect.right) / 2, (buttonRect.top + buttonRect.bottom) / 2};
    ASSERT_TRUE(SettlePointer(button, centre)) << DescribeStackingAt(program.ProcessId(), centre);
    EXPECT_NE(program.WaitForWindow("tooltips_class32", 15000), nullptr) << "the button shows no tip";
}

}  // namespace
