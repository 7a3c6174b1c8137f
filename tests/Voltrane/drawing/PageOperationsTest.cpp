// The page operations on an engine database behind hidden views, and the page host message
// answered through the real host-service families.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "DravikDb.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "PageTestSupport.h"
#include "commands/CommandCatalog.h"
#include "commands/HostServiceDispatch.h"
#include "commands/HostServiceFamilies.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "drawing/PageOperations.h"
#include "drawing/PaperTable.h"

namespace {

class PageOperationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
        savedLanguage = GetCadSystem().config.LANGUAGE;
        savedViewScaleFix = GetCadSystem().config.VIEWSCALEFIX;
        savedScTestBtn = GetLocalSettingsLive().setup.bScTestBtn;
    }
    void TearDown() override
    {
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
        GetCadSystem().config.LANGUAGE = savedLanguage;
        GetCadSystem().config.VIEWSCALEFIX = savedViewScaleFix;
        GetLocalSettingsLive().setup.bScTestBtn = savedScTestBtn;
    }
    void* db() { return drawing.db(); }
    PDBINFO* block() { return site.ViewBlock(view); }
    std::unique_ptr<EnginePageRecord> Page(int page) { return ReadTestPage(db(), page); }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
    HWND view = nullptr;
    int savedLanguage = 0, savedViewScaleFix = 0, savedScTestBtn = 0;
};

TEST_F(PageOperationsTest, PageCountCountsExistingPagesOnly)
{
    EXPECT_EQ(CountDrawingPages(db()), 1);
    for (int page : {1, 5, 256}) ASSERT_EQ(AddPage(page, 0), 1) << page;
    EXPECT_EQ(AddPage(257, 0), 0);
    EXPECT_EQ(AddPage(5, 0), 0) << "an existing page";
    EXPECT_EQ(CountDrawingPages(db()), 4);
    EXPECT_EQ(CountDrawingPages(nullptr), 0);
}

TEST_F(PageOperationsTest, MaskBitsLieInTheirWords)
{
    const struct {
        int page;
        int word;
        uint32_t bit;
    } cases[] = {{0, 0, 1u}, {31, 0, 1u << 31}, {33, 1, 2u}, {256, 8, 1u}};
    for (const auto& c : cases) {
        PageStateInfo& state = drawing.record.pageState;
        std::memset(&state, 0, sizeof state);
        ASSERT_EQ(SetPageDisplayed(c.page, 1), 1);
        EXPECT_EQ(state.displayMask[c.word], c.bit) << c.page;
        EXPECT_EQ(IsPageDisplayed(c.page), 1);
        EXPECT_EQ(SetPageDetectable(c.page, 1), 1);
        EXPECT_EQ(state.detectMask[c.word], c.bit) << c.page;
        // Only 1 sets: any other value clears.
        SetPageDisplayed(c.page, 2);
        EXPECT_EQ(IsPageDisplayed(c.page), 0) << c.page;
        EXPECT_EQ(IsPageDetectable(c.page), 1);
    }
    for (int bad : {-1, 257, 511}) {
        EXPECT_EQ(SetPageDisplayed(bad, 1), 0) << bad;
        EXPECT_EQ(IsPageDisplayed(bad), 0) << bad;
    }
}

TEST_F(PageOperationsTest, CurrentPageStaysInsideTheDrawingsNumbers)
{
    const struct {
        int page;
        int result;
        int current;
    } cases[] = {{0, 1, 0}, {7, 1, 7}, {256, 1, 256}, {257, 0, 256}, {-1, 0, 256}, {-100, 0, 256}};
    for (const auto& c : cases) {
        EXPECT_EQ(SetCurrentPage(c.page), c.result) << c.page;
        EXPECT_EQ(GetCurrentPage(), c.current) << c.page;
    }
}

TEST_F(PageOperationsTest, OperationsWithoutADrawingAnswerZero)
{
    site.active = nullptr;
    PageStateInfo state;
    DbInfoRecord info;
    int32_t words[6];
    double scale, angle;
    EXPECT_EQ(GetCurrentPage(), 0);
    EXPECT_EQ(SetCurrentPage(1), 0);
    EXPECT_EQ(GetPageState(&state), 0);
    EXPECT_EQ(GetPageDbInfo(0, &info), 0);
    EXPECT_EQ(GetPagePlacement(0, words, &scale, &angle), 0);
    EXPECT_EQ(AddPage(1, 0), 0);
    EXPECT_EQ(DeletePage(1, 0), 0);
    EXPECT_EQ(ShowPaperSpace(), 0);
    EXPECT_EQ(FindViewportElements(nullptr), 0);
}

TEST_F(PageOperationsTest, PlacementOfPageZeroWithoutOneIsTheIdentity)
{
    int32_t words[6] = {1, 2, 3, 4, 5, 6};
    double scale = 9, angle = 9;
    drawing.record.transformActive = 0;
    drawing.record.placement.scaleX = 5;
    ASSERT_EQ(GetPagePlacement(0, words, &scale, &angle), 1);
    for (int32_t w : words) EXPECT_EQ(w, 0);
    EXPECT_EQ(scale, 1.0);
    EXPECT_EQ(angle, 0.0);

    // A placement set on page 0 is in force and read back.
    const double origin[3] = {12.5, -3.25, 0};
    double newScale = 2.5, newAngle = 0.5;
    ASSERT_EQ(SetPagePlacement(0, reinterpret_cast<const int32_t*>(origin), &newScale, &newAngle), 1);
    EXPECT_EQ(drawing.record.transformActive, 1);
    double back[3];
    ASSERT_EQ(GetPagePlacement(0, reinterpret_cast<int32_t*>(back), &scale, &angle), 1);
    EXPECT_EQ(back[0], 12.5);
    EXPECT_EQ(back[1], -3.25);
    EXPECT_EQ(scale, 2.5);
    EXPECT_EQ(angle, 0.5);
}

TEST_F(PageOperationsTest, PlacementOfAPageLivesInItsRecord)
{
    ASSERT_EQ(AddPage(4, 0), 1);
    const double origin[3] = {100, 200, 0};
    double scale = 0.5, angle = 1.0;
    ASSERT_EQ(SetPagePlacement(4, reinterpret_cast<const int32_t*>(origin), &scale, &angle), 1);
    auto record = Page(4);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->placement.originX, 100);
    EXPECT_EQ(record->placement.originY, 200);
    EXPECT_EQ(record->placement.scaleX, 0.5);
    EXPECT_EQ(record->placement.angle, 1.0);
    EXPECT_EQ(record->placement.cosAngle, 1.0) << "cosine and sine are not touched";
    EXPECT_EQ(SetPagePlacement(9, reinterpret_cast<const int32_t*>(origin), &scale, &angle), 0) << "no page 9";
}

TEST_F(PageOperationsTest, PageAddedUnderAParentTakesItsStylesButOnlyLayerZero)
{
    ASSERT_EQ(AddPage(3, 0), 1);
    auto* parent = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(3, db()));
    ASSERT_NE(parent, nullptr);
    parent->record.paperWidthMm = 594;
    parent->record.paperHeightMm = 420;
    parent->record.scale = 50;
    parent->lineTypes[2].dashCount = 3;
    parent->colours[7].red = 77;
    parent->lineWidthsMm[4] = 1.75;
    parent->layers.displayMask[1] = 0xFFFF;
    ASSERT_EQ(ZUriSetLayerName(3, 9, "電源", db()), 1);

    ASSERT_EQ(AddPage(8, 3), 1);
    auto record = Page(8);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->parentPage, 3);
    EXPECT_EQ(record->pageNumber, 8);
    const DbInfoBlock& info = record->info;
    EXPECT_EQ(info.record.paperWidthMm, 594);
    EXPECT_EQ(info.record.paperHeightMm, 420);
    EXPECT_EQ(info.record.scale, 50);
    EXPECT_EQ(info.lineTypes[2].dashCount, 3);
    EXPECT_EQ(info.colours[7].red, 77);
    EXPECT_EQ(info.lineWidthsMm[4], 1.75);
    EXPECT_EQ(info.layers.displayMask[0], 1);
    EXPECT_EQ(info.layers.detectMask[0], 1);
    EXPECT_EQ(info.layers.displayMask[1], 0);
    char name[260] = "x";
    ZUriGetLayerName(8, 9, 1, name, db());
    EXPECT_STREQ(name, "");
    EXPECT_EQ(record->placement.scaleX, 1.0);
    EXPECT_EQ(IsPageDisplayed(8), 1);
    EXPECT_EQ(IsPageDetectable(8), 1);

    // A page under itself or under a missing parent is not made.
    EXPECT_EQ(AddPage(9, 9), 0);
    EXPECT_EQ(AddPage(9, 100), 0);
    EXPECT_EQ(ZUriChkPage(9, db()), 0);
}

TEST_F(PageOperationsTest, NewPageOfPageZeroHasTheFirstPaperRow)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    DbInfoRecord page0, page1;
    ASSERT_EQ(GetPageDbInfo(0, &page0), 1);
    ASSERT_EQ(GetPageDbInfo(1, &page1), 1);
    // The drawing's own information is copied over the paper row.
    EXPECT_EQ(page1.paperWidthMm, page0.paperWidthMm);
    EXPECT_EQ(page1.scale, page0.scale);
}

TEST_F(PageOperationsTest, PageInformationAndNameRoundTrip)
{
    ASSERT_EQ(AddPage(2, 0), 1);
    DbInfoRecord info;
    ASSERT_EQ(GetPageDbInfo(2, &info), 1);
    std::strcpy(info.title, "配線図");
    std::strcpy(info.fileName, "C:\\ref\\other.tcf");
    std::strcpy(info.fileType, "TCF");
    ASSERT_EQ(SetPageDbInfo(2, &info), 1);
    auto record = Page(2);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->externalReference, 1);
    EXPECT_STREQ(record->fileType, "TCF");
    char name[kPageNameSize];
    ASSERT_EQ(GetPageName(2, name), 1);
    EXPECT_STREQ(name, "配線図");

    info.fileName[0] = '\0';
    ASSERT_EQ(SetPageDbInfo(2, &info), 1);
    EXPECT_EQ(Page(2)->externalReference, 0);
    EXPECT_EQ(GetPageDbInfo(3, &info), 0);
    EXPECT_EQ(GetPageDbInfo(300, &info), 0);
}

TEST_F(PageOperationsTest, DeletingAPageDeletesItsElementsOnly)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 0), 1);
    AppendTestElement(db(), kElementLine, 0, 1);
    AppendTestElement(db(), kElementPoint, 3, 1);
    void* keep = AppendTestElement(db(), kElementLine, 0, 2);
    void* keep0 = AppendTestElement(db(), kElementLine, 0, 0);
    ASSERT_EQ(DeletePage(1, 0), 1);
    EXPECT_EQ(ZUriChkPage(1, db()), 0);
    int count = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db()); e; e = ZUriReadElement(e, 1, nullptr, db())) {
        EXPECT_TRUE(e == keep || e == keep0);
        ++count;
    }
    EXPECT_EQ(count, 2);
    EXPECT_EQ(block()->modified, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(DeletePage(1, 0), 0) << "already gone";
}

TEST_F(PageOperationsTest, ChangedReferencePageAsksAndCancelKeepsIt)
{
    ASSERT_EQ(AddPage(6, 0), 1);
    auto record = Page(6);
    std::strcpy(record->info.record.fileName, "C:\\ref\\plan.tcf");
    record->changed = 1;
    ASSERT_EQ(ZUriChgPage(6, record.get(), db()), 1);
    AppendTestElement(db(), kElementLine, 0, 6);

    // Asked 0 or 1: no question.
    host.answer = IDCANCEL;
    const struct {
        int ask;
        int result;
        size_t questions;
    } cases[] = {{2, 0, 1}, {5, 0, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(DeletePage(6, c.ask), c.result) << c.ask;
        EXPECT_EQ(host.messages.size(), c.questions);
        EXPECT_EQ(ZUriChkPage(6, db()), 1) << "Cancel keeps the page";
    }
    EXPECT_EQ(host.types.back() & 0xF, static_cast<UINT>(MB_OKCANCEL));
    EXPECT_NE(host.messages.back().find("[C:\\ref\\plan.tcf]は変更されています。"), std::string::npos);
    EXPECT_EQ(host.captions.back(), "保存");
    EXPECT_NE(ZUriReadElement(nullptr, 0, nullptr, db()), nullptr) << "its elements stay";

    host.answer = IDOK;
    EXPECT_EQ(DeletePage(6, 2), 1);
    EXPECT_EQ(ZUriChkPage(6, db()), 0);
    EXPECT_EQ(ZUriReadElement(nullptr, 0, nullptr, db()), nullptr);
}

TEST_F(PageOperationsTest, GroupsBelongToThePageOfTheirFirstPlainMember)
{
    void* elements[2] = {AppendTestElement(db(), kElementLine, 0, 4), AppendTestElement(db(), kElementLine, 0, 4)};
    void* group = ZUriMakeGroupExtrIdx(2, elements, db());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(ElementBelongsToPage(db(), 4, group), 1);
    EXPECT_EQ(ElementBelongsToPage(db(), 0, group), 0);
    void* mark = ZUriCreateMark(db());
    EXPECT_EQ(MarkPageElements(mark, 4), 1);
    ZUriDestroyMark(mark);
}

TEST_F(PageOperationsTest, PaperAndModelSpaceSetTheViewMode)
{
    drawing.record.transformActive = 1;
    block()->viewportEditA = block()->viewportEditB = 3;
    ASSERT_EQ(ShowPaperSpace(), 1);
    EXPECT_EQ(block()->viewMode, 1);
    EXPECT_EQ(drawing.record.transformActive, 0);
    EXPECT_EQ(block()->viewportEditA, 0);
    EXPECT_EQ(block()->viewportEditB, 0);
    ASSERT_EQ(ShowModelSpace(), 1);
    EXPECT_EQ(block()->viewMode, 0);
}

void* AppendFrame(void* db, double x1, double y1, double x2, double y2, double scale, int page = 0)
{
    ViewportRecord frame;
    std::memset(&frame, 0, sizeof frame);
    auto* header = reinterpret_cast<ElementRecord*>(&frame);
    header->type = kElementViewport;
    header->page = page;
    header->colour = 1;
    frame.x1 = x1, frame.y1 = y1, frame.x2 = x2, frame.y2 = y2;
    frame.scale = scale;
    frame.rotation = 0.25;
    frame.modelX = 10, frame.modelY = 20;
    return ZUriAppendElement(&frame, db);
}

TEST_F(PageOperationsTest, ViewportViewFitsTheFrameIntoTheClient)
{
    GetLocalSettingsLive().setup.bScTestBtn = 0;
    GetCadSystem().config.VIEWSCALEFIX = 0;
    void* frame = AppendFrame(db(), 0, 0, 100, 50, 2.0);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(EnterViewportView(frame), 1);
    EXPECT_DOUBLE_EQ(block()->mode2.scale, 8.0);
    EXPECT_EQ(block()->viewMode, 2);
    EXPECT_EQ(drawing.record.transformActive, 1);
    const PlacementTransform& t = drawing.record.placement;
    EXPECT_DOUBLE_EQ(t.scaleX, 2.0);
    EXPECT_DOUBLE_EQ(t.angle, 0.25);
    EXPECT_DOUBLE_EQ(t.cosAngle, std::cos(0.25));
    EXPECT_DOUBLE_EQ(t.originX, -20);
    EXPECT_DOUBLE_EQ(t.originY, -40);

    // Scale fixed by the setting; a frame of no height counts as 1 x 1.
    GetCadSystem().config.VIEWSCALEFIX = 1;
    void* flat = AppendFrame(db(), 0, 5, 100, 5, 2.0);
    ASSERT_EQ(EnterViewportView(flat), 1);
    EXPECT_DOUBLE_EQ(drawing.record.placement.scaleX, 1.0);
    EXPECT_DOUBLE_EQ(block()->mode2.scale, 400.0);

    // A line is no page frame.
    EXPECT_EQ(EnterViewportView(AppendTestElement(db(), kElementLine, 0, 0)), 0);
}

TEST_F(PageOperationsTest, ViewportViewReachesTheOtherViewsInViewportMode)
{
    GetLocalSettingsLive().setup.bScTestBtn = 0;
    HWND second = site.AddView(drawing, 400, 200);
    HWND third = site.AddView(drawing, 400, 200);
    block()->severalViews = 1;
    site.ViewBlock(second)->viewMode = 2;
    site.ViewBlock(second)->viewportEditA = 4;
    site.ViewBlock(third)->viewMode = 0;
    ASSERT_EQ(EnterViewportView(AppendFrame(db(), 0, 0, 100, 50, 1.0)), 1);
    EXPECT_DOUBLE_EQ(site.ViewBlock(second)->mode2.scale, 8.0);
    EXPECT_EQ(site.ViewBlock(second)->viewportEditA, 0);
    EXPECT_DOUBLE_EQ(site.ViewBlock(third)->mode2.scale, 1.0) << "not in viewport mode";
    EXPECT_EQ(site.repaints, 2);
}

TEST_F(PageOperationsTest, FramesOnPageZeroAreFound)
{
    void* first = reinterpret_cast<void*>(1);
    EXPECT_EQ(FindViewportElements(&first), 0);
    EXPECT_EQ(first, nullptr);
    AppendFrame(db(), 0, 0, 1, 1, 1, 2);
    void* a = AppendFrame(db(), 0, 0, 1, 1, 1);
    AppendFrame(db(), 0, 0, 1, 1, 1);
    EXPECT_EQ(FindViewportElements(&first), 2);
    EXPECT_EQ(first, a);
}

TEST_F(PageOperationsTest, LayerNamesTakeLayersZeroTo1023Only)
{
    const struct {
        int page;
        int layer;
        int result;
    } cases[] = {{0, 0, 1}, {0, 1023, 1}, {0, 1024, 0}, {0, -1, 0}, {257, 3, 0}, {-1, 3, 0}, {5, 3, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(SetActiveLayerName(c.page, c.layer, "幹線", "グループ"), c.result) << c.page << " " << c.layer;
        char name[260] = "";
        char byte = 9;
        EXPECT_EQ(GetActiveLayerName(c.page, c.layer, name, &byte), c.result) << c.page << " " << c.layer;
        if (c.result) {
            EXPECT_STREQ(name, "幹線");
            EXPECT_EQ(byte, 0);
        }
    }
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db()));
    EXPECT_STREQ(info->layers.groupNames[1023], "グループ");
}

TEST_F(PageOperationsTest, GroupNameIsCutOnACharacterBoundary)
{
    // Ten bytes fit: five double-byte characters; a sixth is dropped whole.
    ASSERT_EQ(SetActiveLayerName(0, 2, "a", "電源電源電源"), 1);
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db()));
    EXPECT_STREQ(info->layers.groupNames[2], "電源電源電");
    ASSERT_EQ(SetActiveLayerName(0, 2, "a", "x電源電源電源"), 1);
    EXPECT_STREQ(info->layers.groupNames[2], "x電源電源");
}

// An element on layer 1024 names no layer: no bit is set, none past the mask's 64 words. The
// engine takes no such element, so a stored one is changed in place, as a damaged file could
// leave it.
TEST_F(PageOperationsTest, LayerNumber1024SetsNoBit)
{
    void* element = AppendTestElement(db(), kElementLine, 5, 0);
    ASSERT_NE(element, nullptr);
    static_cast<EngineNode*>(element)->record.layer = 1024;
    uint16_t mask[kLayerMaskWords + 1] = {};
    ASSERT_EQ(CollectPageLayerUsage(nullptr, mask, 0), 1);
    for (int word = 0; word <= kLayerMaskWords; ++word) EXPECT_EQ(mask[word], 0u) << "word " << word;
    uint16_t all[kMaxPage + 2][kLayerMaskWords] = {};
    ASSERT_EQ(CollectAllPagesLayerUsage(nullptr, all), 1);
    EXPECT_EQ(all[0][kLayerMaskWords - 1], 0u);
    EXPECT_EQ(all[1][0], 0u) << "nothing spilled into the next page's mask";
}

TEST_F(PageOperationsTest, LayerUsageOfAPage)
{
    ASSERT_EQ(AddPage(2, 0), 1);
    AppendTestElement(db(), kElementLine, 3, 0);
    AppendTestElement(db(), kElementLine, 7, 2);
    AppendTestElement(db(), kElementRaster, 9, 2);
    AppendTestElement(db(), kElementLine, 1023, 0);
    uint16_t mask[kLayerMaskWords] = {};
    ASSERT_EQ(CollectPageLayerUsage(nullptr, mask, 0), 1);
    EXPECT_EQ(mask[0], 1u << 3);
    EXPECT_EQ(mask[63], 0x8000u);
    uint16_t page2[kLayerMaskWords] = {};
    drawing.record.pageState.currentPage = 2;
    ASSERT_EQ(CollectPageLayerUsage(nullptr, page2, -1), 1);
    EXPECT_EQ(page2[0], (1u << 7) | (1u << 9));

    // Two pages asked twice each through the same view: every walk fills the caller's mask.
    const struct {
        int page;
        uint16_t word0;
    } asked[] = {{0, 1u << 3}, {2, (1u << 7) | (1u << 9)}, {2, (1u << 7) | (1u << 9)}, {0, 1u << 3}};
    for (const auto& a : asked) {
        uint16_t fresh[kLayerMaskWords] = {};
        ASSERT_EQ(CollectPageLayerUsage(view, fresh, a.page), 1);
        EXPECT_EQ(fresh[0], a.word0) << "page " << a.page;
    }
    uint16_t all[kMaxPage + 1][kLayerMaskWords] = {};
    ASSERT_EQ(CollectAllPagesLayerUsage(view, all), 1);
    uint16_t allAgain[kMaxPage + 1][kLayerMaskWords] = {};
    ASSERT_EQ(CollectAllPagesLayerUsage(view, allAgain), 1);
    EXPECT_EQ(std::memcmp(all, allAgain, sizeof all), 0);

    std::memset(all, 0, sizeof all);
    ASSERT_EQ(CollectAllPagesLayerUsage(nullptr, all), 1);
    EXPECT_EQ(all[0][0], 1u << 3);
    EXPECT_EQ(all[2][0], (1u << 7) | (1u << 9));
}

TEST_F(PageOperationsTest, NoLayerNamesUntilOneIsSet)
{
    EXPECT_EQ(HasNoLayerNames(db()), 1);
    ASSERT_EQ(AddPage(12, 0), 1);
    ASSERT_EQ(ZUriSetLayerName(12, 40, "照明", db()), 1);
    EXPECT_EQ(HasNoLayerNames(db()), 0);
}

// ---- the page host message through the host-service families ----

class PageMessageTest : public PageOperationsTest {
protected:
    void SetUp() override
    {
        PageOperationsTest::SetUp();
        InstallHostServiceFamilies(services);
    }
    LRESULT Send(int subCode, CmdParamRecord* p)
    {
        return SendLParam(subCode, reinterpret_cast<LPARAM>(p));
    }
    LRESULT SendLParam(int subCode, LPARAM lParam)
    {
        LRESULT result = -99;
        if (!services.ProcessWindowMessage(nullptr, WM_CADPAGE, subCode, lParam, result, 0)) return -98;
        return result;
    }
    CmdParamRecord Record(int page)
    {
        CmdParamRecord p;
        std::memset(&p, 0, sizeof p);
        p.second = page;
        return p;
    }

    CLumbraCmd catalog;
    CSystemCommandDispatcher dispatcher{&catalog};
    CCadSysCmd services{&dispatcher};
};

TEST_F(PageMessageTest, EverySubCodeWithGoodAndBadPages)
{
    // Create: good under page 0, bad numbers and parents refused.
    CmdParamRecord create = Record(3);
    EXPECT_EQ(Send(CADPAGE_CREATE, &create), 1);
    for (int bad : {0, -1, 257, 3}) {
        CmdParamRecord p = Record(bad);
        EXPECT_EQ(Send(CADPAGE_CREATE, &p), 0) << bad;
    }
    CmdParamRecord badParent = Record(4);
    badParent.element = 300;
    EXPECT_EQ(Send(CADPAGE_CREATE, &badParent), 0);

    CmdParamRecord current = Record(3);
    EXPECT_EQ(Send(CADPAGE_SET_CURRENT, &current), 1);
    EXPECT_EQ(SendLParam(CADPAGE_GET_CURRENT, 0), 3);
    for (int bad : {-1, 257}) {
        CmdParamRecord p = Record(bad);
        EXPECT_EQ(Send(CADPAGE_SET_CURRENT, &p), 0) << bad;
    }
    EXPECT_EQ(SendLParam(CADPAGE_GET_CURRENT, 0), 3);

    PageStateInfo state{};
    CmdParamRecord stateRecord = Record(0);
    stateRecord.text = reinterpret_cast<char*>(&state);
    EXPECT_EQ(Send(CADPAGE_GET_STATE, &stateRecord), 1);
    EXPECT_EQ(state.currentPage, 3);
    state.currentPage = 0;
    state.displayMask[0] = 0xF;
    EXPECT_EQ(Send(CADPAGE_SET_STATE, &stateRecord), 1);
    EXPECT_EQ(drawing.record.pageState.displayMask[0], 0xFu);
    state.currentPage = -5;
    EXPECT_EQ(Send(CADPAGE_SET_STATE, &stateRecord), 0) << "a current page outside 0..256";
    EXPECT_EQ(drawing.record.pageState.currentPage, 0);

    EXPECT_EQ(SendLParam(CADPAGE_CHECK, 3), 1);
    EXPECT_EQ(SendLParam(CADPAGE_CHECK, 4), 0);

    DbInfoRecord info;
    CmdParamRecord infoRecord = Record(3);
    infoRecord.text = reinterpret_cast<char*>(&info);
    EXPECT_EQ(Send(CADPAGE_GET_INFO, &infoRecord), 1);
    std::strcpy(info.title, "盤図");
    EXPECT_EQ(Send(CADPAGE_SET_INFO, &infoRecord), 1);
    char name[kPageNameSize];
    GetPageName(3, name);
    EXPECT_STREQ(name, "盤図");
    for (int bad : {-1, 257, 9}) {
        infoRecord.second = bad;
        EXPECT_EQ(Send(CADPAGE_GET_INFO, &infoRecord), 0) << bad;
        EXPECT_EQ(Send(CADPAGE_SET_INFO, &infoRecord), 0) << bad;
    }

    EXPECT_EQ(SendLParam(CADPAGE_PAPER_SPACE, 0), 1);
    EXPECT_EQ(SendLParam(CADPAGE_GET_SPACE, 0), 1);
    EXPECT_EQ(SendLParam(CADPAGE_MODEL_SPACE, 0), 1);
    EXPECT_EQ(SendLParam(CADPAGE_GET_SPACE, 0), 0);

    AppendTestElement(db(), kElementLine, 0, 3);
    AppendTestElement(db(), kElementLine, 0, 3);
    void* mark = ZUriCreateMark(db());
    CmdParamRecord count = Record(3);
    count.value1 = reinterpret_cast<INT_PTR>(mark);
    EXPECT_EQ(Send(CADPAGE_COUNT_ELEMENTS, &count), 2);
    count.second = -1;
    EXPECT_EQ(Send(CADPAGE_COUNT_ELEMENTS, &count), 0);
    ZUriDestroyMark(mark);

    CmdParamRecord level = Record(3);
    EXPECT_EQ(Send(CADPAGE_GET_LEVEL, &level), 1);

    CmdParamRecord kind = Record(3);
    EXPECT_EQ(Send(CADPAGE_GET_KIND, &kind), 0);
    kind.second = 600;
    EXPECT_EQ(Send(CADPAGE_GET_KIND, &kind), 0);

    double scale = 2.0, angle = 0.125;
    CmdParamRecord placement = Record(3);
    placement.double1 = &scale;
    placement.double2 = &angle;
    placement.point1.x = 5;
    EXPECT_EQ(Send(CADPAGE_SET_SCALE, &placement), 1);
    scale = angle = 0;
    placement.point1.x = 0;
    EXPECT_EQ(Send(CADPAGE_GET_SCALE, &placement), 1);
    EXPECT_EQ(scale, 2.0);
    EXPECT_EQ(angle, 0.125);
    EXPECT_EQ(placement.point1.x, 5);
    placement.second = 257;
    EXPECT_EQ(Send(CADPAGE_GET_SCALE, &placement), 0);
    EXPECT_EQ(Send(CADPAGE_SET_SCALE, &placement), 0);

    void* frame = AppendFrame(db(), 0, 0, 100, 50, 1.0);
    CmdParamRecord find = Record(0);
    EXPECT_EQ(Send(CADPAGE_FIND_FRAME, &find), 1);
    EXPECT_EQ(reinterpret_cast<void*>(find.element), frame);
    CmdParamRecord show = Record(0);
    show.element = find.element;
    EXPECT_EQ(Send(CADPAGE_SHOW_ELEMENT, &show), 1);
    EXPECT_EQ(SendLParam(CADPAGE_GET_SPACE, 0), 2);

    // The page's word 5: its parent.
    EXPECT_EQ(SendLParam(CADPAGE_GET_PAGE_WORD5, 3), 0);
}

TEST_F(PageMessageTest, WithoutADrawingEverySubCodeAnswersZero)
{
    site.active = nullptr;
    CmdParamRecord p = Record(1);
    for (int code = CADPAGE_GET_CURRENT; code <= CADPAGE_GET_PAGE_WORD5; ++code) {
        if (code == CADPAGE_SET_TRANS_FLAG || code == CADPAGE_COPY_PARAMS) continue;  // engine-wide
        EXPECT_EQ(Send(code, &p), 0) << code;
    }
}

}  // namespace

namespace {

TEST_F(PageMessageTest, CommandsSwitchSpacesOfTheActiveView)
{
    drawing.record.transformActive = 1;
    EXPECT_EQ(dispatcher.ExecuteSystemCommand(nullptr, 4039, 0), 1);
    EXPECT_EQ(block()->viewMode, 1);
    EXPECT_EQ(drawing.record.transformActive, 0);
    EXPECT_EQ(dispatcher.ExecuteSystemCommand(nullptr, 4040, 0), 1);
    EXPECT_EQ(block()->viewMode, 0);
    site.active = nullptr;
    EXPECT_EQ(dispatcher.ExecuteSystemCommand(nullptr, 4039, 0), 1) << "handled without a drawing";
}

}  // namespace
