// The margin preset dialogs: the new-preset entries, import and export, and the list dialog
// over "margin.dat".
#include "GTest.h"

#include <windows.h>

#include <string>
#include <vector>

#include "OwnWindows.h"
#include "TempFolder.h"
#include "core/SettingsMessage.h"
#include "drawing/MarginListDialogs.h"

namespace {

const std::string kHeader = "Brisco Margin Data Ver.1.0";

std::vector<std::string>& Boxes()
{
    static std::vector<std::string> boxes;
    return boxes;
}
int RecordBox(HWND, const char* text, const char*, UINT)
{
    Boxes().push_back(text);
    return IDOK;
}

struct NewEntryCase {
    const char* what;
    std::string name;
    const char* margin;
    int accepted;
    std::string storedName;
    int badControl;
};

class NewMarginEntries : public ::testing::TestWithParam<NewEntryCase> {};

TEST_P(NewMarginEntries, AreCheckedBeforeTheyAreStored)
{
    const NewEntryCase& c = GetParam();
    SettingsMessageHook previous = SetSettingsMessageHook(RecordBox);
    Boxes().clear();
    std::string margins[CMarginData::kMarginCount] = {"1", "2", "3", "4", "5", "6", "7", c.margin};
    CMarginData preset;
    preset.name = "before";
    int bad = 0;
    EXPECT_EQ(ReadNewMarginEntries(nullptr, c.name, margins, preset, &bad), c.accepted) << c.what;
    EXPECT_EQ(preset.name, c.storedName) << c.what;
    EXPECT_EQ(Boxes().size(), c.accepted ? 0u : 1u) << c.what;
    if (!c.accepted) {
        EXPECT_EQ(bad, c.badControl) << c.what;
    }
    SetSettingsMessageHook(previous);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NewMarginEntries,
    ::testing::Values(NewEntryCase{"accepted", "A3 plotter", "99.99", 1, "A3 plotter", 0},
                      NewEntryCase{"zero accepted", "Z", "0", 1, "Z", 0},
                      NewEntryCase{"comma refused", "A,B", "1", 0, "before", 1300},
                      NewEntryCase{"empty name refused", "", "1", 0, "before", 1300},
                      NewEntryCase{"margin 100 refused", "A", "100", 0, "before", 1312},
                      NewEntryCase{"text refused", "A", "abc", 0, "before", 1312},
                      NewEntryCase{"long name cut to 30 bytes", std::string(40, 'x'), "1", 1, std::string(30, 'x'), 0}));

// "図" is two bytes in code page 932: "A" and fifteen of them make 31 bytes.
TEST(NewMarginEntries, LongNameIsCutOnACharacterBoundary)
{
    std::string name = "A";
    for (int i = 0; i < 15; ++i) name += "図";
    std::string margins[CMarginData::kMarginCount] = {"1", "2", "3", "4", "5", "6", "7", "8"};
    CMarginData preset;
    int bad = 0;
    ASSERT_EQ(ReadNewMarginEntries(nullptr, name, margins, preset, &bad), 1);
    EXPECT_EQ(preset.name, name.substr(0, 29));
}

TEST(MarginImportExport, ImportTwiceDoublesAndExportWritesOnePreset)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("in.mgn", kHeader + "\nA, 1, 2, 3, 4, 5, 6, 7, 8\nbad line\nB, 1, 2, 3, 4, 5, 6, 7, 8.125\n"));
    CMargin store;
    EXPECT_EQ(ImportMarginFile(store, folder.File("in.mgn").c_str()), 0);
    EXPECT_EQ(ImportMarginFile(store, folder.File("in.mgn").c_str()), 0);
    EXPECT_EQ(store.presets.size(), 4u);
    EXPECT_TRUE(store.unreadLines.empty()) << "an imported file's other lines stay out";
    ASSERT_EQ(ExportMarginPreset(store.presets[1], folder.File("out.mgn").c_str()), 0);
    EXPECT_EQ(folder.Read("out.mgn"), kHeader + "\r\nB, 1, 2, 3, 4, 5, 6, 7, 8.125\r\n");
}

// Presses through the list dialog and the new-preset dialog as a user would.
struct ListDriver {
    static int& Step()
    {
        static int step = 0;
        return step;
    }
    static int& Lines()
    {
        static int lines = -1;
        return lines;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (HWND add = FindOwnWindow("#32770", "新規登録")) {
            SetDlgItemTextA(add, 1300, "New");
            const char* margins[8] = {"1.125", "2", "3", "4", "5", "6", "7", "8"};
            for (int i = 0; i < 8; ++i) SetDlgItemTextA(add, 1305 + i, margins[i]);
            SendMessageA(add, WM_COMMAND, IDOK, 0);
            return;
        }
        HWND list = FindOwnWindow("#32770", "マージン枠パターン選択");
        if (list == nullptr) return;
        Lines() = static_cast<int>(SendDlgItemMessageA(list, 1500, LB_GETCOUNT, 0, 0));
        switch (Step()) {
        case 0:  // open and cancel
            SendMessageA(list, WM_COMMAND, IDCANCEL, 0);
            break;
        case 1:  // add a preset, then choose it
            Step() = 2;
            PostMessageA(list, WM_COMMAND, 1001, 0);
            return;
        case 2:
            if (Lines() < 2) return;
            SendDlgItemMessageA(list, 1500, LB_SETCURSEL, 1, 0);
            SendMessageA(list, WM_COMMAND, IDOK, 0);
            break;
        }
    }
};

TEST(MarginListDialog, WritesOnlyAfterAChangeAtFullPrecisionKeepingUnreadLines)
{
    SettingsMessageHook previous = SetSettingsMessageHook(RecordBox);
    CMargin paths;
    const std::string path = paths.path;
    std::string saved;
    const bool hadFile = [&] {
        TempFolder unused;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return false;
        char buffer[65536];
        DWORD read = 0;
        ReadFile(f, buffer, sizeof buffer, &read, nullptr);
        saved.assign(buffer, read);
        CloseHandle(f);
        return true;
    }();
    auto write = [&](const std::string& bytes) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    };
    auto read = [&] {
        std::string bytes;
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char buffer[65536];
        DWORD got = 0;
        if (f != INVALID_HANDLE_VALUE && ReadFile(f, buffer, sizeof buffer, &got, nullptr)) bytes.assign(buffer, got);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        return bytes;
    };

    const std::string original = kHeader + "\nOld, 1.234, 2, 3, 4, 5, 6, 7, 8\nA,B, 1, 2, 3, 4, 5, 6, 7, 8\n";
    write(original);
    CMarginData chosen;
    ListDriver::Step() = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ListDriver::Tick);
    EXPECT_EQ(RunMarginListDlg(nullptr, chosen), IDCANCEL);
    EXPECT_EQ(ListDriver::Lines(), 1);
    EXPECT_EQ(read(), original) << "opening and closing leaves the file as it was";

    ListDriver::Step() = 1;
    EXPECT_EQ(RunMarginListDlg(nullptr, chosen), IDOK);
    EXPECT_EQ(chosen.name, "New");
    EXPECT_EQ(chosen.margins[0], 1.125);
    EXPECT_EQ(read(), kHeader + "\r\nOld, 1.234, 2, 3, 4, 5, 6, 7, 8\r\nNew, 1.125, 2, 3, 4, 5, 6, 7, 8\r\n"
                                "A,B, 1, 2, 3, 4, 5, 6, 7, 8\r\n");

    // A file of another kind is left untouched, and the user is told.
    const std::string foreign = "something else\nOld, 1, 2, 3, 4, 5, 6, 7, 8\n";
    write(foreign);
    Boxes().clear();
    ListDriver::Step() = 0;
    EXPECT_EQ(RunMarginListDlg(nullptr, chosen), IDCANCEL);
    EXPECT_EQ(ListDriver::Lines(), 0);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(read(), foreign);
    KillTimer(nullptr, timer);

    if (hadFile) write(saved);
    else DeleteFileA(path.c_str());
    SetSettingsMessageHook(previous);
}

}  // namespace
