// Drawing files in the real program, answered as a user would: a drawing opened from the
// command line shows its file, holds it against writers and is saved with command 4012; every
// damaged file gives its message and leaves no window, name or lock behind and the file as it
// was; a run killed after edits offers its timed backup at the next start, which reopens the
// drawing once, untitled and modified, with every element.
#include "GTest.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
#include "DravikDb.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>AddLineCircle;線と円,5993,TestPlugin.dll /C:AddLineCircle</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 10000, &result);
    return static_cast<LRESULT>(result);
}

FILETIME WriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

// Whether another program could write the file now (nobody holds it against writers).
bool Writable(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

uint32_t Crc32(const unsigned char* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Word(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

// The offset of the stored bytes of the first section with the tag, 0 when none.
size_t SectionData(const std::string& bytes, const char* tag, uint32_t* size)
{
    size_t at = 32;
    while (at + 20 <= bytes.size()) {
        const uint32_t stored = Word(bytes, at + 8);
        if (std::memcmp(bytes.data() + at, tag, 4) == 0) {
            *size = stored;
            return at + 20;
        }
        at += 20 + stored;
    }
    return 0;
}


// Ends a program as a user would: a dialog a failed check left open is cancelled, then the
// frame is closed and every save question answered "No".
void CloseProgram(ProgramProcess& process, HWND mainFrame)
{
    for (int i = 0; i < 10; ++i) {
        HWND dialog = process.WaitForWindow("#32770", 100);
        if (dialog == nullptr) break;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 3000;) Sleep(20);
    }
    PostMessageA(mainFrame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    bool ended = false;
    for (int i = 0; i < 60 && !ended; ++i) {
        if (HWND box = process.WaitForWindow("#32770", 200)) PostMessageA(box, WM_COMMAND, IDNO, 0);
        ended = process.WaitForExit(300, &exitCode);
    }
    EXPECT_TRUE(ended);
    if (!ended) process.Kill();
}

class DrawingFilesTest : public ::testing::Test {
protected:
    void TearDown() override { Stop(); }

    bool Start(const std::string& arguments)
    {
        if (!program.Start(arguments)) return false;
        frame = program.WaitForWindow("Brisco001", 60000);
        return frame != nullptr;
    }

    // Ends the program, answering "No" to save questions.
    void Stop()
    {
        if (frame == nullptr) return;
        CloseProgram(program, frame);
        frame = nullptr;
    }

    HWND ActiveView() { return reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW)); }

    // The active view once its drawing is loaded and locked (the window comes first); its block
    // in block. Null when no view came.
    HWND WaitForLockedView(PDBINFO* block)
    {
        HWND view = nullptr;
        for (DWORD start = GetTickCount(); view == nullptr && GetTickCount() - start < 20000; Sleep(50)) view = ActiveView();
        *block = PDBINFO{};
        for (DWORD start = GetTickCount(); view != nullptr && block->fileLocked != 1 && GetTickCount() - start < 10000;
             Sleep(50))
            if (!ReadBlock(view, block)) break;
        return view;
    }

    bool ReadBlock(HWND view, PDBINFO* block) { return ReadViewBlock(program.ProcessId(), view, block); }
    int ElementCount(const PDBINFO& block) { return DrawingElementCount(program.ProcessId(), block); }

    // Answers the next message box with the button; its text.
    std::string AnswerBox(int button, DWORD timeoutMs = 20000)
    {
        HWND box = program.WaitForWindow("#32770", timeoutMs);
        if (box == nullptr) return "<no box>";
        std::string text = StaticTexts(box);
        PostMessageA(box, WM_COMMAND, button, 0);
        for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < 5000;) Sleep(20);
        return text;
    }

    TempFolder folder;
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(DrawingFilesTest, CommandLineOpensTheDrawingLockedAndSaveWritesItAgain)
{
    const std::string path = folder.File("plan.tcf");
    ASSERT_TRUE(WriteDrawing(path, 3));
    ASSERT_TRUE(Start(path));
    PDBINFO block;
    HWND view = WaitForLockedView(&block);
    ASSERT_NE(view, nullptr);
    EXPECT_NE(Caption(GetParent(view)).find(path), std::string::npos) << Caption(GetParent(view));
    EXPECT_STREQ(block.fileName, path.c_str());
    EXPECT_EQ(block.fileLocked, 1);
    EXPECT_EQ(ElementCount(block), 3);
    EXPECT_FALSE(Writable(path)) << "the open drawing is held against writers";

    // 4012 asks before overwriting; OK writes the same elements again.
    const FILETIME before = WriteTime(path);
    PostMessageA(frame, WM_COMMAND, 4012, 0);
    const std::string question = AnswerBox(IDOK);
    EXPECT_NE(question.find("上書きしていいですか"), std::string::npos) << question;
    for (DWORD start = GetTickCount(); SameTime(WriteTime(path), before) && GetTickCount() - start < 10000;) Sleep(50);
    EXPECT_FALSE(SameTime(WriteTime(path), before));
    EXPECT_EQ(ElementsOfFile(path), 3);
    // The write lets the file go and takes it again once it is written.
    block.fileLocked = 0;
    for (DWORD start = GetTickCount(); block.fileLocked != 1 && GetTickCount() - start < 10000; Sleep(50))
        ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.fileLocked, 1) << "locked again after the write";
    Stop();
    EXPECT_TRUE(Writable(path)) << "closing the window lets the file go";
}

// The drawing-open message as the command line, dropped files and other programs use it, sent
// by a plug-in command: a drawing opens once, a drawing already open comes forward, and a file
// that cannot be opened answers 0 and leaves no window.
TEST_F(DrawingFilesTest, OpenMessageOpensOnceActivatesAnOpenDrawingAndAnswersAFailure)
{
    const std::string first = folder.File("a.tcf"), second = folder.File("b.tcf"), empty = folder.File("empty.tcf");
    ASSERT_TRUE(WriteDrawing(first, 2));
    ASSERT_TRUE(WriteDrawing(second, 3));
    ASSERT_TRUE(WriteAll(empty, std::string()));
    CatalogueSwap catalogue{std::string("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
                                        "<LumbraCmd><CmdGroup>\n"
                                        "<Test><dir>%EXECDIR%</dir><data>\n"
                                        "<item>OpenFirst;開く1,5993,TestPlugin.dll /C:OpenFile ") +
                            first + "</item>\n<item>OpenSecond;開く2,5994,TestPlugin.dll /C:OpenFile " + second +
                            "</item>\n<item>OpenEmpty;開く3,5995,TestPlugin.dll /C:OpenFile " + empty +
                            "</item>\n</data></Test>\n</CmdGroup></LumbraCmd>\n"};
    ASSERT_TRUE(catalogue.Written());
    ASSERT_TRUE(Start(""));
    ASSERT_TRUE(WaitUntilResponsive(frame, 30000));
    // Runs the command; its trace, once the command has answered.
    const auto open = [this](WPARAM command) {
        SetWindowTextA(frame, "");
        PostMessageA(frame, WM_CAD_RUN_COMMAND, command, 0);
        for (DWORD start = GetTickCount(); Caption(frame).rfind("OpenFile ", 0) != 0 && GetTickCount() - start < 30000;)
            Sleep(50);
        return Caption(frame);
    };
    // The caption of the active drawing window, which names its file.
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    ASSERT_NE(client, nullptr);
    const auto activeName = [client] { return Caption(reinterpret_cast<HWND>(Send(client, WM_MDIGETACTIVE))); };
    const auto waitForActive = [&](const std::string& path) {
        for (DWORD start = GetTickCount(); activeName().find(path) == std::string::npos && GetTickCount() - start < 20000;)
            Sleep(50);
        return activeName().find(path) != std::string::npos;
    };

    EXPECT_EQ(open(5993), "OpenFile 1");
    EXPECT_TRUE(waitForActive(first)) << activeName();
    EXPECT_EQ(open(5994), "OpenFile 1");
    EXPECT_TRUE(waitForActive(second)) << activeName();
    EXPECT_EQ(DrawingWindowCount(frame), 2);

    // Again: the open drawing comes forward, no second window shows it.
    EXPECT_EQ(open(5993), "OpenFile 1");
    EXPECT_TRUE(waitForActive(first)) << activeName();
    EXPECT_EQ(DrawingWindowCount(frame), 2);

    // A damaged file: its message, answered as a user would, then the answer 0 and no window.
    SetWindowTextA(frame, "");
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5995, 0);
    const std::string message = AnswerBox(IDOK);
    EXPECT_NE(message, "<no box>");
    EXPECT_TRUE(WaitForCaption(frame, "OpenFile 0", 30000)) << Caption(frame);
    EXPECT_EQ(DrawingWindowCount(frame), 2);
    EXPECT_EQ(activeName().find(empty), std::string::npos) << activeName();
    EXPECT_TRUE(Writable(empty));
}

TEST_F(DrawingFilesTest, DamagedFilesOpenNothingHoldNothingAndStayAsTheyWere)
{
    const std::string good = folder.File("good.tcf");
    ASSERT_TRUE(WriteDrawing(good, 3));
    const std::string bytes = ReadAll(good);
    ASSERT_GT(bytes.size(), 200u);
    std::string newer = bytes;
    newer[10] = 2;  // major version 2
    const uint32_t crc = Crc32(reinterpret_cast<const unsigned char*>(newer.data()), 28);
    std::memcpy(&newer[28], &crc, 4);
    uint32_t size = 0;
    std::string badElement = bytes;
    const size_t elements = SectionData(bytes, "ELEM", &size);
    ASSERT_NE(elements, 0u);
    badElement[elements + size / 2] ^= 0x5A;
    std::string badInfo = bytes;
    const size_t info = SectionData(bytes, "INFO", &size);
    ASSERT_NE(info, 0u);
    badInfo[info + size / 2] ^= 0x5A;
    std::string wrongHeader = bytes;
    wrongHeader[0] = 'X';

    const struct {
        const char* name;
        std::string bytes;
        int answer;
    } cases[] = {
        {"empty.tcf", std::string(), IDOK},
        {"truncated.tcf", bytes.substr(0, bytes.size() / 2), IDOK},
        {"header.tcf", wrongHeader, IDOK},
        {"newer.tcf", newer, IDNO},
        {"element.tcf", badElement, IDOK},
        {"info.tcf", badInfo, IDOK},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File(c.name);
        ASSERT_TRUE(WriteAll(path, c.bytes));
        const FILETIME written = WriteTime(path);
        ASSERT_TRUE(Start(path)) << c.name;
        const std::string message = AnswerBox(c.answer);
        EXPECT_NE(message, "<no box>") << c.name;
        // The start goes on; no window shows the file and nothing holds it.
        for (HWND view = ActiveView(); view != nullptr; view = nullptr) {
            PDBINFO block;
            ASSERT_TRUE(ReadBlock(view, &block));
            EXPECT_STRNE(block.fileName, path.c_str()) << c.name;
        }
        EXPECT_TRUE(Writable(path)) << c.name;
        EXPECT_EQ(program.WaitForWindow("#32770", 300), nullptr) << c.name << ": a second box";
        Stop();
        EXPECT_EQ(ReadAll(path), c.bytes) << c.name;
        EXPECT_TRUE(SameTime(WriteTime(path), written)) << c.name;
        std::printf("%s: %s\n", c.name, message.c_str());
    }
}

// The stored list of backup files in a settings file's text, for a failure's message.
std::string BackupList(const std::string& settingsText)
{
    const size_t from = settingsText.find("<BakupFnames>");
    const size_t to = settingsText.find("</BakupFnames>");
    if (from == std::string::npos || to == std::string::npos || to < from) return "no backup list";
    return settingsText.substr(from, to - from);
}

TEST_F(DrawingFilesTest, KilledRunOffersItsTimedBackupWhichReopensUntitledModifiedAndWhole)
{
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    SettingsFileSwap settings("LocalSettings.xml", {{"bTimeBackup", "1"}, {"nBackupTimeSpanSec", "1"}});
    ASSERT_TRUE(settings.Ready());
    const std::string path = folder.File("plan.tcf");
    ASSERT_TRUE(WriteDrawing(path, 3));
    ASSERT_TRUE(Start(path));
    PDBINFO block;
    ASSERT_NE(WaitForLockedView(&block), nullptr);
    // An edit: the test plug-in appends a line and a circle.
    PostMessageA(frame, WM_COMMAND, 5993, 0);
    ASSERT_TRUE(WaitForCaption(frame, "AddLineCircle 5", 10000)) << Caption(frame);
    // The timed backup names its file in the stored list.
    bool listed = false;
    for (DWORD start = GetTickCount(); !listed && GetTickCount() - start < 20000; Sleep(100))
        listed = settings.Current().find("_plan.tcf") != std::string::npos;
    ASSERT_TRUE(listed) << settings.Current();
    ASSERT_TRUE(program.Kill());
    frame = nullptr;

    ASSERT_TRUE(Start(""));
    const std::string offer = AnswerBox(IDYES, 30000);
    DWORD exitCode = 0;
    const bool ended = program.WaitForExit(0, &exitCode);
    EXPECT_NE(offer.find("異常終了"), std::string::npos)
        << offer << "\nthe restarted program " << (ended ? "ended with " + std::to_string(exitCode) : "runs") << "\n"
        << ReadAll(UserSettingsFolder() + "Brisco.ini") << "\n"
        << BackupList(settings.Current());
    HWND recovered = nullptr;
    for (DWORD start = GetTickCount(); recovered == nullptr && GetTickCount() - start < 20000; Sleep(50)) recovered = ActiveView();
    HWND box = program.WaitForWindow("#32770", 100);
    ASSERT_NE(recovered, nullptr) << (box != nullptr ? StaticTexts(box) : std::string("no box"));
    // The window shows before the recovery has loaded the backup and taken its name away.
    bool read = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50)) {
        read = ReadBlock(recovered, &block);
        if (read && block.fileName[0] == '\0' && block.modified == 1) break;
    }
    ASSERT_TRUE(read);
    box = program.WaitForWindow("#32770", 100);
    EXPECT_STREQ(block.fileName, "") << "untitled; " << (box != nullptr ? "a box: " + StaticTexts(box) : "no box")
                                     << "; the frame: " << Caption(frame);
    EXPECT_EQ(block.modified, 1);
    EXPECT_EQ(block.fileLocked, 0);
    EXPECT_EQ(ElementCount(block), 5) << "three lines, the added line and circle";
    EXPECT_EQ(ElementsOfFile(path), 3) << "the drawing itself as it was saved";
    EXPECT_TRUE(Writable(path));
    // Ended before the settings are put back: the program writes its own at the end.
    Stop();
}

TEST_F(DrawingFilesTest, SaveAsTypedNewNameWritesItAndMovesTheLock)
{
    const std::string path = folder.File("plan.tcf");
    const std::string copy = folder.File("copy.tcf");
    ASSERT_TRUE(WriteDrawing(path, 2));
    ASSERT_TRUE(Start(path));
    PDBINFO block;
    HWND view = WaitForLockedView(&block);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(block.fileLocked, 1);

    PostMessageA(frame, WM_COMMAND, 4002, 0);
    HWND dialog = program.WaitForWindow("#32770", 20000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Caption(dialog), "ファイルの保存");
    char preset[MAX_PATH] = {};
    GetDlgItemTextA(dialog, 1148, preset, sizeof preset);  // the name combo box
    EXPECT_STREQ(preset, "plan");
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); ElementsOfFile(copy) != 2 && GetTickCount() - start < 20000;) Sleep(100);
    EXPECT_EQ(ElementsOfFile(copy), 2);
    for (DWORD start = GetTickCount(); std::string(block.fileName) != copy && GetTickCount() - start < 10000; Sleep(50))
        ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(std::string(block.fileName), copy);
    EXPECT_NE(Caption(GetParent(view)).find(copy), std::string::npos) << Caption(GetParent(view));
    EXPECT_FALSE(Writable(copy)) << "the new file is held";
    EXPECT_TRUE(Writable(path)) << "the old one is let go";
}

TEST_F(DrawingFilesTest, SecondOpenerOpensTheHeldDrawingInReferenceMode)
{
    const std::string path = folder.File("plan.tcf");
    ASSERT_TRUE(WriteDrawing(path, 2));
    ASSERT_TRUE(Start(path));
    PDBINFO block;
    HWND view = WaitForLockedView(&block);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(block.fileLocked, 1);

    // A second program instance (several may run) finds the file held.
    ProgramProcess second;
    ASSERT_TRUE(second.Start(path));
    HWND box = second.WaitForWindow("#32770", 60000);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(StaticTexts(box).find("参照専用モードで開きます"), std::string::npos) << StaticTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND secondFrame = second.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(secondFrame, nullptr);
    HWND secondView = nullptr;
    for (DWORD start = GetTickCount(); secondView == nullptr && GetTickCount() - start < 20000; Sleep(50))
        secondView = reinterpret_cast<HWND>(Send(secondFrame, WM_CAD_ACTIVE_VIEW));
    ASSERT_NE(secondView, nullptr);
    bool reference = false;
    for (DWORD start = GetTickCount(); !reference && GetTickCount() - start < 10000; Sleep(50))
        reference = Caption(GetParent(secondView)).find("(参照)") != std::string::npos;
    EXPECT_TRUE(reference) << Caption(GetParent(secondView));

    // Saving under its name is refused there (by the dispatcher or by the save itself).
    PostMessageA(secondFrame, WM_COMMAND, 4012, 0);
    HWND refusal = second.WaitForWindow("#32770", 20000);
    ASSERT_NE(refusal, nullptr);
    EXPECT_NE(StaticTexts(refusal).find("参照モードで開かれて"), std::string::npos)
        << StaticTexts(refusal);
    PostMessageA(refusal, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); IsWindow(refusal) && GetTickCount() - start < 5000;) Sleep(20);
    CloseProgram(second, secondFrame);
    EXPECT_EQ(ElementsOfFile(path), 2);
}

// The open command's dialog opens a typed name; its "一覧" list opens a ticked drawing.
TEST_F(DrawingFilesTest, OpenDialogAndItsThumbnailListOpenTheChosenDrawings)
{
    const std::string first = folder.File("a.tcf");
    const std::string second = folder.File("b.tcf");
    ASSERT_TRUE(WriteDrawing(first, 2));
    ASSERT_TRUE(WriteDrawing(second, 3));
    ASSERT_TRUE(Start(""));

    PostMessageA(frame, WM_COMMAND, 4001, 0);
    HWND dialog = program.WaitForWindow("#32770", 20000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(Caption(dialog).find("ファイルを開く"), std::string::npos) << Caption(dialog);
    HWND child = FindWindowExA(dialog, nullptr, "#32770", nullptr);
    ASSERT_NE(child, nullptr) << "the child template";
    EXPECT_NE(GetDlgItem(child, 6000), nullptr);
    EXPECT_NE(GetDlgItem(child, 1812), nullptr);
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    PDBINFO block = {};
    bool shown = false;
    for (DWORD start = GetTickCount(); !shown && GetTickCount() - start < 20000; Sleep(50)) {
        HWND active = ActiveView();
        shown = active != nullptr && ReadBlock(active, &block) && std::string(block.fileName) == first &&
                block.fileLocked == 1;
    }
    EXPECT_TRUE(shown) << "the typed drawing is not shown";

    PostMessageA(frame, WM_COMMAND, 4001, 0);
    dialog = program.WaitForWindow("#32770", 20000);
    ASSERT_NE(dialog, nullptr);
    // Into the folder, then the list of its drawings.
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.Path().c_str()));
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    child = FindWindowExA(dialog, nullptr, "#32770", nullptr);
    ASSERT_NE(child, nullptr);
    PostMessageA(child, WM_COMMAND, 6090, reinterpret_cast<LPARAM>(GetDlgItem(child, 6090)));
    HWND list = nullptr;
    for (DWORD start = GetTickCount(); list == nullptr && GetTickCount() - start < 20000; Sleep(50)) {
        HWND found = program.WaitForWindow("#32770", 100);
        if (found != nullptr && found != dialog && GetDlgItem(found, 500) != nullptr) list = found;
    }
    ASSERT_NE(list, nullptr) << "no thumbnail list";
    // Tick b.tcf (found second in the folder), then confirm.
    int index = -1;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder.Path() + "*.tcf").c_str(), &data);
    for (int i = 0; find != INVALID_HANDLE_VALUE; ++i) {
        if (std::string(data.cFileName) == "b.tcf") index = i;
        if (!FindNextFileA(find, &data)) break;
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    ASSERT_GE(index, 0);
    SendMessageA(list, WM_USER + 50, index, 0);
    PostMessageA(list, WM_COMMAND, IDOK, 0);
    bool opened = false;
    for (DWORD start = GetTickCount(); !opened && GetTickCount() - start < 20000; Sleep(50)) {
        HWND active = ActiveView();
        if (active != nullptr && ReadBlock(active, &block)) opened = std::string(block.fileName) == second;
    }
    EXPECT_TRUE(opened);
    EXPECT_EQ(ElementCount(block), 3);
}

}  // namespace
