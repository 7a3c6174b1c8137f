// What the file dialog does with the chosen files: deletions reported one by one, and loads into
// the paste database that answer whether anything was loaded.
#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "TempFolder.h"
#include "core/SettingsMessage.h"
#include "drawing/DrawingFileActions.h"
#include "drawing/PasteDatabase.h"

namespace {

std::vector<std::string> g_shown;

int Record(HWND, const char* text, const char*, UINT)
{
    g_shown.push_back(text ? text : "");
    return IDOK;
}

struct RecordedMessages {
    RecordedMessages() : previous(SetSettingsMessageHook(Record)) { g_shown.clear(); }
    ~RecordedMessages() { SetSettingsMessageHook(previous); }
    SettingsMessageHook previous;
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteDrawingFile(const std::string& path, int lines)
{
    EngineDbRecord record;
    std::memset(&record, 0, sizeof record);
    if (ZUriCreateDB(&record) != 1) return false;
    for (int i = 0; i < lines; ++i) {
        LineRecord line;
        std::memset(&line, 0, sizeof line);
        reinterpret_cast<ElementRecord*>(&line)->type = 1;
        line.x1 = i * 10, line.x2 = i * 10 + 5, line.y2 = 5;
        ZUriAppendElement(&line, &record);
    }
    uint32_t flags = 0;
    const int saved = ZUriSaveFileOfCWX(path.c_str(), &record, &flags);
    ZUriDeleteDB(&record);
    return saved == 1;
}

}  // namespace

TEST(DrawingFileActions, AReadOnlyFileAmongThreeIsReportedAndTheOthersAreDeleted)
{
    TempFolder folder;
    for (const char* name : {"a.tcf", "b.tcf", "c.tcf"}) ASSERT_TRUE(folder.Write(name, "x"));
    const std::string kept = folder.File("b.tcf");
    ASSERT_TRUE(SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY));
    RecordedMessages messages;

    DeleteChosenFiles(nullptr, {folder.File("a.tcf"), kept, folder.File("c.tcf")});
    SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(Exists(folder.File("a.tcf")));
    EXPECT_TRUE(Exists(kept));
    EXPECT_FALSE(Exists(folder.File("c.tcf")));
    EXPECT_EQ(g_shown, (std::vector<std::string>{
                           "ファイルの削除に失敗しました\n[" + kept + "]\nファイルが使用中か、読取専用になっている可能性があります。",
                           "ファイルの削除が終了しました。"}));
}

TEST(PasteDatabase, LoadsAnswerWhetherTheFileWasLoaded)
{
    TempFolder folder;
    ASSERT_TRUE(WriteDrawingFile(folder.File("good.tcf"), 3));
    ASSERT_TRUE(folder.Write("empty.tcf", ""));
    ASSERT_TRUE(folder.Write("notes.txt", "text"));
    const struct {
        const char* name;
        int answer;
        const char* message;  // null: none
    } cases[] = {
        {"good.tcf", 1, nullptr},
        {"empty.tcf", 0, "図面ファイルの読み込みに失敗しました"},
        {"missing.tcf", 0, "図面ファイルの読み込みに失敗しました"},
        {"notes.txt", 0, "図面ファイルが識別できません"},
        {"picture.tif", 0, "図面ファイルが識別できません"},
    };
    RecordedMessages messages;
    for (const auto& c : cases) {
        g_shown.clear();
        EXPECT_EQ(LoadFileIntoPasteDb(nullptr, folder.File(c.name).c_str(), nullptr, nullptr), c.answer) << c.name;
        if (c.message == nullptr) {
            EXPECT_TRUE(g_shown.empty()) << c.name;
            EXPECT_EQ(ZUriGetMarkNum(GetPasteMark()), 3) << "every element of the loaded drawing is marked";
        } else {
            ASSERT_FALSE(g_shown.empty()) << c.name << ": a failed load said nothing";
            EXPECT_EQ(g_shown.back(), c.message) << c.name;
            EXPECT_EQ(GetPasteMark(), nullptr) << c.name << ": nothing to place";
        }
    }
    EXPECT_FALSE(PlaceChosenFile(nullptr, folder.File("empty.tcf"))) << "a failed load places nothing";
    FreePasteDb();
    EXPECT_EQ(PasteDbValid(), 0);
}
