// The toolbar settings dialog: the order by dragging and by "上"/"下", reset, and what OK saves.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "../core/SettingsSandbox.h"
#include "DialogDriver.h"
#include "dialogs/SetToolBarDlg.h"

namespace {

const char kCaption[] = "ツールバー設定";

// The [TOOLBAR] section in memory instead of the program ini.
class StoredToolbars {
public:
    StoredToolbars()
    {
        m_read = ToolBarSettings::s_read;
        m_write = ToolBarSettings::s_write;
        ToolBarSettings::s_read = &Read;
        ToolBarSettings::s_write = &Write;
        Values().clear();
        Writes() = 0;
    }
    ~StoredToolbars()
    {
        ToolBarSettings::s_read = m_read;
        ToolBarSettings::s_write = m_write;
    }
    static std::map<std::string, std::string>& Values()
    {
        static std::map<std::string, std::string> values;
        return values;
    }
    static int& Writes()
    {
        static int writes = 0;
        return writes;
    }

private:
    static std::string Read(const char*, const char* key, const char* defaultValue)
    {
        auto found = Values().find(key);
        return found != Values().end() ? found->second : defaultValue;
    }
    static bool Write(const char*, const char* key, const char* value)
    {
        ++Writes();
        Values()[key] = value;
        return true;
    }
    IniReader m_read;
    IniWriter m_write;
};

std::vector<std::string> Lines(HWND dialog)
{
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog, 1136, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        SendDlgItemMessageA(dialog, 1136, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

// A drop of the selected line on line `target`, as the drag list reports it.
void DropOn(HWND dialog, int target)
{
    HWND list = GetDlgItem(dialog, 1136);
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, target, reinterpret_cast<LPARAM>(&item));
    DRAGLISTINFO info = {};
    info.hWnd = list;
    info.ptCursor = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &info.ptCursor);
    info.uNotification = DL_BEGINDRAG;
    SendMessageA(dialog, WinKit::DragListMessage(), 1136, reinterpret_cast<LPARAM>(&info));
    info.uNotification = DL_DROPPED;
    SendMessageA(dialog, WinKit::DragListMessage(), 1136, reinterpret_cast<LPARAM>(&info));
}

const std::vector<std::string> kDefaultOrder = {"ファイル", "設定", "ウィンドウ", "ラスター", "計測",
                                                "表示", "編集", "作図", "文字", "寸法"};

TEST(ToolbarDialog, DraggingTheFirstLineOntoTheFifthPutsItAfterIt)
{
    SettingsSandbox sandbox;
    StoredToolbars stored;
    std::vector<std::string> shown, after;
    const int result = DialogDriver::Run(kCaption, [&](HWND dialog) {
        shown = Lines(dialog);
        SendDlgItemMessageA(dialog, 1136, LB_SETCURSEL, 0, 0);
        DropOn(dialog, 4);
        after = Lines(dialog);
        Click(dialog, IDOK);
    }, [] { return RunToolbarDialog(); });
    EXPECT_EQ(shown, kDefaultOrder);
    const std::vector<std::string> expected = {"設定", "ウィンドウ", "ラスター", "計測", "ファイル",
                                               "表示", "編集", "作図", "文字", "寸法"};
    EXPECT_EQ(after, expected);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(StoredToolbars::Values()["TB05"], "1,ファイル");
    EXPECT_EQ(StoredToolbars::Values()["TB01"], "1,設定");
    EXPECT_EQ(StoredToolbars::Values()["SizeMode"], "1");
}

TEST(ToolbarDialog, UpOnTheFirstAndDownOnTheLastDoNothing)
{
    SettingsSandbox sandbox;
    StoredToolbars stored;
    std::vector<std::string> afterUp, afterDown, afterMiddle;
    int selected = -1;
    DialogDriver::Run(kCaption, [&](HWND dialog) {
        SendDlgItemMessageA(dialog, 1136, LB_SETCURSEL, 0, 0);
        Click(dialog, 1803);
        afterUp = Lines(dialog);
        SendDlgItemMessageA(dialog, 1136, LB_SETCURSEL, 9, 0);
        Click(dialog, 1003);
        afterDown = Lines(dialog);
        SendDlgItemMessageA(dialog, 1136, LB_SETCURSEL, 3, 0);
        Click(dialog, 1803);
        afterMiddle = Lines(dialog);
        selected = static_cast<int>(SendDlgItemMessageA(dialog, 1136, LB_GETCURSEL, 0, 0));
        Click(dialog, IDCANCEL);
    }, [] { return RunToolbarDialog(); });
    EXPECT_EQ(afterUp, kDefaultOrder);
    EXPECT_EQ(afterDown, kDefaultOrder);
    EXPECT_EQ(afterMiddle[2], "ラスター");
    EXPECT_EQ(afterMiddle[3], "ウィンドウ");
    EXPECT_EQ(selected, 2) << "the moved line stays selected";
    EXPECT_EQ(StoredToolbars::Writes(), 0) << "Cancel saves nothing";
}

TEST(ToolbarDialog, ResetThenCancelLeavesTheSavedSettings)
{
    SettingsSandbox sandbox;
    StoredToolbars stored;
    std::vector<std::string> order = kDefaultOrder;
    std::swap(order[0], order[9]);
    for (int i = 0; i < 10; ++i) {
        char key[8];
        snprintf(key, sizeof key, "TB%02d", i + 1);
        StoredToolbars::Values()[key] = (i == 3 ? "0," : "1,") + order[i];
    }
    StoredToolbars::Values()["SizeMode"] = "2";
    std::vector<std::string> shown, afterReset;
    bool rasterShown = true, rasterAfterReset = false, middle = false;
    DialogDriver::Run(kCaption, [&](HWND dialog) {
        shown = Lines(dialog);
        rasterShown = IsDlgButtonChecked(dialog, 1810) == BST_CHECKED;
        SettingsSandbox::Answer(IDOK);
        Click(dialog, 1804);
        afterReset = Lines(dialog);
        rasterAfterReset = IsDlgButtonChecked(dialog, 1810) == BST_CHECKED;
        middle = IsDlgButtonChecked(dialog, 1862) == BST_CHECKED;
        Click(dialog, IDCANCEL);
    }, [] { return RunToolbarDialog(); });
    EXPECT_EQ(shown, order);
    EXPECT_FALSE(rasterShown);
    EXPECT_EQ(afterReset, kDefaultOrder);
    EXPECT_TRUE(rasterAfterReset);
    EXPECT_TRUE(middle);
    ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
    EXPECT_EQ(SettingsSandbox::Messages()[0].text, "初期状態に戻します。よろしいですか？");
    EXPECT_EQ(StoredToolbars::Writes(), 0);
    EXPECT_EQ(StoredToolbars::Values()["TB01"], "1,寸法");
}

// A stored list that is not ten known groups is shown as the defaults, and OK repairs it.
TEST(ToolbarDialog, OkRepairsAStoredListOfNineOrWithAnUnknownName)
{
    for (const char* tenth : {"", "1,不明"}) {
        SCOPED_TRACE(tenth);
        SettingsSandbox sandbox;
        StoredToolbars stored;
        for (int i = 0; i < 9; ++i) {
            char key[8];
            snprintf(key, sizeof key, "TB%02d", i + 1);
            StoredToolbars::Values()[key] = "1," + kDefaultOrder[(i + 1) % 10];
        }
        if (tenth[0] != '\0') StoredToolbars::Values()["TB10"] = tenth;
        std::vector<std::string> shown;
        const int result = DialogDriver::Run(kCaption, [&](HWND dialog) {
            shown = Lines(dialog);
            CheckDlgButton(dialog, 1810, BST_UNCHECKED);
            Click(dialog, IDOK);
        }, [] { return RunToolbarDialog(); });
        EXPECT_EQ(shown, kDefaultOrder);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(StoredToolbars::Values()["TB10"], "1,寸法");
        EXPECT_EQ(StoredToolbars::Values()["TB04"], "0,ラスター");
    }
}

// OK ends the dialog with OK also when its list cannot be saved (a line that names no group):
// nothing is written and the caller still has the main window rebuild from what is saved.
TEST(ToolbarDialog, OkThatCannotSaveStillEndsWithOkAndWritesNothing)
{
    SettingsSandbox sandbox;
    StoredToolbars stored;
    const int result = DialogDriver::Run(kCaption, [&](HWND dialog) {
        SendDlgItemMessageA(dialog, 1136, LB_DELETESTRING, 9, 0);
        SendDlgItemMessageA(dialog, 1136, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("不明"));
        Click(dialog, IDOK);
    }, [] { return RunToolbarDialog(); });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(StoredToolbars::Writes(), 0);
}

TEST(ToolbarDialog, NoSizeRadioStoresMinusTwo)
{
    SettingsSandbox sandbox;
    StoredToolbars stored;
    StoredToolbars::Values()["SizeMode"] = "7";
    bool anyRadio = true;
    DialogDriver::Run(kCaption, [&](HWND dialog) {
        anyRadio = false;
        for (int id = 1860; id <= 1863; ++id) anyRadio = anyRadio || IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        Click(dialog, IDOK);
    }, [] { return RunToolbarDialog(); });
    EXPECT_FALSE(anyRadio);
    EXPECT_EQ(StoredToolbars::Values()["SizeMode"], "-2");
}

}  // namespace
