// Drawing files without the program: file types, load messages, locks, the save decisions of
// SaveDrawing with its dialog and questions answered here, the write and a reload of what was
// written, the removable-drive write, the initial layer, the paper table and the file-dialog
// texts.
#include "GTest.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "TempFolder.h"
#include "core/CadSystem.h"
#include "core/SettingsMessage.h"
#include "drawing/CadDatabase.h"
#include "drawing/DrawingFileActions.h"
#include "drawing/DrawingFileDialog.h"
#include "drawing/DrawingFileLock.h"
#include "drawing/DrawingFileType.h"
#include "drawing/DrawingSave.h"
#include "drawing/InitialLayer.h"
#include "drawing/PaperTable.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

void AppendElement(void* db, int type, int layer, double x)
{
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = static_cast<uint16_t>(type);
    header->layer = static_cast<uint16_t>(layer);
    header->colour = 1;
    line.x1 = x, line.y1 = 0, line.x2 = x + 10, line.y2 = 5;
    ASSERT_NE(ZUriAppendElement(&line, db), nullptr);
}

std::string FileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

TEST(DrawingFileTypes, ByExtension)
{
    const struct {
        const char* path;
        int type;
    } cases[] = {{"plan.TCF", 12}, {"plan.tcf", 12},   {"C:\\a.b\\plan.otcf", 1}, {"plan.OTCF", 1},
                 {"plan.abcdef", 0}, {"plan.dxfx", 0}, {"plan", 0},             {"C:\\dir.x\\plan", 0},
                 {"plan.dxf", 4},  {"plan.jwk", 5},   {"plan.dwg", 7},          {"plan.tif", 8},
                 {"plan.p21", 13}, {"plan.jww", 15},  {"plan.pdf", 16},         {"plan.", 0}};
    for (const auto& c : cases) EXPECT_EQ(GetDrawingFileType(c.path), c.type) << c.path;
    EXPECT_EQ(GetDrawingFileType(nullptr), 0);
}

TEST(DrawingFileTypes, LoadFlagsNameTheirMessageInTheOrderOfTheLoad)
{
    const struct {
        uint32_t flags;
        LoadMessageOrder order;
        const char* message;
    } cases[] = {
        {0, LoadMessageOrder::OpenLoaded, nullptr},
        {0x80 | 0x02, LoadMessageOrder::OpenLoaded, "図面情報が異常です"},
        {0x02, LoadMessageOrder::OpenLoaded, "要素情報が異常です"},
        {0x10 | 0x400, LoadMessageOrder::OpenLoaded, "未知の圧縮形式のファイルです。処理を続行できません。"},
        {0x10 | 0x400, LoadMessageOrder::OpenFailed, "ファイルが異常です。図面と認識できません。"},
        {0x800, LoadMessageOrder::OpenFailed, "未知の形式のファイルです。処理を続行できません。"},
        {0x200, LoadMessageOrder::OpenFailed, "メモリが不足しています\n読込を中断しました"},
        {0x100, LoadMessageOrder::OpenLoaded, "FGRP情報が異常です"},
        {0x100, LoadMessageOrder::PasteLoaded, "シンボル情報が異常です"},
        {0x01, LoadMessageOrder::OpenFailed, nullptr},
    };
    for (const auto& c : cases) {
        const char* got = LoadFlagMessage(c.flags, c.order);
        if (c.message == nullptr) EXPECT_EQ(got, nullptr) << c.flags;
        else EXPECT_STREQ(got, c.message) << c.flags;
    }
    EXPECT_EQ(LoadFlagMessage(0x400, LoadMessageOrder::PasteLoaded, false), nullptr) << "otcf pastes ignore the format bits";
}

// A drawing view as the table knows it: a window whose long 0 is a drawing block.
class DrawingWindowFixture : public ::testing::Test {
protected:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

    struct Box {
        std::string text, caption;
    };
    static std::vector<Box>& Boxes()
    {
        static std::vector<Box> boxes;
        return boxes;
    }
    static int& Answer()
    {
        static int answer = IDOK;
        return answer;
    }
    static int RecordBox(HWND, const char* text, const char* caption, UINT)
    {
        Boxes().push_back({text ? text : "", caption ? caption : ""});
        return Answer();
    }
    struct DialogCall {
        DWORD flags = 0;
        std::string preset;
    };
    static std::vector<DialogCall>& Dialogs()
    {
        static std::vector<DialogCall> calls;
        return calls;
    }
    static std::string& DialogAnswer()
    {
        static std::string answer;
        return answer;
    }
    static BOOL AnswerDialog(OPENFILENAMEA* request)
    {
        Dialogs().push_back({request->Flags, request->lpstrFile});
        if (DialogAnswer().empty()) return FALSE;
        lstrcpynA(request->lpstrFile, DialogAnswer().c_str(), static_cast<int>(request->nMaxFile));
        return TRUE;
    }

    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.cbWndExtra = 8;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DrawingFilesTestView";
        RegisterClassA(&wc);
        ClearViewTable();
        Boxes().clear();
        Dialogs().clear();
        DialogAnswer().clear();
        Answer() = IDOK;
        m_previousHook = SetSettingsMessageHook(RecordBox);
        m_previousRunner = SetSaveDialogRunner(AnswerDialog);
        ConfigData& config = GetCadSystem().config;
        m_savedConfig[0] = config.SHARE, m_savedConfig[1] = config.SAVENAME;
        m_savedConfig[2] = config.file.RDONLY, m_savedConfig[3] = config.WRITECHK;
        config.SHARE = 1, config.SAVENAME = 0, config.file.RDONLY = 0, config.WRITECHK = 1;
        database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(database.engineDb, nullptr);
        database.drawingId = 7;
        view = CreateWindowA("DrawingFilesTestView", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(view, 0, reinterpret_cast<LONG_PTR>(static_cast<PDBINFO*>(&database)));
        ASSERT_EQ(AddViewToTable(view), 1);
        AppendElement(database.engineDb, 1, 0, 0);
        AppendElement(database.engineDb, 1, 3, 20);
        database.modified = 1;
    }

    void TearDown() override
    {
        UnlockDrawingFile(&database);
        ClearViewTable();
        DestroyWindow(view);
        SetSettingsMessageHook(m_previousHook);
        SetSaveDialogRunner(m_previousRunner);
        ConfigData& config = GetCadSystem().config;
        config.SHARE = m_savedConfig[0], config.SAVENAME = m_savedConfig[1], config.file.RDONLY = m_savedConfig[2];
        config.WRITECHK = m_savedConfig[3];
    }

    void Name(const std::string& path) { lstrcpynA(database.fileName, path.c_str(), sizeof database.fileName); }
    bool WrittenDrawing(const std::string& path, int elements)
    {
        EngineDbRecord record;
        std::memset(&record, 0, sizeof record);
        uint32_t flags = 0;
        if (ZUriLoadFileOfCWX(path.c_str(), &record, &flags) != 1 || flags != 0) return false;
        const int count = ZUriGetElmNum(&record);
        ZUriDeleteDB(&record);
        return count == elements;
    }

    TempFolder folder;
    CCadDatabase database;
    HWND view = nullptr;
    SettingsMessageHook m_previousHook = nullptr;
    SaveDialogRunner m_previousRunner = nullptr;
    int m_savedConfig[4] = {};
};

TEST_F(DrawingWindowFixture, LockDeniesOtherWritersAndSecondOpenersUntilUnlocked)
{
    const std::string path = folder.File("plan.tcf");
    ASSERT_TRUE(folder.Write("plan.tcf", "x"));
    Name(path);
    ASSERT_EQ(LockDrawingFile(&database), 1);
    EXPECT_EQ(database.fileLocked, 1);
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "writing is denied while the drawing is open";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    PDBINFO second = {};
    lstrcpynA(second.fileName, path.c_str(), sizeof second.fileName);
    EXPECT_EQ(CanLockDrawingFile(&second), 0) << "a second opener goes to reference mode";
    EXPECT_NE(FileBytes(path), "<missing>") << "others can still read";
    UnlockDrawingFile(&database);
    EXPECT_EQ(database.fileLocked, 0);
    EXPECT_EQ(CanLockDrawingFile(&second), 1);

    // Short names and SHARE off lock nothing and succeed.
    Name("ab");
    EXPECT_EQ(LockDrawingFile(&database), 1);
    EXPECT_EQ(database.fileLocked, 0);
    Name(path);
    GetCadSystem().config.SHARE = 0;
    EXPECT_EQ(LockDrawingFile(&database), 1);
    EXPECT_EQ(database.fileLocked, 0);
}

TEST_F(DrawingWindowFixture, SaveDecisions)
{
    struct Case {
        const char* name;
        int mode;
        const char* fileName;  // relative to the folder; "" untitled
        int saveName, referenceMode, readOnly;
        int dialogs, boxes, result;
    };
    const Case cases[] = {
        {"untitled overwrite goes to the dialog", 1, "", 0, 0, 0, 1, 0, 0},
        {"SAVENAME: dxf goes to the dialog", 1, "plan.dxf", 1, 0, 0, 1, 0, 0},
        {"SAVENAME: tcf asks and writes", 1, "plan.tcf", 1, 0, 0, 0, 1, 1},
        {"SAVENAME: dwg is no reason for the dialog", 1, "plan.dwg", 1, 0, 1, 0, 1, 0},
        {"reference mode refuses", 1, "plan.tcf", 0, 1, 0, 0, 1, 0},
        {"forced save writes without a question", 2, "plan.tcf", 0, 0, 0, 0, 0, 1},
        {"RDONLY refuses without writing", 1, "plan.tcf", 0, 0, 1, 0, 1, 0},
        {"save as always asks for a name", 0, "plan.tcf", 0, 0, 0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        Boxes().clear();
        Dialogs().clear();
        const std::string path = c.fileName[0] ? folder.File(c.fileName) : std::string();
        DeleteFileA(path.c_str());
        Name(path);
        database.referenceMode = c.referenceMode;
        GetCadSystem().config.SAVENAME = c.saveName;
        GetCadSystem().config.file.RDONLY = c.readOnly;
        const int result = SaveDrawing(view, c.mode);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(static_cast<int>(Dialogs().size()), c.dialogs) << c.name;
        EXPECT_EQ(static_cast<int>(Boxes().size()), c.boxes) << c.name;
        if (!path.empty()) {
            EXPECT_EQ(FileBytes(path) != "<missing>", c.result == 1) << c.name;
        }
        UnlockDrawingFile(&database);
        database.referenceMode = 0;
        GetCadSystem().config.file.RDONLY = 0;
    }
}

TEST_F(DrawingWindowFixture, SavedDrawingReopensWithItsElementsLockedAndUnmodified)
{
    const std::string path = folder.File("plan.tcf");
    Name(path);
    ASSERT_EQ(SaveDrawing(view, 2), 1);
    EXPECT_EQ(database.modified, 0);
    EXPECT_EQ(database.fileLocked, 1);
    UnlockDrawingFile(&database);
    EXPECT_TRUE(WrittenDrawing(path, 2));
}

TEST_F(DrawingWindowFixture, SaveAsDialogHasNoMustExistAndCancelRestoresNameAndLock)
{
    const std::string path = folder.File("plan.tcf");
    Name(path);
    ASSERT_EQ(SaveDrawing(view, 2), 1);
    ASSERT_EQ(database.fileLocked, 1);
    DialogAnswer().clear();  // cancelled
    EXPECT_EQ(SaveDrawing(view, 0), 0);
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].flags & OFN_FILEMUSTEXIST, 0u);
    EXPECT_NE(Dialogs()[0].flags & OFN_OVERWRITEPROMPT, 0u);
    EXPECT_EQ(Dialogs()[0].preset, "plan");
    EXPECT_EQ(std::string(database.fileName), path);
    EXPECT_EQ(database.fileLocked, 1);
}

TEST_F(DrawingWindowFixture, SaveAsUnderANewNameMovesNameAndLock)
{
    const std::string path = folder.File("plan.tcf");
    Name(path);
    ASSERT_EQ(SaveDrawing(view, 2), 1);
    database.referenceMode = 1;
    DialogAnswer() = folder.File("other.tcf");
    EXPECT_EQ(SaveDrawing(view, 0), 1);
    EXPECT_EQ(std::string(database.fileName), folder.File("other.tcf"));
    EXPECT_EQ(database.referenceMode, 0) << "saved as a new file, no longer in reference mode";
    EXPECT_EQ(database.fileLocked, 1);
    EXPECT_EQ(CanLockDrawingFile(&database) == 0, true) << "the new file is held";
    PDBINFO old = {};
    lstrcpynA(old.fileName, path.c_str(), sizeof old.fileName);
    EXPECT_EQ(CanLockDrawingFile(&old), 1) << "the old file is let go";
}

TEST_F(DrawingWindowFixture, AFailedWriteCheckLeavesNameAndLockAndFile)
{
    const std::string path = folder.File("plan.tcf");
    Name(path);
    ASSERT_EQ(SaveDrawing(view, 2), 1);
    const std::string other = folder.File("held.tcf");
    ASSERT_TRUE(folder.Write("held.tcf", "old bytes"));
    // Another program holds the target open for writing.
    HANDLE holder = CreateFileA(other.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    DialogAnswer() = other;
    EXPECT_EQ(SaveDrawing(view, 0), 0);
    CloseHandle(holder);
    EXPECT_EQ(std::string(database.fileName), path);
    EXPECT_EQ(database.fileLocked, 1);
    EXPECT_EQ(FileBytes(other), "old bytes");
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back().text, "このファイルに書き込むことができません。");
}

TEST_F(DrawingWindowFixture, RefusedTypesClearTheName)
{
    char path[MAX_PATH];
    lstrcpynA(path, folder.File("plan.jwc").c_str(), sizeof path);
    EXPECT_EQ(WriteDrawingFile(view, path), 0);
    EXPECT_EQ(path[0], '\0');
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, "現在、この図面フォーマットには対応していません");
    lstrcpynA(path, folder.File("plan.xyz").c_str(), sizeof path);
    EXPECT_EQ(WriteDrawingFile(view, path), 0);
    EXPECT_EQ(Boxes().back().text, "ファイルの種類が判断できません");
}

TEST(DrawingSave, FilterExtensionGoesIntoTheName)
{
    const struct {
        const char* name;
        const char* pattern;
        const char* expected;
    } cases[] = {{"plan", "*.tcf", "plan.tcf"},         {"plan.dxf", "*.tcf", "plan.tcf"},
                 {"plan.TCF", "*.tcf", "plan.TCF"},     {"", "*.tcf", ""},
                 {"C:\\a.b\\plan", "*.otcf", "C:\\a.b\\plan.otcf"}, {"plan.dxf", "*.*", "plan.dxf"}};
    for (const auto& c : cases) EXPECT_EQ(ApplyFilterExtension(c.name, c.pattern), c.expected) << c.name;
}

int SaveFails(const char* path, void*, uint32_t* flags)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);  // a half-written file
    *flags = 0x20;
    return 0;
}

int SaveWrites(const char* path, void*, uint32_t* flags)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, "new", 3, &written, nullptr);
    CloseHandle(f);
    *flags = 0;
    return 1;
}

int CountFiles(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

TEST(DrawingSave, RemovableDriveWritesLeaveNoTemporaryFilesAndKeepTheOldFileOnFailure)
{
    TempFolder target, temp;
    ASSERT_TRUE(target.Write("plan.tcf", "old"));
    uint32_t flags = 0;
    EXPECT_EQ(SaveThroughTemporaryFiles(target.File("plan.tcf").c_str(), temp.Path().c_str(), SaveFails, nullptr, &flags), 0);
    EXPECT_EQ(target.Read("plan.tcf"), "old");
    EXPECT_EQ(CountFiles(temp.Path()), 0);
    EXPECT_EQ(SaveThroughTemporaryFiles(target.File("plan.tcf").c_str(), temp.Path().c_str(), SaveWrites, nullptr, &flags), 1);
    EXPECT_EQ(target.Read("plan.tcf"), "new");
    EXPECT_EQ(CountFiles(temp.Path()), 0);
}

TEST(InitialLayer, LowestNamedOrUsedLayer)
{
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(database.engineDb, nullptr);
    EXPECT_EQ(ChooseInitialCurrentLayer(database.engineDb), 0) << "an empty drawing";
    AppendElement(database.engineDb, 1, 9, 0);
    AppendElement(database.engineDb, 1, 4, 20);
    EXPECT_EQ(ChooseInitialCurrentLayer(database.engineDb), 4);
    ASSERT_EQ(ZUriSetLayerName(0, 2, "壁", database.engineDb), 1);
    EXPECT_EQ(ChooseInitialCurrentLayer(database.engineDb), 2);
    EXPECT_EQ(ChooseInitialCurrentLayer(nullptr), 0);
}

TEST(PaperTable, RowsAndCodes)
{
    InitPaperTable();
    const PaperTableRow* rows = GetPaperTable();
    EXPECT_STREQ(rows[0].name, "A0 横");
    EXPECT_EQ(rows[0].code, 0x10);
    EXPECT_EQ(rows[0].width, 1189);
    const PaperTableRow* a3Portrait = FindPaperRow(0x8013);
    ASSERT_NE(a3Portrait, nullptr);
    EXPECT_STREQ(a3Portrait->name, "A3 縦");
    EXPECT_EQ(a3Portrait->width, 297);
    EXPECT_EQ(a3Portrait->height, 420);
    EXPECT_STREQ(rows[27].name, "B6 縦");
    EXPECT_EQ(rows[27].code, 0x8026);
    EXPECT_STREQ(rows[28].name, "その他");
    EXPECT_EQ(FindPaperRow(0), nullptr);
}

TEST(FileDialog, SelectedPathAndResultBuffer)
{
    EXPECT_EQ(FirstSelectedPath("C:\\d\\a.tcf"), "C:\\d\\a.tcf");
    EXPECT_EQ(FirstSelectedPath("C:\\d\\\"a.tcf\" \"b.tcf\" "), "C:\\d\\a.tcf");
    EXPECT_EQ(FirstSelectedPath("C:\\d\"a.tcf\" \"b.tcf\""), "C:\\d\\a.tcf");
    std::vector<std::string> paths;
    EXPECT_EQ(SplitDialogFileList("", paths), -1);
    EXPECT_EQ(SplitDialogFileList("C:\\d\\a.tcf\0", paths), 0);
    EXPECT_EQ(paths, std::vector<std::string>{"C:\\d\\a.tcf"});
    const char several[] = "C:\\d\0a.tcf\0図面.tcf\0";
    EXPECT_EQ(SplitDialogFileList(several, paths), 0);
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\d\\a.tcf", "C:\\d\\図面.tcf"}));
}

TEST(FileDialog, InformationPanelLines)
{
    InitPaperTable();
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    lstrcpyA(info.title, "一階平面図");
    lstrcpyA(info.author, "設計");
    info.paperCode = 0x8013;
    info.paperWidthMm = 297, info.paperHeightMm = 420;
    info.drawingWidth = 29700, info.drawingHeight = 42000;
    info.scale = 0.01;
    info.created = DrawingDate{2026, 12, 6, 0, 9, 5, 7};
    info.updated = DrawingDate{2026, 12, 10, 4, 18, 0, 0};
    FileInfoSource source;
    source.info = &info;
    source.engineInfo = true;
    source.elementCount = 12;
    source.fileFound = true;
    source.fileSize = 1234567;
    source.scaleTexts = {"1/50", "1/100"};
    const std::vector<std::string> expected = {
        "図面名：一階平面図", "作成者：設計", "備考  ：", "用紙種別：A3 縦", "用紙ｻｲｽﾞ：297 x 420 mm",
        "図面ｻｲｽﾞ：29700 x 42000 mm", "スケール：1/100", "作成日：  2026年12月06日(日) 09:05:07",
        "更新日：  2026年12月10日(木) 18:00:00", "要素数：  12", "サイズ：  1,234,567 バイト"};
    EXPECT_EQ(BuildFileInfoLines(source), expected);

    // A file without information: its own date, no size line for zero bytes; odd values.
    FileInfoSource plain;
    plain.fileFound = true;
    plain.fileWritten.wYear = 2025, plain.fileWritten.wMonth = 1, plain.fileWritten.wDay = 2;
    plain.fileWritten.wDayOfWeek = 4;
    EXPECT_EQ(BuildFileInfoLines(plain), std::vector<std::string>{"更新日：  2025年01月02日(木) 00:00:00"});
    info.paperCode = 0x1234;
    info.scale = 0.003;
    source.engineInfo = false;
    source.fileSize = 0;
    std::vector<std::string> lines = BuildFileInfoLines(source);
    EXPECT_EQ(lines[3], "用紙種別：その他");
    EXPECT_EQ(lines[6], "スケール：0.003");
}

}  // namespace
