// The host-message families answered through the real host-service object: a fake site whose
// views are hidden windows owning engine databases, a recording panel model and a stand-in
// for the engine's dictionary function.
#include "GTest.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "HostServiceTestWindow.h"
#include "commands/CommandRunState.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"
#include "panels/ParameterPanelModel.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/ConfigIo.h"
#include "core/LocalSettings.h"
#include "core/SettingsMessage.h"
#include "drawing/DrawingOpen.h"

namespace {

// A drawing: an engine database shown by one or more views.
struct FakeDrawing {
    EngineDbRecord record{};
    FakeDrawing() { ZUriCreateDB(&record); }
    ~FakeDrawing() { ZUriDeleteDB(&record); }
    FakeDrawing(const FakeDrawing&) = delete;
    FakeDrawing& operator=(const FakeDrawing&) = delete;
};

class FakeSite : public CHostServiceSite {
public:
    ~FakeSite() override
    {
        for (auto& view : views) DestroyWindow(view.first);
    }

    // A hidden view window of the client size given, showing the drawing.
    HWND AddView(FakeDrawing& drawing, int width = 200, int height = 100)
    {
        HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        auto block = std::make_unique<PDBINFO>();
        std::memset(block.get(), 0, sizeof(PDBINFO));
        block->engineDb = &drawing.record;
        block->mode0.scale = block->mode1.scale = block->mode2.scale = 1.0;
        views[window] = std::move(block);
        if (active == nullptr) active = window;
        return window;
    }

    HWND ActiveView() override { return active; }
    PDBINFO* ViewBlock(HWND view) override
    {
        auto found = views.find(view);
        return found == views.end() ? nullptr : found->second.get();
    }
    int ViewsOfDrawing(HWND view, HWND* out, int capacity) override
    {
        PDBINFO* block = ViewBlock(view);
        if (block == nullptr) return 0;
        int count = 0;
        out[count++] = view;
        for (auto& other : views)
            if (other.first != view && other.second->engineDb == block->engineDb && count < capacity)
                out[count++] = other.first;
        return count;
    }
    void RepaintView(HWND) override { Add("Repaint"); }
    void RefreshDrawingViews(HWND view) override { Add("Refresh " + Name(view)); }
    void SetDrawingModified(HWND view) override
    {
        if (PDBINFO* block = ViewBlock(view)) block->modified = 1;
        Add("Modified " + Name(view));
    }
    void ClearDrawingModified(HWND view) override
    {
        if (PDBINFO* block = ViewBlock(view)) block->modified = 0;
    }
    void NotifyDrawingAttributesChanged() override { Add("AttributesChanged"); }
    int MarginFrameColour() override { return marginColour; }
    void Margins(bool landscape, double* left, double* right, double* top, double* bottom) override
    {
        Add(landscape ? "Margins landscape" : "Margins portrait");
        *left = 10, *right = 20, *top = 30, *bottom = 40;
    }
    LRESULT SaveDrawing(HWND view, int mode, const char* name) override
    {
        Add("Save " + Name(view) + " " + std::to_string(mode) + " " + (name ? name : "-"));
        return 7;
    }
    LRESULT LoadLinkedTiffImage(const char* path) override
    {
        Add(std::string("Tiff ") + path);
        return 5;
    }
    const char* CommandLineById(int id) override { return id == 4100 ? "/C:Echo" : nullptr; }
    LRESULT DeletePage(HWND, int page) override
    {
        Add("DeletePage " + std::to_string(page));
        return ZUriDelPage(page, ActiveDatabase());
    }
    LRESULT CollectPageLayerUsage(HWND, WORD*, int page) override
    {
        Add("LayerUsage " + std::to_string(page));
        return 1;
    }
    LRESULT SetActiveLayerName(int page, int layer, const char* name, const char*) override
    {
        Add("SetLayerName " + std::to_string(page) + " " + std::to_string(layer) + " " + (name ? name : "-"));
        return 1;
    }
    void SendToolPanelCommand(WPARAM command) override { Add("ToolPanel " + std::to_string(command)); }
    LRESULT PageService(int subCode, LPARAM) override
    {
        Add("Page " + std::to_string(subCode));
        return 9;
    }
    LRESULT CallPanel(const PboxCall& call) override
    {
        Add("Panel " + std::to_string(call.function) + (call.withMainWindow ? " A" : " B") +
            (call.mainWindow != nullptr ? " main" : "") + " " + std::to_string(call.wParam) + " " +
            std::to_string(call.lParam) + " " + std::to_string(call.fourth));
        return 3;
    }

    void* ActiveDatabase()
    {
        PDBINFO* block = ViewBlock(active);
        return block ? block->engineDb : nullptr;
    }
    std::string Name(HWND view)
    {
        int index = 0;
        for (auto& v : views) {
            if (v.first == view) return "v" + std::to_string(index);
            ++index;
        }
        return "none";
    }
    void Add(const std::string& line) { lines.push_back(line); }
    bool Has(const std::string& line) const
    {
        for (const std::string& l : lines)
            if (l == line) return true;
        return false;
    }

    std::map<HWND, std::unique_ptr<PDBINFO>> views;
    HWND active = nullptr;
    int marginColour = 1;
    std::vector<std::string> lines;
};

class HostServiceFamiliesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCommandRunState() = CommandRunState();
        InstallHostServiceFamilies(test.services);
        SetHostServiceSite(&site);
        savedSetup = GetLocalSettingsLive().setup;
        savedBackground = GetDrawingBackgroundMode();
        std::memcpy(savedPalette, GetConfigDataRuntime().palette, sizeof(savedPalette));
    }
    void TearDown() override
    {
        SetHostServiceSite(nullptr);
        GetCommandRunState() = CommandRunState();
        GetLocalSettingsLive().setup = savedSetup;
        SetDrawingBackgroundMode(savedBackground);
        std::memcpy(GetConfigDataRuntime().palette, savedPalette, sizeof(savedPalette));
    }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return test.Send(msg, wParam, lParam); }
    template <class T>
    LRESULT Send(UINT msg, WPARAM wParam, T* record)
    {
        return test.Send(msg, wParam, reinterpret_cast<LPARAM>(record));
    }
    void SetExtents(FakeDrawing& drawing, double width, double height, double paperW, double paperH, double scale)
    {
        DbInfoRecord info;
        ZUriGetDBInfo(&info, &drawing.record);
        info.drawingWidth = width, info.drawingHeight = height;
        info.paperWidthMm = paperW, info.paperHeightMm = paperH, info.scale = scale;
        ZUriSetDBInfo(&info, &drawing.record);
    }

    HostServiceTestWindow test;
    FakeSite site;
    LocalSettingsSetup savedSetup;
    int savedBackground = 0;
    COLORREF savedPalette[257];
};

// ---- views, windows and colours ----

TEST_F(HostServiceFamiliesTest, ColourTableByVariant)
{
    SetDrawingBackgroundMode(1);  // white
    GetLocalSettingsLive().setup.bColorMode = 1;
    COLORREF* palette = GetConfigDataRuntime().palette;
    palette[1] = RGB(255, 255, 255);
    palette[2] = RGB(255, 0, 0);

    COLORREF table[257];
    EXPECT_EQ(1, Send(WM_CAD_GET_COLOR_TABLE, 0, table));
    EXPECT_EQ(RGB(255, 255, 255), table[0]);
    EXPECT_EQ(RGB(255, 255, 255), table[1]) << "variant 0 passes the table as it is";
    EXPECT_EQ(RGB(255, 0, 0), table[2]);

    EXPECT_EQ(1, Send(WM_CAD_GET_COLOR_TABLE, 100, table));
    EXPECT_EQ(RGB(239, 239, 239), table[1]) << "white on white moves by 16";
    EXPECT_EQ(RGB(255, 0, 0), table[2]);
    GetLocalSettingsLive().setup.bColorMode = 2;
    EXPECT_EQ(1, Send(WM_CAD_GET_COLOR_TABLE, 100, table));
    EXPECT_EQ(RGB(0, 0, 0), table[1]) << "mode 2 inverts";

    // Variant 1 reads the drawing's colours; without a drawing it answers 0 after entry 0.
    for (COLORREF& c : table) c = 0x123456;
    EXPECT_EQ(0, Send(WM_CAD_GET_COLOR_TABLE, 1, table));
    EXPECT_EQ(RGB(255, 255, 255), table[0]);
    EXPECT_EQ(0x123456u, table[1]);
    EXPECT_EQ(0, Send(WM_CAD_GET_COLOR_TABLE, 0, 0));

    FakeDrawing drawing;
    site.AddView(drawing);
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &drawing.record));
    ASSERT_NE(nullptr, info);
    info->colours[3].red = 0x101, info->colours[3].green = 2, info->colours[3].blue = 3;
    EXPECT_EQ(1, Send(WM_CAD_GET_COLOR_TABLE, 1, table));
    EXPECT_EQ(RGB(1, 2, 3), table[3]) << "low bytes of the drawing's colour";
}

TEST_F(HostServiceFamiliesTest, ColourByIndexOnlyInsideTheTable)
{
    SetDrawingBackgroundMode(0);
    GetConfigDataRuntime().palette[256] = RGB(1, 2, 3);
    const struct {
        LPARAM index;
        COLORREF colour;
    } cases[] = {{0, RGB(0, 0, 0)}, {256, RGB(1, 2, 3)}, {257, 0}, {-1, 0}, {100000, 0}};
    for (const auto& c : cases) EXPECT_EQ(c.colour, static_cast<COLORREF>(Send(WM_CAD_GET_COLOR, 0, c.index))) << c.index;
}

TEST_F(HostServiceFamiliesTest, MarginFrameOnSquarePaperUsesPortraitMargins)
{
    double frame[4] = {};
    EXPECT_EQ(0, Send(WM_CAD_GET_MARGIN_FRAME, 0, frame)) << "no view";
    FakeDrawing drawing;
    site.AddView(drawing);
    SetExtents(drawing, 400, 300, 200, 200, 0);  // scale 0 counts as 1
    EXPECT_EQ(1, Send(WM_CAD_GET_MARGIN_FRAME, 0, frame));
    EXPECT_TRUE(site.Has("Margins portrait"));
    EXPECT_DOUBLE_EQ(10 - 200, frame[0]);
    EXPECT_DOUBLE_EQ(150 - 30, frame[1]);
    EXPECT_DOUBLE_EQ(200 - 20, frame[2]);
    EXPECT_DOUBLE_EQ(40 - 150, frame[3]);
    SetExtents(drawing, 400, 300, 297, 210, 2);
    EXPECT_EQ(1, Send(WM_CAD_GET_MARGIN_FRAME, 0, frame));
    EXPECT_TRUE(site.Has("Margins landscape"));
    EXPECT_DOUBLE_EQ(5 - 200, frame[0]);
    site.marginColour = 0;
    EXPECT_EQ(0, Send(WM_CAD_GET_MARGIN_FRAME, 0, frame)) << "hidden margin frame";
}

TEST_F(HostServiceFamiliesTest, DrawingAttributesCopyThe339BytesBehindTheColour)
{
    unsigned char buffer[339];
    std::memset(buffer, 0xEE, sizeof(buffer));
    EXPECT_EQ(0, Send(WM_CAD_GET_VIEW_SETTINGS, 0, buffer));
    EXPECT_EQ(0xEE, buffer[0]) << "nothing written without a view";
    FakeDrawing drawing;
    HWND view = site.AddView(drawing);
    PDBINFO* block = site.ViewBlock(view);
    block->colour = 7;
    block->textStyle.colour = 0x1234;
    EXPECT_EQ(1, Send(WM_CAD_GET_VIEW_SETTINGS2, 0, buffer));
    EXPECT_EQ(7, buffer[0]);
    EXPECT_EQ(0x34, buffer[337]);
    EXPECT_EQ(0x12, buffer[338]);
    buffer[0] = 9;
    EXPECT_EQ(1, Send(WM_CAD_SET_VIEW_SETTINGS, 0, buffer));
    EXPECT_EQ(9, block->colour);
    EXPECT_EQ(0, block->modified) << "the bytes after the block stay";
    EXPECT_TRUE(site.Has("AttributesChanged"));
    EXPECT_EQ(0, Send(WM_CAD_SET_VIEW_SETTINGS, 0, 0));
}

// ---- drawings, elements and files ----

TEST_F(HostServiceFamiliesTest, ViewStateSubCodes)
{
    EXPECT_EQ(-1, Send(WM_CAD_VIEW_STATE, 0, 0));
    EXPECT_EQ(-1, Send(WM_CAD_VIEW_STATE, 6, 0));
    EXPECT_EQ(0, Send(WM_CAD_VIEW_STATE, 1, 1));
    FakeDrawing drawing;
    HWND first = site.AddView(drawing);
    HWND second = site.AddView(drawing);
    EXPECT_EQ(0, Send(WM_CAD_VIEW_STATE, 1, 2)) << "save option 2 is refused";
    EXPECT_EQ(0, site.ViewBlock(first)->saveOption);
    EXPECT_EQ(1, Send(WM_CAD_VIEW_STATE, 1, 1));
    EXPECT_EQ(1, site.ViewBlock(second)->saveOption) << "all views of a shared drawing";
    EXPECT_EQ(1, Send(WM_CAD_VIEW_STATE, 0, 0));

    EXPECT_EQ(1, Send(WM_CAD_VIEW_STATE, 3, 1));
    EXPECT_EQ(1, site.ViewBlock(first)->referenceMode);
    EXPECT_EQ(1, site.ViewBlock(second)->referenceMode);
    EXPECT_TRUE(site.Has("Refresh " + site.Name(first)));
    EXPECT_TRUE(site.Has("Refresh " + site.Name(second)));
    EXPECT_EQ(1, Send(WM_CAD_VIEW_STATE, 3, 2));
    EXPECT_EQ(0, Send(WM_CAD_VIEW_STATE, 3, 5));

    EXPECT_EQ(0, Send(WM_CAD_VIEW_STATE, 4, 9999)) << "an id outside the catalogue";
    EXPECT_STREQ("/C:Echo", reinterpret_cast<const char*>(Send(WM_CAD_VIEW_STATE, 4, 4100)));
    GetCommandRunState().runningPluginId = 5990;
    EXPECT_EQ(5990, Send(WM_CAD_VIEW_STATE, 2, 0));
    EXPECT_EQ(7, Send(WM_CAD_VIEW_STATE, 7, 0));
    EXPECT_TRUE(site.Has("Save " + site.Name(first) + " 4 -"));
    EXPECT_EQ(0, Send(WM_CAD_VIEW_STATE, 10, 0));
}

TEST_F(HostServiceFamiliesTest, ForcedSaveAndDrawingName)
{
    EXPECT_EQ(1, Send(WM_CAD_FORCE_SAVE, 0, "C:\\a.tcf")) << "no view: 1 and nothing saved";
    EXPECT_TRUE(site.lines.empty());

    FakeDrawing drawing;
    HWND first = site.AddView(drawing);
    HWND second = site.AddView(drawing);
    EXPECT_EQ(7, Send(WM_CAD_FORCE_SAVE, 0, "C:\\a.tcf"));
    EXPECT_TRUE(site.Has("Save " + site.Name(first) + " 3 C:\\a.tcf"));
    EXPECT_TRUE(test.Has("Log 2 System Cmd 強制保存"));
    EXPECT_EQ(7, Send(WM_CAD_FORCE_SAVE, 0, 0));
    EXPECT_TRUE(site.Has("Save " + site.Name(first) + " 2 -"));
    std::string longName(300, 'a');
    EXPECT_EQ(0, Send(WM_CAD_FORCE_SAVE, 0, longName.c_str())) << "a name that does not fit is refused";

    char name[260] = "C:\\drawings\\new.tcf";
    EXPECT_EQ(1, Send(WM_CAD_DRAWING_NAME, 1, name));
    EXPECT_STREQ(name, site.ViewBlock(second)->fileName) << "every view of the drawing";
    char read[260] = {};
    EXPECT_EQ(1, Send(WM_CAD_DRAWING_NAME, 0, read));
    EXPECT_STREQ(name, read);
    std::memset(name, 'x', sizeof(name));  // no terminator within 260 bytes
    EXPECT_EQ(0, Send(WM_CAD_DRAWING_NAME, 1, name));
    EXPECT_STREQ("C:\\drawings\\new.tcf", site.ViewBlock(first)->fileName);
}

TEST_F(HostServiceFamiliesTest, FileServicesRefuseTextsLongerThanTheirBuffers)
{
    std::string path = "C:\\drawings\\a.tcf";
    EXPECT_EQ(5, Send(WM_CAD_FILE_SERVICE, 0, path.c_str()));
    EXPECT_TRUE(site.Has("Tiff " + path));
    std::string longPath(260, 'p');
    EXPECT_EQ(0, Send(WM_CAD_FILE_SERVICE, 0, longPath.c_str()));
    EXPECT_EQ(0, Send(WM_CAD_FILE_SERVICE, 0, 0));
    EXPECT_EQ(0, Send(WM_CAD_FILE_SERVICE, 5, longPath.c_str()));
    EXPECT_EQ(1, Send(WM_CAD_FILE_SERVICE, 6, 12));
    EXPECT_EQ(12, GetOpenRequestFlag()) << "sub-code 6 sets the open-request word";
    SetOpenRequestFlag(0);
    EXPECT_EQ(0, Send(WM_CAD_FILE_SERVICE, 4, 0));
}

TEST_F(HostServiceFamiliesTest, CheckModeOnlyWithHundredInTheLowWord)
{
    const int previous = ZUriSetElementCheckMode(1);
    EXPECT_EQ(0, Send(WM_CAD_SET_CHECK_MODE, 0, 0));
    EXPECT_EQ(1, Send(WM_CAD_SET_CHECK_MODE, 100, 0)) << "answers the mode before";
    EXPECT_EQ(0, Send(WM_CAD_SET_CHECK_MODE, 0x10064, 1)) << "mode 0 was set";
    ZUriSetElementCheckMode(previous);
}

TEST_F(HostServiceFamiliesTest, BatchEditSwitchesTheRunState)
{
    FakeDrawing drawing;
    site.AddView(drawing);
    EXPECT_EQ(1, Send(WM_CAD_BEGIN_BATCH_EDIT));
    EXPECT_EQ(0, GetCommandRunState().batchEdit);
    EXPECT_EQ(1, Send(WM_CAD_END_BATCH_EDIT));
    EXPECT_EQ(1, GetCommandRunState().batchEdit);
}

// ---- fonts ----

struct DicCall {
    int code;
    DicParamBlock block;
};
std::vector<DicCall> g_dicCalls;
int g_fontCount = 0;

int WINAPI FakeDicFunction(int code, void* block)
{
    DicCall call{code, {}};
    if (code != 1 && code != 2 && code != 20) {
        call.block = *static_cast<DicParamBlock*>(block);
        auto* b = static_cast<DicParamBlock*>(block);
        b->real294 = 1.5, b->real302 = 2.5, b->real310 = 3.5, b->arg8 = 44;
    }
    g_dicCalls.push_back(call);
    return 66;
}
int WINAPI FakeGetFontNum(int kind) { return kind == 0 ? g_fontCount : 10 + kind; }
int WINAPI FakeGetFontNm(int, int index, char* out)
{
    std::snprintf(out, 32, "Font%d", index);
    return 1;
}

class FontServiceTest : public HostServiceFamiliesTest {
protected:
    void SetUp() override
    {
        HostServiceFamiliesTest::SetUp();
        const FontServiceEngine engine = {FakeDicFunction, FakeGetFontNum, FakeGetFontNm};
        SetFontServiceEngine(&engine);
        g_dicCalls.clear();
        std::memset(&record, 0, sizeof(record));
        savedExtdic = GetCadSystem().config.EXTDIC;
    }
    void TearDown() override
    {
        SetFontServiceEngine(nullptr);
        GetCadSystem().config.EXTDIC = savedExtdic;
        HostServiceFamiliesTest::TearDown();
    }
    LRESULT Font(int code) { return Send(WM_CAD_FONT_SERVICE, code, &record); }
    DicFunctionRecord record;
    int savedExtdic = 0;
};

TEST_F(FontServiceTest, CodesWithoutTheEngine)
{
    GetCadSystem().config.EXTDIC = 0;
    EXPECT_EQ(1, Font(19));
    GetCadSystem().config.EXTDIC = 2;
    EXPECT_EQ(123, Font(19));
    record.value8 = 5;
    record.value12 = 77;
    EXPECT_EQ(1, Font(21));
    EXPECT_EQ(77, record.value12) << "21 with 5 changes nothing";
    EXPECT_EQ(0, Font(0));
    EXPECT_EQ(0, Font(25));
    EXPECT_EQ(0, Font(1000));
    EXPECT_TRUE(g_dicCalls.empty());
    EXPECT_EQ(0, Send(WM_CAD_FONT_SERVICE, 4, 0)) << "no record";
}

TEST_F(FontServiceTest, FontListCodes)
{
    g_fontCount = 12;
    EXPECT_EQ(1, Font(23));
    EXPECT_EQ(12, record.value8);
    record.value8 = 2;
    EXPECT_EQ(1, Font(21));
    EXPECT_EQ(12, record.value12) << "kind 2 counted by the engine's font list";
    char name[64] = {};
    record.value8 = 3;
    record.value682 = reinterpret_cast<INT_PTR>(name);
    EXPECT_EQ(1, Font(24));
    EXPECT_STREQ("Font3", name);
    record.value682 = 0;
    EXPECT_EQ(0, Font(24)) << "no buffer for the name";

    record.value8 = 4;
    record.value12 = 6;
    EXPECT_EQ(1, Font(21));
    ASSERT_EQ(1u, g_dicCalls.size());
    EXPECT_EQ(21, g_dicCalls[0].code);
    EXPECT_EQ(4, g_dicCalls[0].block.arg8);
    EXPECT_EQ(6, g_dicCalls[0].block.arg12);
    EXPECT_EQ(record.name380, g_dicCalls[0].block.pointer334);
}

TEST_F(FontServiceTest, EachEngineCodeCopiesItsFields)
{
    record.value8 = 8, record.value12 = 12, record.value16 = 16;
    record.double642 = 6.42, record.double650 = 6.5;
    record.value682 = 682, record.value686 = 686;
    struct Case {
        int code;
        LRESULT result;
        void* p334;
        void* p338;
        bool measure;       // 294/302 carry the record's doubles
        bool args;          // 8, 12 carry the record's values
        double out658, out642, out650;
    };
    void* name = record.name380;
    void* buffer = record.buffer24;
    void* v682 = reinterpret_cast<void*>(682);
    const Case cases[] = {
        {4, 1, name, v682, true, false, 3.5, 6.42, 6.5},
        {5, 1, name, v682, true, true, 3.5, 6.42, 6.5},
        {8, 1, name, nullptr, false, false, 0, 1.5, 6.5},
        {10, 1, v682, buffer, false, false, 0, 1.5, 2.5},
        {11, 1, v682, buffer, false, true, 0, 1.5, 2.5},
        {15, 1, buffer, nullptr, false, false, 0, 1.5, 2.5},
        {18, 1, buffer, v682, false, false, 0, 6.42, 6.5},
        {22, 0, v682, nullptr, false, false, 0, 6.42, 6.5},
    };
    for (const Case& c : cases) {
        g_dicCalls.clear();
        record.double642 = 6.42, record.double650 = 6.5, record.double658 = 0;
        EXPECT_EQ(c.result, Font(c.code)) << c.code;
        ASSERT_EQ(1u, g_dicCalls.size()) << c.code;
        const DicParamBlock& b = g_dicCalls[0].block;
        EXPECT_EQ(c.code, g_dicCalls[0].code);
        EXPECT_EQ(c.p334, b.pointer334) << c.code;
        EXPECT_EQ(c.p338, b.pointer338) << c.code;
        EXPECT_EQ(c.measure ? 6.42 : 0.0, b.real294) << c.code;
        EXPECT_EQ(c.args ? 8 : 0, b.arg8) << c.code;
        EXPECT_EQ(c.args ? 12 : 0, b.arg12) << c.code;
        EXPECT_DOUBLE_EQ(c.out658, record.double658) << c.code;
        EXPECT_DOUBLE_EQ(c.out642, record.double642) << c.code;
        EXPECT_DOUBLE_EQ(c.out650, record.double650) << c.code;
    }
    g_dicCalls.clear();
    EXPECT_EQ(66, Font(3));
    EXPECT_EQ(686, g_dicCalls[0].block.arg342);
    EXPECT_EQ(66, Font(20)) << "the record itself goes to the engine";
    EXPECT_EQ(1, Font(13));
    EXPECT_EQ(44, record.value8);
}

// ---- databases ----

TEST_F(HostServiceFamiliesTest, HighlightColourAndUndoSwitch)
{
    GetLocalSettingsLive().iHighlightColor = 5;
    GetCommandRunState().highlightColor = 3;
    EXPECT_EQ(5, Send(WM_CADDB_HIGHLIGHT_COLOR, 1, 9));
    EXPECT_EQ(3, GetCommandRunState().highlightColor) << "reading changes nothing";
    EXPECT_EQ(1, Send(WM_CADDB_HIGHLIGHT_COLOR, 0, 9));
    EXPECT_EQ(9, GetCommandRunState().highlightColor);
    EXPECT_EQ(0, Send(WM_CADDB_SET_UNDO_SWITCH, 0, 0));
    EXPECT_EQ(1, GetCommandRunState().undoRecording);
    EXPECT_EQ(1, Send(WM_CADDB_SET_UNDO_SWITCH, 1, 0));
    EXPECT_EQ(0, GetCommandRunState().undoRecording);
    EXPECT_EQ(1, Send(WM_CADDB_NOP));
}

TEST_F(HostServiceFamiliesTest, LayersAndPagesOutsideTheirRangesAreRefused)
{
    WORD table[64] = {};
    EXPECT_EQ(0, Send(WM_CADDB_SET_LAYER_TABLE, 0, table)) << "no view";
    FakeDrawing drawing;
    site.AddView(drawing);
    EXPECT_EQ(1, Send(WM_CADDB_SET_LAYER_TABLE, 3, table));
    EXPECT_TRUE(site.Has("LayerUsage 2"));
    EXPECT_EQ(1, Send(WM_CADDB_SET_LAYER_TABLE, 0, table));
    EXPECT_TRUE(site.Has("LayerUsage 0")) << "the current page";
    EXPECT_EQ(0, Send(WM_CADDB_SET_LAYER_TABLE, 258, table));
    EXPECT_EQ(0, Send(WM_CADDB_SET_LAYER_TABLE, 3, 0));

    CmdParamRecord p = {};
    char name[] = "Walls";
    p.text = name;
    for (INT_PTR layer : {-1, 1024, 100000}) {
        p.value1 = layer;
        EXPECT_EQ(0, Send(WM_CADDB_GET_LAYER_NAME, 1, &p)) << layer;
        EXPECT_EQ(0, Send(WM_CADDB_SET_LAYER_NAME, 0, &p)) << layer;
    }
    EXPECT_TRUE(!site.Has("ToolPanel 65736"));
    p.value1 = 1023;
    EXPECT_EQ(1, Send(WM_CADDB_SET_LAYER_NAME, 0, &p));
    EXPECT_TRUE(site.Has("SetLayerName 0 1023 Walls"));
    EXPECT_TRUE(site.Has("ToolPanel 65736"));
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &drawing.record));
    EXPECT_EQ(reinterpret_cast<LRESULT>(info->layers.names[1023]), Send(WM_CADDB_GET_LAYER_NAME, 1, &p));
}

TEST_F(HostServiceFamiliesTest, DatabaseInformationRoundTripsFieldByField)
{
    DbInfoRecord info;
    std::memset(&info, 0x55, sizeof(info));
    EXPECT_EQ(0, Send(WM_CADDB_GET_DB_INFO, 0, &info));
    EXPECT_EQ(0x55, static_cast<unsigned char>(info.title[0]));
    FakeDrawing drawing;
    HWND view = site.AddView(drawing);
    ASSERT_EQ(1, Send(WM_CADDB_GET_DB_INFO, 0, &info));
    // A title without its terminator is read no further than its field.
    std::memset(info.title, 'T', sizeof(info.title));
    info.drawingWidth = 841;
    EXPECT_EQ(1, Send(WM_CADDB_SET_DB_INFO, 0, &info));
    EXPECT_TRUE(site.Has("Refresh " + site.Name(view)));
    EXPECT_EQ(1, site.ViewBlock(view)->modified);
    DbInfoRecord back;
    ASSERT_EQ(1, ZUriGetDBInfo(&back, &drawing.record));
    EXPECT_EQ(std::string(256, 'T'), std::string(back.title));
    EXPECT_DOUBLE_EQ(841, back.drawingWidth);
}

TEST_F(HostServiceFamiliesTest, WindowDatabaseAndReset)
{
    FakeDrawing drawing;
    HWND view = site.AddView(drawing);
    EXPECT_EQ(reinterpret_cast<LRESULT>(&drawing.record), Send(WM_CADDB_WINDOW_DB, 0, reinterpret_cast<LPARAM>(view)));
    EXPECT_EQ(0, Send(WM_CADDB_WINDOW_DB, 0, reinterpret_cast<LPARAM>(test.window)));
    EngineDbRecord unknown = {};
    EXPECT_EQ(0, Send(WM_CADDB_RESET_DB, 0, &unknown)) << "a record the engine does not hold";
    EXPECT_EQ(1, Send(WM_CADDB_RESET_DB, 0, &drawing.record));
    EXPECT_EQ(0, ZUriGetElmNum(&drawing.record));
}

ElementRecord LineOnLayer(uint16_t layer)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof(r));
    r.type = kElementLine;
    r.layer = layer;
    r.colour = 1;
    double coords[6] = {0, 0, 0, 10, 10, 0};
    std::memcpy(r.geometry, coords, sizeof(coords));
    return r;
}

TEST_F(HostServiceFamiliesTest, ClearAllKeepsElementsOnLockedLayersAndThePages)
{
    EXPECT_EQ(0, Send(WM_CADDB_CLEAR_ALL)) << "no drawing";
    FakeDrawing drawing;
    HWND view = site.AddView(drawing);
    for (uint16_t layer : {0, 1, 1, 2}) {
        ElementRecord r = LineOnLayer(layer);
        ASSERT_NE(nullptr, ZUriAppendElement(&r, &drawing.record));
    }
    ASSERT_EQ(1, ZUriAddPage(2, nullptr, &drawing.record));
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &drawing.record));
    info->layers.lockMask[0] = 1 << 1;

    test.messageBoxAnswer = IDCANCEL;
    EXPECT_EQ(1, Send(WM_CADDB_CLEAR_ALL));
    EXPECT_EQ(4, ZUriGetElmNum(&drawing.record)) << "cancelled";
    EXPECT_EQ(1u, test.Count("Box other 全消去設定 33 全要素を全消去してもいいですか？\n※ロックレイヤは消去しません。"));

    test.messageBoxAnswer = IDOK;
    EXPECT_EQ(1, Send(WM_CADDB_CLEAR_ALL));
    EXPECT_EQ(2, ZUriGetElmNum(&drawing.record));
    EXPECT_EQ(1, ZUriChkPage(2, &drawing.record)) << "pages stay";
    EXPECT_EQ(1, site.ViewBlock(view)->modified);

    info->layers.lockMask[0] = 0;
    EXPECT_EQ(1, Send(WM_CADDB_CLEAR_ALL));
    EXPECT_EQ(1u, test.Count("Box other 全消去設定 33 全要素を全消去してもいいですか？"));
    EXPECT_EQ(0, ZUriGetElmNum(&drawing.record));
    EXPECT_TRUE(site.Has("DeletePage 2"));
    EXPECT_EQ(0, ZUriChkPage(2, &drawing.record));
}

// ---- parameter panels ----

TEST_F(HostServiceFamiliesTest, PanelMessagesReachThePanelModelInTheirForm)
{
    const struct {
        UINT message;
        PboxFunction function;
        const char* form;
    } cases[] = {
        {WM_PBOX_CREATE, kPboxCreatePanel, "A main"},     {WM_PBOX_DESTROY, kPboxDestroyPanel, "A main"},
        {WM_PBOX_BUILD, kPboxShowPanel, "A main"},        {WM_PBOX_ADD_COMBO, kPboxAddCombo, "A main"},
        {WM_PBOX_ADD_LIST2, kPboxAddListEx, "A main"},    {WM_PBOX_GET_ITEM_STRING, kPboxGetItemText2, "A main"},
        {WM_PBOX_VALUE, kPboxItemValue, "B"},             {WM_PBOX_ENABLE, kPboxEnableItem, "B"},
        {WM_PBOX_PRESS, kPboxPressItem, "B"},             {WM_PBOX_ITEM_STRING, kPboxSetItemLabel, "B"},
    };
    for (const auto& c : cases) {
        site.lines.clear();
        EXPECT_EQ(3, Send(c.message, 11, 22)) << c.message;
        ASSERT_EQ(1u, site.lines.size()) << c.message;
        EXPECT_EQ("Panel " + std::to_string(c.function) + " " + c.form + " 11 22 0", site.lines[0]);
    }
    site.lines.clear();
    EXPECT_EQ(1, Send(WM_PBOX_NOP, 1, 2));
    EXPECT_EQ(1, Send(WM_PBOX_NOP2, 1, 2));
    EXPECT_TRUE(site.lines.empty()) << "2555 and 2559 change nothing";
}

TEST_F(HostServiceFamiliesTest, TheProgramsSiteHandsPanelsToThePanelModel)
{
    SetHostServiceSite(nullptr);
    PboxCloseAllPanels();
    EXPECT_EQ(1, Send(WM_PBOX_CREATE, 0, 0));
    EXPECT_EQ(1, Send(WM_PBOX_DESTROY, 0, 1));
    EXPECT_EQ(1, Send(WM_PBOX_CREATE, 0, 0)) << "the destroyed panel is free again";
    EXPECT_EQ(1, Send(WM_PBOX_NOP, 0, 0));
    PboxCloseAllPanels();
}

// ---- pages ----

TEST_F(HostServiceFamiliesTest, PageSubCodes)
{
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_GET_SPACE));
    FakeDrawing drawing;
    HWND view = site.AddView(drawing, 200, 100);
    PDBINFO* block = site.ViewBlock(view);
    for (int mode : {0, 1, 2, 3}) {
        block->viewMode = mode;
        EXPECT_EQ(mode == 1 || mode == 2 ? mode : 0, Send(WM_CADPAGE, CADPAGE_GET_SPACE)) << mode;
    }
    block->viewMode = 0;

    CmdParamRecord p = {};
    p.second = 0;
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_GET_PAGE_WORD1, &p)) << "page 0";
    EXPECT_EQ(1, Send(WM_CADPAGE, CADPAGE_CHECK, 0));
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_CHECK, 5));

    LRESULT result = 0;
    EXPECT_FALSE(test.services.ProcessWindowMessage(test.window, WM_CADPAGE, 29, 0, result, 0))
        << "sub-code 29 is not the page part's";

    p.second = 300;
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_SET_CURRENT, &p));
    p.second = 3;
    EXPECT_EQ(9, Send(WM_CADPAGE, CADPAGE_SET_CURRENT, &p));
    EXPECT_TRUE(site.Has("Page 1"));
}

TEST_F(HostServiceFamiliesTest, VisibleAreaOfAViewMode)
{
    FakeDrawing drawing;
    HWND view = site.AddView(drawing, 200, 100);
    PDBINFO* block = site.ViewBlock(view);
    block->mode1 = {5, -5, 2};
    CmdParamRecord p = {};
    p.second = 1;
    EXPECT_EQ(1, Send(WM_CADPAGE, CADPAGE_GET_VISIBLE_AREA, &p));
    EXPECT_DOUBLE_EQ(-50 - 5, p.point1.x);
    EXPECT_DOUBLE_EQ(25 + 5, p.point1.y);
    EXPECT_DOUBLE_EQ(50 - 5, p.point2.x);
    EXPECT_DOUBLE_EQ(-25 + 5, p.point2.y);

    CmdParamRecord untouched = {};
    untouched.point1.x = 77;
    untouched.second = 3;
    EXPECT_EQ(1, Send(WM_CADPAGE, CADPAGE_GET_VISIBLE_AREA, &untouched));
    EXPECT_EQ(77, untouched.point1.x) << "another mode writes nothing";
    block->mode1.scale = 0;
    untouched.second = 1;
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_GET_VISIBLE_AREA, &untouched)) << "a scale of 0";
    block->mode1.scale = NAN;
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_GET_VISIBLE_AREA, &untouched));
    EXPECT_EQ(77, untouched.point1.x);
}

TEST_F(HostServiceFamiliesTest, ZoomInAViewModeKeepsTheViewModeAndRefusesEmptyAreas)
{
    FakeDrawing drawing;
    HWND view = site.AddView(drawing, 200, 100);
    PDBINFO* block = site.ViewBlock(view);
    SetExtents(drawing, 0, 0, 297, 210, 1);
    CmdParamRecord p = {};
    p.second = 1;
    p.point1 = {10, 10, 0, 0};
    p.point2 = {30, 20, 0, 0};
    EXPECT_EQ(1, Send(WM_CADPAGE, CADPAGE_ZOOM_TO_AREA, &p));
    EXPECT_EQ(0, block->viewMode) << "the view mode is put back";
    EXPECT_DOUBLE_EQ(-20, block->mode1.offsetX);
    EXPECT_DOUBLE_EQ(-15, block->mode1.offsetY);
    EXPECT_DOUBLE_EQ(10, block->mode1.scale);
    EXPECT_DOUBLE_EQ(1, block->mode1Backup.scale) << "the previous view kept";
    EXPECT_DOUBLE_EQ(1, block->mode0.scale);

    // Both points equal on a drawing without extent: no scale, the view stays.
    p.point2 = p.point1;
    EXPECT_EQ(0, Send(WM_CADPAGE, CADPAGE_ZOOM_TO_AREA, &p));
    EXPECT_DOUBLE_EQ(10, block->mode1.scale);
    // With an extent, equal points zoom to it centred on the point.
    SetExtents(drawing, 400, 100, 297, 210, 1);
    EXPECT_EQ(1, Send(WM_CAD_ZOOM_TO_AREA, 0, &p));
    EXPECT_DOUBLE_EQ(0.5, block->mode0.scale);
    EXPECT_DOUBLE_EQ(-10, block->mode0.offsetX);
}

TEST_F(HostServiceFamiliesTest, ZoomRefusesAViewWithoutClientArea)
{
    FakeDrawing drawing;
    HWND view = site.AddView(drawing, 0, 0);
    PDBINFO* block = site.ViewBlock(view);
    CmdParamRecord p = {};
    p.point1 = {0, 0, 0, 0};
    p.point2 = {10, 10, 0, 0};
    EXPECT_EQ(0, Send(WM_CAD_ZOOM_TO_AREA, 0, &p));
    EXPECT_DOUBLE_EQ(1, block->mode0.scale);
}

}  // namespace

namespace {

// ---- configuration ----

TEST_F(HostServiceFamiliesTest, SettingWrittenIsReadBack)
{
    char section[] = "HostServiceFamiliesTest";
    char value[] = "value 1";
    CmdParamRecord p = {};
    p.text = section;
    p.key = reinterpret_cast<INT_PTR>("Key");
    p.element = reinterpret_cast<INT_PTR>(value);
    EXPECT_EQ(1, Send(WM_CADCFG_WRITE, 0, &p));
    char read[260];
    std::memset(read, 'x', sizeof(read));
    p.element = reinterpret_cast<INT_PTR>(read);
    EXPECT_EQ(1, Send(WM_CADCFG_READ, 0, &p));
    EXPECT_STREQ("value 1", read);
    EXPECT_EQ('x', read[257]) << "at most 257 bytes are written";

    // The whole section: its keys.
    CmdParamRecord s = {};
    s.key = reinterpret_cast<INT_PTR>(section);
    s.text = read;
    EXPECT_EQ(1, Send(WM_CADCFG_READ_SECTION, 0, &s));
    EXPECT_STREQ("Key", read);
    WritePrivateProfileStringA(section, nullptr, nullptr, GetProgramIniPath().c_str());

    EXPECT_EQ(0, Send(WM_CADCFG_READ, 0, 0));
    p.element = 0;
    EXPECT_EQ(0, Send(WM_CADCFG_READ, 0, &p)) << "no out buffer";
}

int AnswerSettingsMessage(HWND, const char*, const char*, UINT) { return IDOK; }

TEST_F(HostServiceFamiliesTest, PatternSaveOnlyForALibraryWithTheSaveFlag)
{
    // A missing "sonota.ini" is said in a box: answered here, the default stands.
    const SettingsMessageHook previous = SetSettingsMessageHook(AnswerSettingsMessage);
    GetCommandRunState().saveFlag = 0;
    EXPECT_EQ(0, Send(WM_CADCFG_PTNSAVE, 7));
    GetCommandRunState().saveFlag = 1;
    EXPECT_EQ(1, Send(WM_CADCFG_PTNSAVE, 987654)) << "no entry: the default 1";
    SetSettingsMessageHook(previous);
}

TEST_F(HostServiceFamiliesTest, ApplicationObjectIsTheSameEveryTime)
{
    const LRESULT first = Send(WM_CADCFG_GET_SYSTEM);
    EXPECT_EQ(reinterpret_cast<LRESULT>(&GetCadSystem()), first);
    EXPECT_EQ(first, Send(WM_CADCFG_GET_SYSTEM));
}

}  // namespace

namespace {

// ---- bad input ----

TEST_F(HostServiceFamiliesTest, NullRecordsAnswerZeroOnADrawing)
{
    FakeDrawing drawing;
    site.AddView(drawing);
    const struct {
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {WM_CAD_GET_VIEW_SETTINGS, 0},  {WM_CAD_SET_VIEW_SETTINGS, 0},   {WM_CAD_DRAW_ELEMENT, 0},
        {WM_CAD_ZOOM_TO_AREA, 0},       {WM_CAD_GET_COLOR_TABLE, 100},   {WM_CAD_DRAWING_NAME, 0},
        {WM_CAD_DRAWING_NAME, 1},       {WM_CAD_READ_ELEMENT, 0},        {WM_CAD_FILE_SERVICE, 5},
        {WM_CADDB_GET_DB_INFO, 0},      {WM_CADDB_SET_DB_INFO, 0},       {WM_CADDB_GET_LAYER_INFO, 0},
        {WM_CADDB_SET_LAYER_INFO, 0},   {WM_CADDB_GET_LAYER_NAME, 1},    {WM_CADDB_SET_LAYER_NAME, 0},
        {WM_CADDB_SET_LAYER_TABLE, 0},  {WM_CADDB_VIEW_UNDO, 0},         {WM_CADDB_RESET_DB, 0},
        {WM_CADDB_WINDOW_DB, 0},         {WM_CADPAGE, CADPAGE_GET_STATE},
        {WM_CADPAGE, CADPAGE_GET_VISIBLE_AREA}, {WM_CADPAGE, CADPAGE_ZOOM_TO_AREA},
        {WM_CADPAGE, CADPAGE_COPY_PARAMS}, {WM_CADPAGE, CADPAGE_GET_PAGE_WORD1},
        {WM_CADCFG_READ, 0},            {WM_CADCFG_WRITE, 0},            {WM_CADCFG_FILE_PATH, 0},
        {WM_CADCFG_READ_SECTION, 0},    {WM_CADCFG_READ_CMDINI, 0},      {WM_CADCFG_WRITE_CMDINI, 0},
        {WM_CADCFG_GET_PROFILE_STRING, 0}, {WM_CADCFG_WRITE_PROFILE_STRING, 0},
        {WM_CAD_FONT_SERVICE, 21},
    };
    for (const auto& c : cases) EXPECT_EQ(0, Send(c.message, c.wParam, 0)) << c.message << "/" << c.wParam;
    EXPECT_TRUE(site.lines.empty()) << site.lines.front();
}

TEST_F(HostServiceFamiliesTest, ViewUndoMarksAndClearsTheViewsDrawing)
{
    FakeDrawing drawing;
    HWND view = site.AddView(drawing);
    CmdParamRecord p = {};
    p.mode = 1;
    EXPECT_EQ(0, Send(WM_CADDB_VIEW_UNDO, 0, &p)) << "no view in the record";
    p.view = view;
    EXPECT_EQ(1, Send(WM_CADDB_VIEW_UNDO, 0, &p));
    EXPECT_EQ(1, site.ViewBlock(view)->modified);
    p.mode = 0;
    EXPECT_EQ(1, Send(WM_CADDB_VIEW_UNDO, 0, &p));
    EXPECT_EQ(0, site.ViewBlock(view)->modified);
}

TEST_F(HostServiceFamiliesTest, ConfiguredFilePathIsBoundedToAPath)
{
    char path[300];
    std::memset(path, 'x', sizeof(path));
    CmdParamRecord p = {};
    p.text = path;
    p.key = reinterpret_cast<INT_PTR>("CMDINI");
    EXPECT_EQ(1, Send(WM_CADCFG_FILE_PATH, 0, &p));
    EXPECT_LT(std::strlen(path), static_cast<size_t>(MAX_PATH));
    EXPECT_EQ('x', path[MAX_PATH]) << "nothing written past 260 bytes";
}

}  // namespace
