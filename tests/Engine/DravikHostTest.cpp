// Contract tests of the host library Dravik: the calls that work without the program's
// windows, and the honest "not done" answers of those that need them.
#include "GTest.h"

#include <setjmp.h>
#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Dravik.h"
#include "DrawingWindowRecords.h"
#include "EngineBinding.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "TempFolder.h"
#include "../../src/Engine/Dravik/CommandFrame.h"

namespace {

std::string ProgramFolder()
{
    char folder[MAX_PATH];
    GetProgramFolder(folder, sizeof folder);
    return folder;
}

std::string UserSettingsFolder(const char* product)
{
    char base[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE);
    return std::string(base) + "\\Ostrel\\" + product + "\\";
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(DravikDataPath, GivesTheFolderOfEachKind)
{
    struct Case {
        int kind;
        const char* file;
        const char* expected;
    };
    const Case cases[] = {
        {0, "a.ini", "a.ini"},
        {1, "STYLE.INI", "CFG\\STYLE.INI"},
        {2, nullptr, "SETTEI\\OptionMenu\\"},
        {7, "to_cad.atr", "SETTEI\\to_cad.atr"},
        {9, nullptr, "KENTIKUD\\HATCH\\"},
        {10, "hiroisyuukei.csv", "DENKID\\hiroisyuukei.csv"},
        {13, "", "TEMP\\"},
    };
    for (const Case& c : cases) {
        char out[MAX_PATH] = "garbage";
        EXPECT_EQ(0, Dader_GetDataPath(c.kind, out, c.file, 0)) << c.kind;
        EXPECT_STREQ(c.expected, out) << c.kind;
    }
}

TEST(DravikDataPath, PutsTheProgramFolderFirstWhenAsked)
{
    char out[MAX_PATH] = {};
    ASSERT_EQ(0, Dader_GetDataPath(7, out, "dwgin.ini", 1));
    EXPECT_EQ(ProgramFolder() + "SETTEI\\dwgin.ini", out);
}

TEST(DravikDataPath, RefusesUnknownKindsAndOverlongNames)
{
    char out[MAX_PATH] = "garbage";
    EXPECT_EQ(-1, Dader_GetDataPath(-1, out, "a", 0));
    EXPECT_STREQ("", out);
    std::strcpy(out, "garbage");
    EXPECT_EQ(-1, Dader_GetDataPath(14, out, nullptr, 0));
    EXPECT_STREQ("", out);
    std::string longName(400, 'x');
    std::strcpy(out, "garbage");
    EXPECT_EQ(-1, Dader_GetDataPath(7, out, longName.c_str(), 1));
    EXPECT_STREQ("", out);
    EXPECT_EQ(-1, Dader_GetDataPath(7, nullptr, "a", 0));
}

class DravikProfile : public ::testing::Test {
protected:
    void SetUp() override { QmCadApi_SetAppProductName(kProduct); }
    void TearDown() override
    {
        std::string folder = UserSettingsFolder(kProduct);
        DeleteFileA((folder + "SETTEI\\Probe.ini").c_str());
        RemoveDirectoryA((folder + "SETTEI").c_str());
        RemoveDirectoryA(folder.c_str());
        QmCadApi_SetAppProductName("VoltraneV8");
    }
    static constexpr const char* kProduct = "VoltraneEngineTest";
};

TEST_F(DravikProfile, WritesIntoTheUserFolderCreatingItAndReadsBack)
{
    const char* spec = "%USER_LOCAL_APPDATA%SETTEI\\Probe.ini";
    ASSERT_TRUE(QmCadApi_WritePrivateProfileString("SYSTEM", "OutImage", "1", spec));
    EXPECT_TRUE(FileExists(UserSettingsFolder(kProduct) + "SETTEI\\Probe.ini"));

    char value[32] = {};
    EXPECT_EQ(1u, QmCadApi_GetPrivateProfileString("SYSTEM", "OutImage", "0", value, sizeof value, spec));
    EXPECT_STREQ("1", value);
    // A missing key gives the default and its length.
    EXPECT_EQ(3u, QmCadApi_GetPrivateProfileString("SYSTEM", "Missing", "abc", value, sizeof value, spec));
    EXPECT_STREQ("abc", value);
    // A missing file reads like a missing key.
    EXPECT_EQ(0u, QmCadApi_GetPrivateProfileString("SYSTEM", "OutImage", "", value, sizeof value,
                                                   "%USER_LOCAL_APPDATA%SETTEI\\None.ini"));
    EXPECT_STREQ("", value);
    // A null value deletes the key, as the platform's profile calls do.
    ASSERT_TRUE(QmCadApi_WritePrivateProfileString("SYSTEM", "OutImage", nullptr, spec));
    EXPECT_EQ(1u, QmCadApi_GetPrivateProfileString("SYSTEM", "OutImage", "9", value, sizeof value, spec));
    EXPECT_STREQ("9", value);
}

TEST(DravikProfileFolder, ProductNameEndingInTrailByte5CKeepsItsLastCharacter)
{
    ASSERT_EQ(GetACP(), 932u) << "the tests run with LANG=ja_JP.UTF-8, which makes wine's ANSI code page 932";
    // "表" is 95 5C: its second byte is no separator to strip from the folder name.
    const char* product = "部品表";
    QmCadApi_SetAppProductName(product);
    const std::string folder = UserSettingsFolder(product);
    const char* spec = "%USER_LOCAL_APPDATA%SETTEI\\Probe.ini";
    EXPECT_TRUE(QmCadApi_WritePrivateProfileString("SYSTEM", "OutImage", "1", spec));
    EXPECT_TRUE(FileExists(folder + "SETTEI\\Probe.ini"));
    DeleteFileA((folder + "SETTEI\\Probe.ini").c_str());
    RemoveDirectoryA((folder + "SETTEI").c_str());
    RemoveDirectoryA(folder.c_str());
    QmCadApi_SetAppProductName("VoltraneV8");
}

TEST_F(DravikProfile, KeepsShiftJisTextWhole)
{
    ASSERT_EQ(GetACP(), 932u) << "the tests run with LANG=ja_JP.UTF-8, which makes wine's ANSI code page 932";
    const char* spec = "%USER_LOCAL_APPDATA%SETTEI\\Probe.ini";
    // "表示" carries the trail byte 0x5C.
    ASSERT_TRUE(QmCadApi_WritePrivateProfileString("LineColor", "Name", "表示", spec));
    char value[32] = {};
    QmCadApi_GetPrivateProfileString("LineColor", "Name", "", value, sizeof value, spec);
    EXPECT_STREQ("表示", value);
}

TEST(DravikProfileMacros, ExpandsTheProgramFolder)
{
    const std::string file = ProgramFolder() + "DravikProbe.ini";
    ASSERT_TRUE(WritePrivateProfileStringA("DRAW", "LockColor", "5", file.c_str()));
    char value[16] = {};
    EXPECT_EQ(1u, QmCadApi_GetPrivateProfileString("DRAW", "LockColor", "2", value, sizeof value,
                                                   "%EXE_DIR%DravikProbe.ini"));
    EXPECT_STREQ("5", value);
    DeleteFileA(file.c_str());
}

TEST(DravikProfileMacros, UnusablePathsFailHonestly)
{
    char value[16] = "x";
    std::string tooLong = "%EXE_DIR%" + std::string(300, 'a') + ".ini";
    EXPECT_EQ(2u, QmCadApi_GetPrivateProfileString("S", "K", "dd", value, sizeof value, tooLong.c_str()));
    EXPECT_STREQ("dd", value);
    EXPECT_FALSE(QmCadApi_WritePrivateProfileString("S", "K", "v", tooLong.c_str()));
    EXPECT_FALSE(QmCadApi_WritePrivateProfileString("S", "K", "v", nullptr));
    EXPECT_EQ(0u, QmCadApi_GetPrivateProfileString("S", "K", "dd", nullptr, 0, "x.ini"));
}

TEST(DravikCommandFrame, AbandonsTheCommandThroughTheArmedJumpBuffer)
{
    static HostParamBlock block;
    std::memset(&block, 0, sizeof block);
    block.words[kHostParamPluginModuleWord] = 0x1234;
    ASSERT_EQ(1, VySetPara2(nullptr, &block));
    EXPECT_EQ(0x1234u, block.words[kHostParamPluginModuleWord]);
    EXPECT_FALSE(CommandFrame::Instance().CanAbandon());

    volatile int path = 0;
    if (setjmp(block.jump) == 0) {
        path = 1;
        CommandFrame::Instance().Abandon();
        path = 3;  // not reached
    } else {
        path = path == 1 ? 2 : -1;
    }
    EXPECT_EQ(2, path);
    // One jump per arming.
    EXPECT_FALSE(CommandFrame::Instance().Abandon());
}

TEST(DravikCommandFrame, ANewCommandForgetsAStaleArming)
{
    static HostParamBlock block;
    std::memset(&block, 0, sizeof block);
    ASSERT_EQ(1, VySetPara2(nullptr, &block));
    if (setjmp(block.jump) != 0) FAIL() << "jumped to a stale buffer";
    EXPECT_TRUE(CommandFrame::Instance().CanAbandon());
    // The next command registers again before it arms: nothing to jump to until then.
    ASSERT_EQ(1, VySetPara2(nullptr, &block));
    EXPECT_FALSE(CommandFrame::Instance().CanAbandon());
    EXPECT_FALSE(CommandFrame::Instance().Abandon());
    EXPECT_EQ(0, VySetPara2(nullptr, nullptr));
}

TEST(DravikTolerances, GiveUsableGeometryTolerances)
{
    double length = -1.0, angle = -1.0;
    ASSERT_EQ(1, VyGetEPS(&length));
    ASSERT_EQ(1, VyGetEPSANGLE(&angle));
    // The plug-ins' geometry library accepts each within 0 to 0.1.
    EXPECT_GT(length, 0.0);
    EXPECT_LE(length, 0.1);
    EXPECT_GT(angle, 0.0);
    EXPECT_LE(angle, 0.1);
    EXPECT_EQ(0, VyGetEPS(nullptr));
    EXPECT_EQ(0, VyGetEPSANGLE(nullptr));
}

TEST(DravikWindowCalls, AnswerNotDoneWithoutTouchingOutputs)
{
    EXPECT_EQ(nullptr, VyGET_NOWDB());
    EXPECT_EQ(nullptr, VyMAKE_DB());
    EXPECT_EQ(nullptr, VyGetActiveCadWnd());
    int colors[257];
    for (int& c : colors) c = 0x5A5A5A;
    EXPECT_EQ(0, VyGetDrawColor(colors));
    EXPECT_EQ(0x5A5A5A, colors[0]);
    EXPECT_EQ(0x5A5A5A, colors[256]);
    WORD mask[64] = {7};
    EXPECT_EQ(0, VyLAYER_CHK(mask));
    EXPECT_EQ(7, mask[0]);
    unsigned char header[4224] = {};
    EXPECT_EQ(0, VyGET_DB_HEAD(header));
    EXPECT_EQ(0, VyDSP_MSG("text"));
    EXPECT_EQ(0, CwEnableCurModelessWindow(0));
    EXPECT_EQ(-1, CwGetCmdDialog(nullptr, 120, nullptr, nullptr));
}

TEST(DravikExports, EveryCallIsExportedByName)
{
    HMODULE module = GetModuleHandleA("Dravik.dll.so");
    if (module == nullptr) module = GetModuleHandleA("Dravik.dll");
    ASSERT_NE(nullptr, module);
    const char* names[] = {
        "Dader_SetTheConfigDataPtr", "Dader_InitCadApi", "Dader_SetCmdPanelType", "Dader_GetDataPath",
        "QmCadApi_SetAppProductName", "QmCadApi_SetColor", "QmCadApi_GetPrivateProfileString",
        "QmCadApi_WritePrivateProfileString", "VySetPara2", "CwGetCmdDialog", "CwEnableCurModelessWindow",
        "VyDSP_MSG", "VyGetEPS", "VyGetEPSANGLE", "VyGET_NOWDB", "VyGetCurrentPage", "VyGetSpace",
        "VyGetActiveCadWnd", "VyMAKE_DB", "VyINIT_DB", "VyGET_DB_HEAD", "VySET_DB_HEAD", "VySTOP_UNDO",
        "VySTART_UNDO", "VySetZumenFg", "VyUNLOCK_DB", "VyCmdParaSave", "VyCHG_GCHKOFF", "VyCHG_ELEMENT",
        "VyGET_ELEMENT", "VyGET_HILIGHT_COLOR", "VyLAYER_CHK", "VyGetDrawColor", "VyGET_SYS_ATR",
        "VySET_SYS_ATR", "VyLayerSplit", "Dader_PnlSetPaperSelect", "Dader_OnEraseBkgnd",
        "Dader_OnCtlColor", "Dader_OnDrawItem", "Dader_ChgBtnStyleOwnerDraw", "Dader_wParamToCtrlID",
        "Dader_GetPanelColor", "Dader_ColorBtn_DrawItem_OkBtn", "Dader_ColorBtn_DrawItem_Btn",
        "QmCadApi_ColorBtn_DrawItem",
    };
    for (const char* name : names) EXPECT_NE(nullptr, GetProcAddress(module, name)) << name;
}

class DravikPainting : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dialog = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_dialog);
        m_button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | BS_PUSHBUTTON, 10, 10, 80, 24, m_dialog,
                                   reinterpret_cast<HMENU>(100), GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_button);
        HDC screen = GetDC(nullptr);
        m_dc = CreateCompatibleDC(screen);
        m_bitmap = CreateCompatibleBitmap(screen, 200, 100);
        ReleaseDC(nullptr, screen);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    void TearDown() override
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
        DestroyWindow(m_dialog);
    }
    HWND m_dialog = nullptr;
    HWND m_button = nullptr;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

TEST_F(DravikPainting, PaintsInTheColoursAHostSets)
{
    COLORREF dialogColors[10] = {0xB5FFFF, 0x123456, 0x0000FF, 0x00FF00, 0, 0, 0, 0x010203, 0x040506, 0};
    ASSERT_EQ(1, QmCadApi_SetColor(-1, dialogColors));
    EXPECT_EQ(0x123456u, Dader_GetPanelColor());

    EXPECT_EQ(1, Dader_OnEraseBkgnd(m_dialog, m_dc));
    EXPECT_EQ(0xB5FFFFu, GetPixel(m_dc, 150, 80));

    HBRUSH brush = Dader_OnCtlColor(m_dialog, m_dc, m_button, 6);
    ASSERT_NE(nullptr, brush);
    EXPECT_EQ(0x010203u, GetTextColor(m_dc));
    LOGBRUSH info = {};
    GetObjectA(brush, sizeof info, &info);
    EXPECT_EQ(0x00FF00u, info.lbColor);
    brush = Dader_OnCtlColor(m_dialog, m_dc, m_button, 3);
    GetObjectA(brush, sizeof info, &info);
    EXPECT_EQ(0x0000FFu, info.lbColor);

    COLORREF kind2[3] = {0x00AA00, 0x000000, 0x808080};
    ASSERT_EQ(1, QmCadApi_SetColor(2, kind2));
    EXPECT_EQ(0, QmCadApi_SetColor(7, kind2));
    EXPECT_EQ(0, QmCadApi_SetColor(0, nullptr));
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 100;
    item.hwndItem = m_button;
    item.hDC = m_dc;
    SetRect(&item.rcItem, 0, 0, 80, 24);
    ASSERT_EQ(1, Dader_ColorBtn_DrawItem_Btn(&item, 2));
    EXPECT_EQ(0x00AA00u, GetPixel(m_dc, 40, 4));
}

TEST_F(DravikPainting, MakesButtonsOwnerDrawnByIdOrByWindow)
{
    ASSERT_EQ(1, Dader_ChgBtnStyleOwnerDraw(m_dialog, 100));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(m_button, GWL_STYLE) & BS_TYPEMASK);
    SetWindowLongA(m_button, GWL_STYLE, (GetWindowLongA(m_button, GWL_STYLE) & ~BS_TYPEMASK) | BS_PUSHBUTTON);
    ASSERT_EQ(1, Dader_ChgBtnStyleOwnerDraw(m_button, 1));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(m_button, GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(0, Dader_ChgBtnStyleOwnerDraw(m_dialog, 4242));
    EXPECT_EQ(0, Dader_ChgBtnStyleOwnerDraw(nullptr, 100));
    EXPECT_EQ(1021, Dader_wParamToCtrlID(MAKEWPARAM(1021, BN_CLICKED)));
}

namespace {

// A main frame that notes every message it is sent and answers from a table; the active view
// it names is a hidden window of its own whose drawing block holds a database.
class RecordingFrame {
public:
    RecordingFrame()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DravikRecordingFrame";
        wc.cbWndExtra = sizeof(LONG_PTR);
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                               wc.hInstance, nullptr);
        view = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                             wc.hInstance, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        block.engineDb = &database;
        SetWindowLongPtrA(view, 0, reinterpret_cast<LONG_PTR>(&block));
        Dader_InitCadApi(window);
    }
    ~RecordingFrame()
    {
        Dader_InitCadApi(nullptr);
        DestroyWindow(view);
        DestroyWindow(window);
    }

    struct Sent {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    HWND window = nullptr;
    HWND view = nullptr;
    PDBINFO block = {};
    EngineDbRecord database = {};
    std::vector<Sent> sent;
    CmdParamRecord lastRecord = {};
    LRESULT answer = 0;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<RecordingFrame*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self == nullptr || msg < 2000 || msg >= 40000) return DefWindowProcA(hWnd, msg, wParam, lParam);
        if (msg == WM_CAD_ACTIVE_VIEW) return reinterpret_cast<LRESULT>(self->view);
        self->sent.push_back({msg, wParam, lParam});
        if ((msg == WM_CADDB_READ_ELEMENT || msg == WM_CADDB_CHANGE_ELEMENT) && lParam != 0)
            self->lastRecord = *reinterpret_cast<const CmdParamRecord*>(lParam);
        return self->answer;
    }
};

}  // namespace

TEST(DravikDrawingCalls, EachCallSendsItsMessageAndAnswersTheFramesAnswer)
{
    RecordingFrame frame;
    unsigned char header[4223] = {};
    unsigned char attributes[339] = {};
    int colours[257] = {};
    WORD mask[64] = {};
    struct Case {
        const char* name;
        std::function<LRESULT()> call;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;  // -1: not checked
    };
    const Case cases[] = {
        {"VyMAKE_DB", [] { return reinterpret_cast<LRESULT>(VyMAKE_DB()); }, WM_CADDB_NEW_WINDOW_DB, 0, 0},
        {"VyGET_DB_HEAD", [&] { return VyGET_DB_HEAD(header); }, WM_CADDB_GET_DB_INFO, 0, reinterpret_cast<LPARAM>(header)},
        {"VySET_DB_HEAD", [&] { return VySET_DB_HEAD(header); }, WM_CADDB_SET_DB_INFO, 0, reinterpret_cast<LPARAM>(header)},
        {"VySTOP_UNDO", [] { return VySTOP_UNDO(); }, WM_CAD_BEGIN_BATCH_EDIT, 0, 0},
        {"VySTART_UNDO", [] { return VySTART_UNDO(); }, WM_CAD_END_BATCH_EDIT, 0, 0},
        {"VyUNLOCK_DB", [] { return VyUNLOCK_DB(); }, WM_CADDB_RELEASE_VIEW, 0, 0},
        {"VyGET_HILIGHT_COLOR", [] { return VyGET_HILIGHT_COLOR(); }, WM_CADDB_HIGHLIGHT_COLOR, 1, 0},
        {"VyLAYER_CHK", [&] { return VyLAYER_CHK(mask); }, WM_CADDB_SET_LAYER_TABLE, 0, reinterpret_cast<LPARAM>(mask)},
        {"VyGetDrawColor", [&] { return VyGetDrawColor(colours); }, WM_CAD_GET_COLOR_TABLE, 1, reinterpret_cast<LPARAM>(colours)},
        {"VyGET_SYS_ATR", [&] { return VyGET_SYS_ATR(attributes); }, WM_CAD_GET_VIEW_SETTINGS, 0, reinterpret_cast<LPARAM>(attributes)},
        {"VySET_SYS_ATR", [&] { return VySET_SYS_ATR(attributes); }, WM_CAD_SET_VIEW_SETTINGS, 0, reinterpret_cast<LPARAM>(attributes)},
        {"VyGET_ELEMENT", [&] { return VyGET_ELEMENT(&frame, 0, header); }, WM_CADDB_READ_ELEMENT, 0, -1},
        {"VyCHG_ELEMENT", [&] { return VyCHG_ELEMENT(&frame, 0, header); }, WM_CADDB_CHANGE_ELEMENT, 0, -1},
    };
    for (const Case& c : cases) {
        frame.sent.clear();
        frame.answer = 77;
        EXPECT_EQ(77, c.call()) << c.name;
        ASSERT_EQ(1u, frame.sent.size()) << c.name;
        EXPECT_EQ(c.message, frame.sent[0].message) << c.name;
        EXPECT_EQ(c.wParam, frame.sent[0].wParam) << c.name;
        if (c.lParam != -1) EXPECT_EQ(c.lParam, frame.sent[0].lParam) << c.name;
    }
}

TEST(DravikDrawingCalls, ElementCallsNameTheActiveViewAndTheirFields)
{
    RecordingFrame frame;
    frame.answer = 1;
    int element = 0;
    unsigned char record[174] = {};
    EXPECT_EQ(1, VyGET_ELEMENT(&element, 1, record));
    EXPECT_EQ(frame.view, frame.lastRecord.view);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(&element), frame.lastRecord.element);
    EXPECT_EQ(1, frame.lastRecord.record);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(record), frame.lastRecord.value1);
    EXPECT_EQ(1, VyCHG_ELEMENT(&element, 0, record));
    EXPECT_EQ(0, frame.lastRecord.record);

    frame.sent.clear();
    EXPECT_EQ(0, VyGET_ELEMENT(&element, 0, nullptr));
    EXPECT_EQ(0, VyCHG_ELEMENT(&element, 0, nullptr));
    EXPECT_TRUE(frame.sent.empty()) << "a null record sends nothing";
}

TEST(DravikDrawingCalls, UndefinedCallsSucceedOnADrawingOnly)
{
    EXPECT_EQ(0, VyINIT_DB(nullptr));
    EXPECT_EQ(0, VySetZumenFg(0));
    EXPECT_EQ(0, VyCmdParaSave());
    EXPECT_EQ(0, VyCHG_GCHKOFF());
    EXPECT_EQ(0, VyLayerSplit(0));
    EXPECT_EQ(0, Dader_PnlSetPaperSelect());
    RecordingFrame frame;
    int database = 0;
    EXPECT_EQ(1, VyINIT_DB(&database));
    EXPECT_EQ(1, VySetZumenFg(0));
    EXPECT_EQ(1, VyCmdParaSave());
    EXPECT_EQ(1, VyCHG_GCHKOFF());
    EXPECT_EQ(1, VyLayerSplit(0));
    EXPECT_EQ(1, Dader_PnlSetPaperSelect());
    EXPECT_TRUE(frame.sent.empty()) << "they send nothing";
}
