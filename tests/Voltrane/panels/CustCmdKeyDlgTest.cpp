#include "GTest.h"

#include <map>
#include <string>
#include <vector>

#include "CmdPanelSandbox.h"
#include "HostMessages.h"
#include "OwnWindows.h"
#include "core/CadSystem.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsMessage.h"
#include "core/WholeFileRead.h"
#include "mainframe/MainAccelerator.h"
#include "panels/CustCmdKeyDlg.h"

namespace {

void AddType(CmdPanelContent& content, const std::string& name, const std::vector<std::string>& lines)
{
    content.typeNames.push_back(name);
    content.data.push_back(std::make_unique<CCmdPanelData>(name, nullptr));
    content.data.back()->itemLines = lines;
}

TEST(CustCmdKeyDlgTest, CategoriesAfterTheStopNameComeOnlyWithAPanelTypeOfTheirName)
{
    CmdPanelContent catalogue;
    AddType(catalogue, "ファイル", {});
    AddType(catalogue, "作図", {});
    AddType(catalogue, "建築図面", {});
    AddType(catalogue, "電気", {});
    EXPECT_EQ(KeyCategoryTypes(catalogue, nullptr), (std::vector<int>{0, 1}));
    CmdPanelContent panel;
    AddType(panel, "電気", {});
    AddType(panel, "作図", {});
    AddType(panel, "建築図面", {});
    EXPECT_EQ(KeyCategoryTypes(catalogue, &panel), (std::vector<int>{0, 1, 3, 1, 2}));
}

TEST(CustCmdKeyDlgTest, TheKeyListShowsTheKeysOfOneModifierCombinationWithTheirCaptions)
{
    CmdPanelContent catalogue;
    AddType(catalogue, "作図", {"線分,6000,線", "\\n", "  円  ,6020,円", "無効,0,t", "短い"});
    AddType(catalogue, "編集", {"新しい線分,6000,線"});
    std::map<int, std::string> captions = KeyCatalogueCaptions(catalogue);
    EXPECT_EQ(captions, (std::map<int, std::string>{{6000, "新しい線分"}, {6020, "円"}}));
    const std::vector<ACCEL> table = {
        {FVIRTKEY, 'A', 6000},
        {FVIRTKEY | FSHIFT, 'B', 6020},
        {FVIRTKEY | FSHIFT | FCONTROL | FNOINVERT, 'C', 6020},
        {FVIRTKEY | FNOINVERT, VK_F5, 4444},
        {FVIRTKEY | FCONTROL, 'D', 6000},
    };
    const struct {
        BYTE modifiers;
        std::vector<std::pair<std::string, int>> rows;
    } cases[] = {
        {FVIRTKEY,
         {{KeyRowText(CMainAccelerator::GetKeyName('A', 1), "新しい線分"), 0},
          {KeyRowText(CMainAccelerator::GetKeyName(VK_F5, 1), ""), 3}}},
        {FVIRTKEY | FSHIFT, {{KeyRowText("B", "円"), 1}}},
        {FVIRTKEY | FCONTROL, {{KeyRowText("D", "新しい線分"), 4}}},
        {FVIRTKEY | FSHIFT | FCONTROL, {{KeyRowText("C", "円"), 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.modifiers));
        EXPECT_EQ(KeyListRows(table, c.modifiers, captions), c.rows);
    }
    EXPECT_EQ(captions.count(4444), 1u) << "an unknown id is entered with an empty caption";
    EXPECT_EQ(KeyRowText("F5", "x"), "F5          x");
}

CMainAccelerator* g_accelerator = nullptr;

int& SettingsBoxes()
{
    static int boxes = 0;
    return boxes;
}
int CountSettingsBox(HWND, const char*, const char*, UINT)
{
    ++SettingsBoxes();
    return IDOK;
}

// The main frame as the dialog sees it: no command panel, the accelerator object.
LRESULT CALLBACK KeyFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CAD_GET_ACCELERATOR) return reinterpret_cast<LRESULT>(g_accelerator);
    if (msg == WM_CAD_GET_PANEL_WINDOW) return 0;
    return DefWindowProcA(window, msg, wParam, lParam);
}

// What the user does in the dialog, one step per timer tick: the first key without modifiers
// gets the third command, the first Shift key is cleared, OK is confirmed with Cancel first
// (the dialog stays, nothing written), then OK again.
struct KeyDriver {
    int step = 0;
    std::string failure;
    std::vector<std::string> plainRows, shiftRows;
    bool stayedAfterCancel = false;
    std::string fileAfterCancel;
    std::string keyFile;
};
KeyDriver g_driver;

std::vector<std::string> ListRows(HWND list)
{
    std::vector<std::string> rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

void CALLBACK DriveKeyDialog(HWND, UINT, UINT_PTR, DWORD)
{
    KeyDriver& d = g_driver;
    HWND dialog = FindOwnWindow("#32770", "ショートカットキー編集");
    HWND box = FindOwnWindow("#32770", "確認");
    if (d.step == 0) {
        if (dialog == nullptr) return;
        HWND keys = GetDlgItem(dialog, 1137), commands = GetDlgItem(dialog, 1136);
        if (keys == nullptr || commands == nullptr) {
            d.failure = "controls missing";
            EndDialog(dialog, 99);
            return;
        }
        d.plainRows = ListRows(keys);
        SendMessageA(keys, LB_SETCURSEL, 0, 0);
        SendMessageA(commands, LB_SETCURSEL, 2, 0);
        SendMessageA(dialog, WM_COMMAND, 1805, 0);
        CheckDlgButton(dialog, 1808, BST_CHECKED);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1808, BN_CLICKED), 0);
        d.shiftRows = ListRows(keys);
        SendMessageA(keys, LB_SETCURSEL, 0, 0);
        SendMessageA(dialog, WM_COMMAND, 1804, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        d.step = 1;
    } else if (d.step == 1) {
        if (box == nullptr) return;
        SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
        d.step = 2;
    } else if (d.step == 2) {
        if (box != nullptr) return;
        d.stayedAfterCancel = dialog != nullptr;
        ReadWholeFile(d.keyFile.c_str(), &d.fileAfterCancel);
        if (dialog == nullptr) {
            d.failure = "the dialog closed on the confirmation's Cancel";
            return;
        }
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        d.step = 3;
    } else if (d.step == 3) {
        if (box == nullptr) return;
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        d.step = 4;
    }
}

// The dialog's surroundings for one run: the catalogue, the installed and the per-user key
// files, settings boxes counted instead of shown, and a main frame that hands out the accelerator.
class KeyDialogScope {
public:
    explicit KeyDialogScope(const std::string& userKeys)
    {
        FreeCommandPanelCatalogues();
        SettingsBoxes() = 0;
        m_previousHook = SetSettingsMessageHook(CountSettingsBox);
        ready = sandbox.folder.Write("program\\CmdKeyBase.def",
                                     PanelXml({{"作図", {"線分,6000,線", "円,6020,円", "点,6040,点"}}}, "KeyInfo")) &&
                // The installed key file, which the per-user one is seeded from; without it every
                // lookup of the per-user path would stop at the missing-file box.
                sandbox.folder.Write("program\\RovOdidov.key",
                                     "[CustomKey]\r\nBEGIN\r\n    \"A\",6000,VIRTKEY\r\nEND\r\n"
                                     "[SystemKey]\r\nBEGIN\r\n    \"VK_F1\",7000,VIRTKEY\r\nEND\r\n");
        keyFile = KeyFilePath(nullptr, 0);
        ready = ready && WriteFileReplacing(keyFile.c_str(), userKeys) == 0 && running.Load(nullptr) == 0;
        g_accelerator = &running;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = KeyFrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CustCmdKeyDlgTestFrame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, wc.hInstance,
                                nullptr);
        ready = ready && frame != nullptr;
        SetMainFrameWnd(frame);
    }
    ~KeyDialogScope()
    {
        SetMainFrameWnd(nullptr);
        if (frame != nullptr) DestroyWindow(frame);
        g_accelerator = nullptr;
        SetSettingsMessageHook(m_previousHook);
        FreeCommandPanelCatalogues();
    }
    KeyDialogScope(const KeyDialogScope&) = delete;
    KeyDialogScope& operator=(const KeyDialogScope&) = delete;

    // Runs the dialog with the driver stepping on a timer; the dialog's answer.
    INT_PTR Run(TIMERPROC driver)
    {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, driver);
        const INT_PTR result = ShowCustCmdKeyDlg(frame);
        KillTimer(nullptr, timer);
        return result;
    }

    CmdPanelSandbox sandbox;
    std::string keyFile;
    CMainAccelerator running;
    HWND frame = nullptr;
    bool ready = false;

private:
    SettingsMessageHook m_previousHook = nullptr;
};

TEST(CustCmdKeyDlgTest, OkAfterTheConfirmationWritesTheKeyFileTheAcceleratorReadsBack)
{
    const std::string original =
        "[CustomKey]\r\nBEGIN\r\n"
        "    \"A\",6000,VIRTKEY\r\n"
        "    \"B\",6020,VIRTKEY,SHIFT\r\n"
        "    \"VK_F5\",4444,VIRTKEY\r\n"
        "END\r\n[SystemKey]\r\nBEGIN\r\n"
        "    \"VK_F1\",7000,VIRTKEY\r\n"
        "END\r\n";
    KeyDialogScope scope(original);
    ASSERT_TRUE(scope.ready) << scope.keyFile;
    CMainAccelerator& running = scope.running;
    const HACCEL runningTable = running.Table();

    g_driver = KeyDriver();
    g_driver.keyFile = scope.keyFile;
    const INT_PTR result = scope.Run(DriveKeyDialog);

    EXPECT_TRUE(g_driver.failure.empty()) << g_driver.failure;
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_driver.step, 4);
    EXPECT_EQ(g_driver.plainRows, (std::vector<std::string>{KeyRowText("A", "線分"), KeyRowText(CMainAccelerator::GetKeyName(VK_F5, 1), "")}));
    EXPECT_EQ(g_driver.shiftRows, std::vector<std::string>{KeyRowText("B", "円")});
    EXPECT_TRUE(g_driver.stayedAfterCancel) << "Cancel in the confirmation keeps the dialog open";
    EXPECT_EQ(g_driver.fileAfterCancel, original) << "and writes nothing";
    EXPECT_EQ(running.Table(), runningTable) << "the running table is not changed";

    // The next start reads what OK wrote: A runs the new command, B is gone, the others stay.
    CMainAccelerator next;
    std::vector<ACCEL> read;
    ASSERT_EQ(next.ReadKeyFile(nullptr, read, 0, 0), 0);
    ASSERT_EQ(read.size(), 3u);
    const struct {
        WORD key;
        BYTE flags;
        WORD cmd;
    } expected[] = {{'A', FVIRTKEY, 6040}, {VK_F5, FVIRTKEY, 4444}, {VK_F1, FVIRTKEY, 7000}};
    for (size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].key, expected[i].key);
        EXPECT_EQ(read[i].fVirt, expected[i].flags);
        EXPECT_EQ(read[i].cmd, expected[i].cmd);
    }
    EXPECT_EQ(next.Load(nullptr), 0) << "the written file makes a table";
    EXPECT_EQ(SettingsBoxes(), 0) << "no settings box came up";
}

// Reset, as the user does it: the first key gets the third command, reset is answered Cancel (the
// change stays), then OK (the program folder's keys come back with the selection kept), then OK
// of the dialog is confirmed.
struct ResetDriver {
    int step = 0;
    std::string failure;
    std::vector<std::string> assignedRows, afterCancelRows, afterResetRows;
    LRESULT selectionAfterReset = LB_ERR;
};
ResetDriver g_reset;

void CALLBACK DriveKeyReset(HWND, UINT, UINT_PTR, DWORD)
{
    ResetDriver& d = g_reset;
    HWND dialog = FindOwnWindow("#32770", "ショートカットキー編集");
    HWND box = FindOwnWindow("#32770", "確認");
    HWND keys = dialog != nullptr ? GetDlgItem(dialog, 1137) : nullptr;
    if (d.step == 0) {
        if (keys == nullptr) return;
        SendMessageA(keys, LB_SETCURSEL, 0, 0);
        SendMessageA(GetDlgItem(dialog, 1136), LB_SETCURSEL, 2, 0);
        SendMessageA(dialog, WM_COMMAND, 1805, 0);
        d.assignedRows = ListRows(keys);
        PostMessageA(dialog, WM_COMMAND, 1807, 0);
        d.step = 1;
    } else if (d.step == 1 || d.step == 3) {
        if (box == nullptr) return;
        SendMessageA(box, WM_COMMAND, d.step == 1 ? IDCANCEL : IDOK, 0);
        ++d.step;
    } else if (d.step == 2) {
        if (box != nullptr || keys == nullptr) return;
        d.afterCancelRows = ListRows(keys);
        PostMessageA(dialog, WM_COMMAND, 1807, 0);
        d.step = 3;
    } else if (d.step == 4) {
        if (box != nullptr || keys == nullptr) return;
        d.afterResetRows = ListRows(keys);
        d.selectionAfterReset = SendMessageA(keys, LB_GETCURSEL, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        d.step = 5;
    } else if (d.step == 5) {
        if (box == nullptr) return;
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        d.step = 6;
    }
}

TEST(CustCmdKeyDlgTest, ResetBringsBackTheProgramFoldersKeysAndOkWritesThem)
{
    KeyDialogScope scope("[CustomKey]\r\nBEGIN\r\n"
                         "    \"A\",6020,VIRTKEY\r\n"
                         "    \"VK_F5\",4444,VIRTKEY\r\n"
                         "END\r\n[SystemKey]\r\nBEGIN\r\n"
                         "    \"VK_F1\",7000,VIRTKEY\r\n"
                         "END\r\n");
    ASSERT_TRUE(scope.ready) << scope.keyFile;
    g_reset = ResetDriver();
    const INT_PTR result = scope.Run(DriveKeyReset);

    EXPECT_TRUE(g_reset.failure.empty()) << g_reset.failure;
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(g_reset.step, 6);
    const std::string f5 = CMainAccelerator::GetKeyName(VK_F5, 1);
    const std::vector<std::string> assigned = {KeyRowText("A", "点"), KeyRowText(f5, "")};
    EXPECT_EQ(g_reset.assignedRows, assigned);
    EXPECT_EQ(g_reset.afterCancelRows, assigned) << "Cancel in the reset box changed the keys";
    EXPECT_EQ(g_reset.afterResetRows, std::vector<std::string>{KeyRowText("A", "線分")});
    EXPECT_EQ(g_reset.selectionAfterReset, 0) << "the selected row is not selected again";

    // What OK wrote is the program folder's table.
    CMainAccelerator next;
    std::vector<ACCEL> read;
    ASSERT_EQ(next.ReadKeyFile(nullptr, read, 0, 0), 0);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].key, 'A');
    EXPECT_EQ(read[0].cmd, 6000);
    EXPECT_EQ(read[1].key, VK_F1);
    EXPECT_EQ(read[1].cmd, 7000);
    EXPECT_EQ(SettingsBoxes(), 0) << "no settings box came up";
}

}  // namespace
