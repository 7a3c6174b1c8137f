// The command "SavePdfOption" driven as a user would: Velloc.dll's StartCmdEx with a host window
// opens "PDF保存設定"; a second thread finds the dialogs by caption, clicks, and the test reads
// "PdfOut.ini" and "PdfColor.ini" afterwards.
#include "GTest.h"

#include <string>
#include <vector>

#include "CadPdf/PdfOutSettings.h"
#include "DialogDriver.h"
#include "Dravik.h"
#include "ExportFixture.h"
#include "PdfImportFakes.h"
#include "TestOwnerWindow.h"

namespace {

constexpr int kColorSettingsBox = 1004;
constexpr int kColorMapButton = 1017;
constexpr int kPreviousPage = 1038;
constexpr int kNextPage = 1039;
constexpr int kColorRadio = 1089;
constexpr int kMonoRadio = 1090;
constexpr int kResetButton = 1040;
constexpr int kFirstRowLabel = 1041;
constexpr int kFirstTargetList = 1057;

const char kOptionsCaption[] = "PDF保存設定";
const char kColorCaption[] = "色の設定";

std::string ReadUserValue(const char* file, const char* section, const char* key)
{
    char buffer[2048] = {};
    const std::string path = std::string("%USER_LOCAL_APPDATA%SETTEI\\") + file;
    QmCadApi_GetPrivateProfileString(section, key, "<missing>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

// The first `count` values of a stored list key.
std::string Repeat(int value, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? "," : "") + std::to_string(value);
    return text;
}

// Runs "SavePdfOption" over a host window while the script answers its dialogs.
std::string RunOptions(const std::function<void(DialogDriver&)>& script)
{
    StartCmdExFn start = LoadVellocStartCmdEx();
    if (start == nullptr) return "no StartCmdEx";
    TestOwnerWindow host;
    DialogDriver driver(script);
    start(host.Window(), "/c:SavePdfOption", nullptr);
    return driver.failure;
}

int Selection(HWND dialog, int row)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, kFirstTargetList + row), CB_GETCURSEL, 0, 0));
}

// A default map in the program folder's "PdfColor.ini" for one test.
class ProgramFolderColorMap {
public:
    explicit ProgramFolderColorMap(const std::vector<int32_t>& map)
    {
        CreateDirectoryA(m_folder.c_str(), nullptr);
        for (size_t begin = 0, key = 0; begin < map.size(); begin += 32, ++key) {
            std::string values;
            for (size_t i = begin; i < map.size() && i < begin + 32; ++i) values += (i > begin ? "," : "") + std::to_string(map[i]);
            WritePrivateProfileStringA("PdfOut", std::to_string(key).c_str(), values.c_str(), m_file.c_str());
        }
    }
    ~ProgramFolderColorMap()
    {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_file.c_str());
        DeleteFileA(m_file.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

private:
    std::string m_folder = TestProgramFolder() + "SETTEI";
    std::string m_file = m_folder + "\\PdfColor.ini";
};

}  // namespace

TEST(SavePdfOptionDialog, TheSwitchIsWrittenOnOkOnly)
{
    struct Case {
        const char* stored;  // "TypeFlg" before, nullptr: no "PdfOut.ini"
        bool click;
        int button;
        bool openedChecked;
        const char* type;
        const char* typeFlg;
    };
    const Case cases[] = {
        {"2", false, IDOK, false, "1", "2"},
        {"2", true, IDOK, false, "1", "1"},
        {"1", false, IDOK, true, "1", "1"},
        {"1", true, IDOK, true, "1", "0"},
        {"1", true, IDCANCEL, true, "<missing>", "1"},
        {nullptr, false, IDOK, false, "1", "0"},
        {nullptr, true, IDCANCEL, false, "<missing>", "<missing>"},
    };
    for (const Case& c : cases) {
        ExportSettingsFolder folder;
        if (c.stored != nullptr) folder.Write("PdfOut.ini", "LineColor", "TypeFlg", c.stored);
        bool openedChecked = false;
        const std::string failure = RunOptions([&](DialogDriver& driver) {
            HWND options = driver.WaitForDialog(kOptionsCaption);
            if (options == nullptr) return;
            openedChecked = DialogDriver::IsChecked(options, kColorSettingsBox);
            if (c.click) DialogDriver::ClickNow(options, kColorSettingsBox);
            DialogDriver::Click(options, c.button);
            driver.WaitUntilClosed(options);
        });
        const std::string name = std::string(c.stored ? c.stored : "no file") + (c.click ? " clicked" : "") +
                                 (c.button == IDOK ? " OK" : " Cancel");
        ASSERT_EQ("", failure) << name;
        EXPECT_EQ(c.openedChecked, openedChecked) << name;
        EXPECT_EQ(c.type, ReadUserValue("PdfOut.ini", "LineColor", "Type")) << name;
        EXPECT_EQ(c.typeFlg, ReadUserValue("PdfOut.ini", "LineColor", "TypeFlg")) << name;
    }
}

TEST(SavePdfOptionDialog, CancelKeepsWhatTheColourDialogConfirmed)
{
    ExportSettingsFolder folder;
    const std::string failure = RunOptions([](DialogDriver& driver) {
        HWND options = driver.WaitForDialog(kOptionsCaption);
        if (options == nullptr) return;
        DialogDriver::Click(options, kColorMapButton);
        HWND colors = driver.WaitForDialog(kColorCaption);
        if (colors == nullptr) return;
        DialogDriver::Click(colors, IDOK);
        driver.WaitUntilClosed(colors);
        DialogDriver::Click(options, IDCANCEL);
        driver.WaitUntilClosed(options);
    });
    ASSERT_EQ("", failure);
    EXPECT_EQ(Repeat(16, 32), ReadUserValue("PdfColor.ini", "PdfOut", "0"));
    EXPECT_EQ("0", ReadUserValue("PdfOut.ini", "LineColor", "ColorMode"));
    EXPECT_NE("<missing>", ReadUserValue("PdfOut.ini", "LineColor", "ColorType1_00"));
    EXPECT_EQ("<missing>", ReadUserValue("PdfOut.ini", "LineColor", "TypeFlg"));
}

// Opens the colour dialog from the options dialog, runs `inside` on it, then closes both with
// the given buttons.
std::string RunColorDialog(const std::function<void(HWND)>& inside, int colorButton, int optionsButton = IDCANCEL)
{
    return RunOptions([&](DialogDriver& driver) {
        HWND options = driver.WaitForDialog(kOptionsCaption);
        if (options == nullptr) return;
        DialogDriver::Click(options, kColorMapButton);
        HWND colors = driver.WaitForDialog(kColorCaption);
        if (colors != nullptr) {
            inside(colors);
            DialogDriver::Click(colors, colorButton);
            driver.WaitUntilClosed(colors);
        }
        DialogDriver::Click(options, optionsButton);
        driver.WaitUntilClosed(options);
    });
}

TEST(ColorMapDialog, PagesRunFromOneToTwoHundredFiftySixAndCancelWritesNothing)
{
    ExportSettingsFolder folder;
    std::vector<std::string> firstPage, lastPage;
    bool previousOnFirst = true, nextOnLast = true, previousOnLast = false;
    const std::string failure = RunColorDialog(
        [&](HWND colors) {
            previousOnFirst = IsWindowEnabled(GetDlgItem(colors, kPreviousPage));
            firstPage = {DialogDriver::Text(colors, kFirstRowLabel), DialogDriver::Text(colors, kFirstRowLabel + 15)};
            for (int i = 0; i < 20; ++i) DialogDriver::ClickNow(colors, kNextPage);
            lastPage = {DialogDriver::Text(colors, kFirstRowLabel), DialogDriver::Text(colors, kFirstRowLabel + 15)};
            nextOnLast = IsWindowEnabled(GetDlgItem(colors, kNextPage));
            previousOnLast = IsWindowEnabled(GetDlgItem(colors, kPreviousPage));
        },
        IDCANCEL);
    ASSERT_EQ("", failure);
    EXPECT_FALSE(previousOnFirst);
    EXPECT_EQ((std::vector<std::string>{"1", "16"}), firstPage);
    EXPECT_EQ((std::vector<std::string>{"241", "256"}), lastPage);
    EXPECT_FALSE(nextOnLast);
    EXPECT_TRUE(previousOnLast);
    EXPECT_EQ("<missing>", ReadUserValue("PdfColor.ini", "PdfOut", "0"));
    EXPECT_EQ("<missing>", ReadUserValue("PdfOut.ini", "LineColor", "ColorMode"));
}

TEST(ColorMapDialog, FirstUseStartsFromTheProgramFoldersMapOrTheMonoColour)
{
    std::vector<int32_t> shipped(257);
    for (int i = 0; i < 257; ++i) shipped[i] = i % 256 + 1;  // colour n shows n + 1
    struct Case {
        bool withShippedMap;
        int firstRowSelection;
        const char* storedKey0;
    };
    const Case cases[] = {{false, 15, nullptr}, {true, 1, "1,2,3"}};
    for (const Case& c : cases) {
        ExportSettingsFolder folder;
        std::unique_ptr<ProgramFolderColorMap> program;
        if (c.withShippedMap) program.reset(new ProgramFolderColorMap(shipped));
        int selection = -2;
        const std::string failure = RunColorDialog([&](HWND colors) { selection = Selection(colors, 0); }, IDOK);
        ASSERT_EQ("", failure);
        EXPECT_EQ(c.firstRowSelection, selection) << c.withShippedMap;
        const std::string stored = ReadUserValue("PdfColor.ini", "PdfOut", "0");
        if (c.storedKey0 != nullptr) EXPECT_EQ(0u, stored.find(c.storedKey0)) << stored;
        else EXPECT_EQ(Repeat(16, 32), stored);
    }
}

TEST(ColorMapDialog, MonochromeResetAndAnEmptyMapBuiltOnTheSwitch)
{
    ExportSettingsFolder folder;
    std::vector<int32_t> userMap(257, 3);
    userMap[1] = 0;  // colour 1 unmapped: its drop-down shows no choice
    ASSERT_EQ(0, WriteIniIntList("PdfOut", userMap, 32));
    int unmappedSelection = -2, secondRow = -2, monoBefore = -2, monoAfterReset = -2, colourAfter = -2;
    const std::string failure = RunColorDialog(
        [&](HWND colors) {
            unmappedSelection = Selection(colors, 0);
            secondRow = Selection(colors, 1);
            DialogDriver::ClickNow(colors, kMonoRadio);
            monoBefore = Selection(colors, 5);
            DialogDriver::ClickNow(colors, kResetButton);
            monoAfterReset = Selection(colors, 5);
            DialogDriver::ClickNow(colors, kColorRadio);
            colourAfter = Selection(colors, 5);
        },
        IDOK);
    ASSERT_EQ("", failure);
    EXPECT_EQ(CB_ERR, unmappedSelection);
    EXPECT_EQ(2, secondRow);
    EXPECT_EQ(6, monoBefore);       // the monochrome map of a first save: sevens
    EXPECT_EQ(15, monoAfterReset);  // the mono colour number 16
    EXPECT_EQ(2, colourAfter);      // the colour map untouched by the reset
    EXPECT_EQ("3,0,3,3", ReadUserValue("PdfColor.ini", "PdfOut", "0").substr(0, 7));
    EXPECT_EQ(Repeat(16, 32), ReadUserValue("PdfColor.ini", "PdfOut_Mono", "0"));
}

namespace {

// What a drop-down's selection field shows on the screen: the colour inside its swatch, and
// whether anything dark (the item's text) is drawn to the right of the swatch.
struct FieldLook {
    COLORREF swatch = CLR_INVALID;
    bool textDrawn = false;
};

FieldLook LookOfField(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, kFirstTargetList + row);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(list, &client);
    FieldLook look;
    HDC dc = GetDC(list);
    const int middle = (client.top + client.bottom) / 2;
    look.swatch = GetPixel(dc, 30, middle);
    const auto dark = [dc](int x, int y) {
        const COLORREF pixel = GetPixel(dc, x, y);
        return pixel != CLR_INVALID && GetRValue(pixel) < 0x80 && GetGValue(pixel) < 0x80 && GetBValue(pixel) < 0x80;
    };
    // The swatch's frame on its right, then the text a few pixels after it, within the frame's
    // height (the field's own border runs dark along its edges).
    int frame = 30;
    while (frame < client.right && !dark(frame, middle)) ++frame;
    int top = middle, bottom = middle;
    while (top > client.top && dark(frame, top - 1)) --top;
    while (bottom < client.bottom - 1 && dark(frame, bottom + 1)) ++bottom;
    for (int x = frame + 3; x < frame + 25 && x < client.right && !look.textDrawn; ++x)
        for (int y = top + 1; y < bottom && !look.textDrawn; ++y) look.textDrawn = dark(x, y);
    ReleaseDC(list, dc);
    return look;
}

}  // namespace

TEST(ColorMapDialog, AnUnmappedEntryShowsItsOwnRgbColourAndAMark)
{
    ExportSettingsFolder folder;
    std::vector<int32_t> userMap(257, 3);
    userMap[1] = 0;  // colour 1 unmapped
    ASSERT_EQ(0, WriteIniIntList("PdfOut", userMap, 32));
    std::vector<int32_t> rgbList;
    GetDrawingColorList(0, &rgbList);
    ASSERT_GT(rgbList.size(), 3u);
    const COLORREF own = RGB(0xC0, 0x20, 0x90);  // no drawing colour of the list
    rgbList[1] = static_cast<int32_t>(own);
    ASSERT_EQ(0, WriteIniIntList("PdfOut_RGB", rgbList, 32));
    std::vector<int32_t> targets;
    GetDrawingColorList(1, &targets);
    ASSERT_GT(targets.size(), 2u);
    FieldLook unmapped, mapped;
    const std::string failure = RunColorDialog(
        [&](HWND colors) {
            unmapped = LookOfField(colors, 0);
            mapped = LookOfField(colors, 1);
        },
        IDCANCEL);
    ASSERT_EQ("", failure);
    EXPECT_EQ(own, unmapped.swatch) << std::hex << unmapped.swatch;
    EXPECT_TRUE(unmapped.textDrawn) << "no mark beside the unmapped entry's swatch";
    EXPECT_EQ(static_cast<COLORREF>(targets[2]), mapped.swatch) << std::hex << mapped.swatch;  // colour 3
    EXPECT_TRUE(mapped.textDrawn);
}

TEST(ColorMapDialog, SwitchingToAnEmptyMonochromeMapBuildsIt)
{
    // No user file: the monochrome map starts empty; switching to it must not leave the
    // colour map's choices on screen to be stored nowhere.
    ExportSettingsFolder folder;
    int monoSelection = -2;
    const std::string failure = RunColorDialog(
        [&](HWND colors) {
            DialogDriver::ClickNow(colors, kMonoRadio);
            SendMessageA(GetDlgItem(colors, kFirstTargetList + 2), CB_SETCURSEL, 4, 0);
            monoSelection = Selection(colors, 0);
        },
        IDOK);
    ASSERT_EQ("", failure);
    EXPECT_EQ(15, monoSelection);
    EXPECT_EQ("16,16,16,5,16", ReadUserValue("PdfColor.ini", "PdfOut_Mono", "0").substr(0, 13));
    EXPECT_EQ("1", ReadUserValue("PdfOut.ini", "LineColor", "ColorMode"));
}
