// What the drawing file dialogs rely on in the platform's hooked open-file dialog, checked on
// the dialog itself: the child template 229 is placed with its controls, a selection in the
// file list notifies the hook (CDN_SELCHANGE) and CDM_GETFILEPATH answers the selected path
// (folder and quoted names for several; the folder alone when the selection is cleared), and
// choosing another file type notifies the hook (CDN_TYPECHANGE, on CBN_SELENDOK of the type box)
// with the new filter index. The preset name shows in the name field, which is the combo box
// cmb13 (1148), not edt1 (1152).
#include "GTest.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "TempFolder.h"

namespace {

constexpr UINT kDrive = WM_APP + 7;

struct DialogObservations {
    bool initDone = false;
    bool templatePlaced = false;
    bool previewVisible = false;
    bool tabHidden = false;
    std::string nameField;
    std::string nameCombo;
    std::vector<std::string> selectedPaths;
    std::vector<int> typeChanges;
    int step = 0;
};

DialogObservations* g_seen = nullptr;

HWND FindFileList(HWND frame)
{
    HWND view = FindWindowExA(frame, nullptr, "SHELLDLL_DefView", nullptr);
    return view != nullptr ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

void SelectItems(HWND list, int count)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int i = 0; i < count; ++i) {
        item.state = LVIS_SELECTED | (i == 0 ? LVIS_FOCUSED : 0);
        SendMessageA(list, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    }
}

// Each step happens once the previous one was seen, then the dialog is cancelled.
void Drive(HWND hook)
{
    HWND frame = GetParent(hook);
    HWND list = FindFileList(frame);
    switch (g_seen->step++) {
    case 0:
        if (list != nullptr) SelectItems(list, 1);
        PostMessageA(hook, kDrive, 0, 0);
        break;
    case 1:
        if (list != nullptr) SelectItems(list, 2);
        PostMessageA(hook, kDrive, 0, 0);
        break;
    case 2: {
        HWND types = GetDlgItem(frame, cmb1);
        SendMessageA(types, CB_SETCURSEL, 1, 0);
        SendMessageA(frame, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
        PostMessageA(hook, kDrive, 0, 0);
        break;
    }
    default:
        PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
        break;
    }
}

UINT_PTR CALLBACK Hook(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == kDrive) {
        Drive(hook);
        return 0;
    }
    if (message != WM_NOTIFY) return 0;
    auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
    switch (notify->hdr.code) {
    case CDN_INITDONE: {
        g_seen->initDone = true;
        HWND preview = GetDlgItem(hook, 6000);
        g_seen->templatePlaced = preview != nullptr && GetDlgItem(hook, 1812) != nullptr &&
                                 GetDlgItem(hook, 6090) != nullptr && GetDlgItem(hook, 6091) != nullptr;
        g_seen->previewVisible = preview != nullptr && (GetWindowLongA(preview, GWL_STYLE) & WS_VISIBLE) != 0;
        g_seen->tabHidden = GetDlgItem(hook, 6010) != nullptr && (GetWindowLongA(GetDlgItem(hook, 6010), GWL_STYLE) & WS_VISIBLE) == 0;
        char name[MAX_PATH] = {};
        GetDlgItemTextA(GetParent(hook), edt1, name, sizeof name);
        g_seen->nameField = name;
        name[0] = '\0';
        GetDlgItemTextA(GetParent(hook), cmb13, name, sizeof name);
        g_seen->nameCombo = name;
        PostMessageA(hook, kDrive, 0, 0);
        break;
    }
    case CDN_SELCHANGE: {
        char path[511] = {};
        LRESULT length = SendMessageA(GetParent(hook), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
        g_seen->selectedPaths.push_back(length > 0 ? std::string(path) : std::string("<") + std::to_string(length) + ">");
        break;
    }
    case CDN_TYPECHANGE:
        g_seen->typeChanges.push_back(static_cast<int>(notify->lpOFN->nFilterIndex));
        break;
    default:
        break;
    }
    return 0;
}

TEST(CommonDialogBehaviour, HookedOpenDialogReportsSelectionPathAndTypeChanges)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("a.tcf", "x"));
    ASSERT_TRUE(folder.Write("b.tcf", "y"));
    DialogObservations seen;
    g_seen = &seen;
    char result[2020] = "preset";
    const char filter[] = "図面ファイル(*.tcf)\0*.tcf\0すべてのファイル(*.*)\0*.*\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = result;
    ofn.nMaxFile = sizeof result;
    ofn.lpstrInitialDir = folder.Path().c_str();
    ofn.lpfnHook = Hook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(229);
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY |
                OFN_ALLOWMULTISELECT | OFN_ENABLESIZING;
    EXPECT_EQ(GetOpenFileNameA(&ofn), FALSE);  // cancelled by the drive
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    g_seen = nullptr;

    EXPECT_TRUE(seen.initDone);
    EXPECT_TRUE(seen.templatePlaced);
    EXPECT_TRUE(seen.previewVisible);
    EXPECT_TRUE(seen.tabHidden);
    // The name field of the Explorer-style dialog is the combo box cmb13; edt1 stays empty.
    EXPECT_EQ(seen.nameCombo, "preset");
    EXPECT_EQ(seen.nameField, "");
    // Clearing the selection notifies too; the path is then the folder alone.
    std::vector<std::string> files;
    for (const auto& p : seen.selectedPaths)
        if (p + "\\" != folder.Path() && p != folder.File("preset")) files.push_back(p);
    ASSERT_GE(files.size(), 2u);
    EXPECT_EQ(files.front(), folder.File("a.tcf"));
    // Several selected: the folder, a backslash and the quoted names.
    EXPECT_EQ(files.back(), folder.Path() + "\"a.tcf\" \"b.tcf\" ");
    ASSERT_EQ(seen.typeChanges.size(), 1u);
    EXPECT_EQ(seen.typeChanges[0], 2);
}

}  // namespace
