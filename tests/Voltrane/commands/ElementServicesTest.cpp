// Element services on real engine databases behind a fake site.
#include "ElementServiceFixture.h"

#include <climits>
#include <cmath>
#include <cstring>

#include "DrawingWindowRecords.h"
#include "HostMessages.h"
#include "RecordingCommandHost.h"
#include "mainframe/MainFrame.h"

namespace {

struct PageCase {
    const char* name;
    std::vector<int> pages;  // checked one after the other within one command
    bool allowPage511;
    int language;
    std::vector<int> answers;
    std::vector<std::string> messages;
};

class PageCheckTest : public ElementServiceTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageCheckTest, AnswersAndTellsTheUser)
{
    const PageCase& c = GetParam();
    if (c.allowPage511) AllowPage(511);
    site.settings.language = c.language;
    std::vector<int> answers;
    for (int page : c.pages) answers.push_back(CheckPageEditable(page));
    EXPECT_EQ(answers, c.answers);
    std::vector<std::string> texts;
    for (auto& m : site.messages) texts.push_back(m.text + "|" + m.caption);
    EXPECT_EQ(texts, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageCheckTest,
    ::testing::Values(
        PageCase{"MinusOne", {-1, -1}, false, 0, {0, 0},
                 {"現在のページ[-1]は不適切です。|エラー", "現在のページ[-1]は不適切です。|エラー"}},
        PageCase{"Page511Editable", {511}, true, 0, {1}, {}},
        PageCase{"Page512", {512}, false, 0, {0}, {"現在のページ[512]は不適切です。|エラー"}},
        PageCase{"HugeNegative", {INT_MIN}, false, 0, {0}, {"現在のページ[-2147483648]は不適切です。|エラー"}},
        PageCase{"ReferencePageTwiceOneMessage", {3, 3}, false, 0, {0, 0},
                 {"現在のページは参照のため要素の編集はできません。|要素チェック"}},
        PageCase{"ReferencePageInEnglish", {3}, false, 1, {0}, {"Read Only.|Check"}},
        PageCase{"PageZero", {0}, false, 0, {1}, {}}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

struct FlattenCase {
    const char* name;
    ElementRecord record;
    std::vector<int> zeroes;
    int unit;  // -1: none
};

ElementRecord WithGarbage(ElementRecord r, std::initializer_list<int> offsets)
{
    for (int at : offsets) {
        const double v = 7.5;
        std::memcpy(reinterpret_cast<uint8_t*>(&r) + at, &v, 8);
    }
    return r;
}

ElementRecord OfType(uint16_t type)
{
    ElementRecord r{};
    r.type = type;
    return r;
}

class FlattenTest : public ElementServiceTest, public ::testing::WithParamInterface<FlattenCase> {};

double At(const ElementRecord& r, int offset)
{
    double v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(&r) + offset, 8);
    return v;
}

TEST_P(FlattenTest, AppendPutsTheElementIntoThePlaneUnlessFieldsAreKept)
{
    const FlattenCase& c = GetParam();
    std::vector<int> all = c.zeroes;
    if (c.unit >= 0) all.push_back(c.unit);
    ElementRecord record = c.record;
    for (int at : all) record = WithGarbage(record, {at});
    CmdParamRecord p = ViewParam();
    p.value1 = reinterpret_cast<INT_PTR>(&record);
    void* flat = reinterpret_cast<void*>(Send(WM_CADDB_APPEND_ELEMENT, 0, p));
    ASSERT_NE(flat, nullptr);
    ElementRecord stored;
    ZUriReadElement(flat, 0, &stored, drawing.db());
    for (int at : c.zeroes) EXPECT_EQ(At(stored, at), 0.0) << "offset " << at;
    if (c.unit >= 0) EXPECT_EQ(At(stored, c.unit), 1.0);
    EXPECT_EQ(At(record, all.front()), 7.5) << "the caller's record stays as given";

    EXPECT_EQ(Send(WM_CAD_SET_APPEND_KEEP_FIELDS, 1, 0), 1);
    void* kept = reinterpret_cast<void*>(Send(WM_CADDB_APPEND_ELEMENT, 0, p));
    ASSERT_NE(kept, nullptr);
    ZUriReadElement(kept, 0, &stored, drawing.db());
    for (int at : all) EXPECT_EQ(At(stored, at), 7.5) << "offset " << at;
    EXPECT_EQ(Send(WM_CAD_SET_APPEND_KEEP_FIELDS, 2, 0), 0) << "other word parameters change nothing";
    EXPECT_EQ(GetElementServiceState().keepFields, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FlattenTest,
    ::testing::Values(FlattenCase{"Line", MakeLine(0, 0, 1, 1), {49, 73}, -1},
                      FlattenCase{"Point", MakePoint(1, 1), {49}, -1},
                      FlattenCase{"Circle", MakeCircle(0, 0, 2), {49, 65, 73}, 81},
                      FlattenCase{"Arc", [] { ElementRecord r = MakeCircle(0, 0, 2); r.type = kElementArc; return r; }(),
                                  {49, 83, 91}, 99},
                      FlattenCase{"Ellipse", [] { ElementRecord r = MakeCircle(0, 0, 0); r.type = kElementEllipse;
                                                  const double ax = 3, ratio = 0.5;
                                                  std::memcpy(reinterpret_cast<uint8_t*>(&r) + 57, &ax, 8);
                                                  std::memcpy(reinterpret_cast<uint8_t*>(&r) + 81, &ratio, 8);
                                                  return r; }(),
                                  {49, 73, 89, 97}, 105}),
    [](const ::testing::TestParamInfo<FlattenCase>& info) { return std::string(info.param.name); });

TEST_F(ElementServiceTest, AddElementWithoutActiveViewAnswersZero)
{
    site.active = nullptr;
    ElementRecord line = MakeLine(0, 0, 1, 1);
    EXPECT_EQ(Send(WM_CADDB_ADD_ELEMENT, 0, reinterpret_cast<LPARAM>(&line)), 0);
    EXPECT_EQ(Send(WM_CADDB_ADD_ELEMENT, 0, 0), 0) << "a null record";
    site.active = view;
    EXPECT_NE(Send(WM_CADDB_ADD_ELEMENT, 0, reinterpret_cast<LPARAM>(&line)), 0);
    EXPECT_EQ(ElementCount(), 1);
}

TEST_F(ElementServiceTest, DeleteOnReferencePageLeavesTheElementOnScreenAndInTheDrawing)
{
    void* element = Append(MakeLine(0, 0, 1, 1, 0, 4));
    ASSERT_NE(element, nullptr);
    CmdParamRecord p = ViewParam();
    p.element = reinterpret_cast<INT_PTR>(element);
    EXPECT_EQ(Send(WM_CADDB_DELETE_ELEMENT, 0, p), 0);
    EXPECT_TRUE(site.redraws.empty()) << "checked before it is erased";
    EXPECT_EQ(ElementCount(), 1);
    AllowPage(4);
    EXPECT_EQ(Send(WM_CADDB_DELETE_ELEMENT, 0, p), 1);
    ASSERT_EQ(site.redraws.size(), 1u);
    EXPECT_EQ(site.redraws[0].mode, 0);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(Send(WM_CADDB_DELETE_ELEMENT, 0, p), 0) << "a deleted element";
}

TEST_F(ElementServiceTest, MarkWithRefusedThirdElementDeletesTwoAndAnswersZero)
{
    void* mark = ZUriCreateMark(drawing.db());
    for (int page : {0, 0, 6, 0}) ZUriSetMark(Append(MakeLine(page, 0, 1, 1, 0, page)), mark);
    EXPECT_EQ(Send(WM_CADDB_DELETE_MARKED, 0, reinterpret_cast<LPARAM>(mark)), 0);
    EXPECT_EQ(ElementCount(), 2);
    EXPECT_EQ(site.activeModified, 1);
    ZUriDestroyMark(mark);
    EXPECT_EQ(Send(WM_CADDB_DELETE_MARKED, 0, 0), 0);
}

TEST_F(ElementServiceTest, TagNumberZeroAnswersZeroAndOthersReachTheEngine)
{
    void* element = Append(MakePoint(1, 1));
    CmdParamRecord p{};
    p.value1 = reinterpret_cast<INT_PTR>(element);
    p.value2 = 42;
    EXPECT_EQ(Send(WM_CADDB_SET_TAG, 0, p), 0);
    EXPECT_EQ(Send(WM_CADDB_GET_TAG, 0, reinterpret_cast<LPARAM>(element)), 0);
    EXPECT_EQ(site.activeModified, 0);
    EXPECT_EQ(Send(WM_CADDB_SET_TAG, 7, p), 1);
    EXPECT_EQ(Send(WM_CADDB_GET_TAG, 7, reinterpret_cast<LPARAM>(element)), 42);
    EXPECT_EQ(site.activeModified, 1);
}

TEST_F(ElementServiceTest, ChangeStoresTheNewRecordOnlyOnAnEditablePage)
{
    void* element = Append(MakeLine(0, 0, 1, 1));
    ElementRecord moved = MakeLine(5, 5, 6, 6, 0, 2);
    CmdParamRecord p = ViewParam();
    p.element = reinterpret_cast<INT_PTR>(element);
    p.value1 = reinterpret_cast<INT_PTR>(&moved);
    EXPECT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 0) << "page 2 is a reference page";
    moved.page = 0;
    EXPECT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 1);
    LineRecord stored = Typed<LineRecord>(Node(element)->record);
    EXPECT_EQ(stored.x1, 5.0);
    p.element = 0x1234;
    EXPECT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 0) << "an unknown element";
}

// A composite head of the type with two members, the second a nested composite of one member.
void* MakeNested(TestDb& db, uint16_t type, void** nestedOut = nullptr)
{
    ElementRecord head = MakeComposite(type);
    void* h = ZUriAppendElement(&head, db.db());
    ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriAppendMemberElement(&line, h, db.db());
    ElementRecord inner = MakeComposite(kElementGroup);
    void* n = ZUriAppendMemberElement(&inner, h, db.db());
    ElementRecord circle = MakeCircle(0, 0, 1);
    ZUriAppendMemberElement(&circle, n, db.db());
    if (nestedOut) *nestedOut = n;
    return h;
}

TEST_F(ElementServiceTest, HighlightOfType70TakesMembersButClearTakesOnlyItsOwnBit)
{
    void* head = MakeNested(drawing, kElementCompositeOther);
    ASSERT_NE(head, nullptr);
    GetCommandRunState().highlightColor = 9;
    EXPECT_EQ(Send(WM_CAD_HIGHLIGHT_ELEMENT, 0, reinterpret_cast<LPARAM>(head)), 1);
    int highlighted = 0;
    for (EngineNode* m = Node(head)->nextMember; m != nullptr; m = m->nextMember) {
        highlighted += m->flags & kNodeHighlighted;
        EXPECT_EQ(m->highlightColour, 9);
    }
    EXPECT_EQ(highlighted, 3);
    EXPECT_EQ(drawing.record.modified, 1);
    EXPECT_EQ(Send(WM_CAD_CLEAR_ELEMENT_HIGHLIGHT, 0, reinterpret_cast<LPARAM>(head)), 1);
    EXPECT_EQ(Node(head)->flags & kNodeHighlighted, 0u);
    EXPECT_EQ(Node(head)->nextMember->flags & kNodeHighlighted, 1u) << "type 70 members keep theirs";
    EXPECT_EQ(Send(WM_CAD_HIGHLIGHT_ELEMENT, 0, 0), 0);
}

TEST_F(ElementServiceTest, ClearOfType21TakesNestedMembersAndClearAllTakesEverything)
{
    void* head = MakeNested(drawing, kElementGroup);
    void* line = Append(MakeLine(0, 0, 2, 2));
    EXPECT_EQ(Send(WM_CAD_HIGHLIGHT_ELEMENT, 0, reinterpret_cast<LPARAM>(head)), 1);
    EXPECT_EQ(Send(WM_CAD_CLEAR_ELEMENT_HIGHLIGHT, 0, reinterpret_cast<LPARAM>(head)), 1);
    for (EngineNode* m = Node(head); m != nullptr; m = m->nextMember) EXPECT_EQ(m->flags & kNodeHighlighted, 0u);
    HighlightElement(nullptr, head);
    HighlightElement(nullptr, line);
    EXPECT_EQ(Send(WM_CAD_CLEAR_ALL_HIGHLIGHTS, 0, 0), 1) << "0: the active drawing";
    for (EngineNode* m = Node(head); m != nullptr; m = m->nextMember) EXPECT_EQ(m->flags & kNodeHighlighted, 0u);
    EXPECT_EQ(Node(line)->flags & kNodeHighlighted, 0u);
}

TEST_F(ElementServiceTest, MarkHighlightSetsAndClearsMembers)
{
    void* head = MakeNested(drawing, kElementGroup);
    void* mark = ZUriCreateMark(drawing.db());
    ZUriSetMark(head, mark);
    GetCommandRunState().highlightColor = 4;
    EXPECT_EQ(Send(WM_CADDB_MARK_MEMBERS, 1, reinterpret_cast<LPARAM>(mark)), 1);
    for (EngineNode* m = Node(head); m != nullptr; m = m->nextMember) EXPECT_EQ(m->flags & kNodeHighlighted, 1u);
    EXPECT_EQ(Send(WM_CADDB_MARK_MEMBERS, 0, reinterpret_cast<LPARAM>(mark)), 1);
    for (EngineNode* m = Node(head); m != nullptr; m = m->nextMember) EXPECT_EQ(m->flags & kNodeHighlighted, 0u);
    EXPECT_EQ(Send(WM_CADDB_MARK_MEMBERS, 1, 0), 0);
    ZUriDestroyMark(mark);
}

TEST_F(ElementServiceTest, GroupFromMarkMovesTheElementsAndKeepsThemWhenThePageIsRefused)
{
    void* mark = ZUriCreateMark(drawing.db());
    for (int i = 0; i < 3; ++i) ZUriSetMark(Append(MakeLine(i, 0, i + 1, 1)), mark);
    ElementRecord head = MakeComposite(kElementFigureHeader);
    head.page = 9;
    CmdParamRecord p = ViewParam();
    p.transform = reinterpret_cast<INT_PTR>(mark);
    p.elementRecord = &head;
    EXPECT_EQ(Send(WM_CADDB_MAKE_GROUP, 0, p), 0);
    EXPECT_EQ(ElementCount(), 3);
    head.page = 0;
    void* group = reinterpret_cast<void*>(Send(WM_CADDB_MAKE_GROUP, 0, p));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(ZUriGetMemberNum(group, drawing.db()), 3);
    ZUriDestroyMark(mark);
}

TEST_F(ElementServiceTest, ExplodeCompositeCopiesVisibleMembersAndDeletesTheHead)
{
    void* head = MakeNested(drawing, kElementGroup);
    ElementRecord hidden = MakePoint(3, 3);
    hidden.colour = 0;
    ZUriAppendMemberElement(&hidden, head, drawing.db());
    CmdParamRecord p = ViewParam();
    p.elementRecord = head;
    EXPECT_EQ(Send(WM_CADDB_COPY_MEMBERS, 0, p), 1);
    EXPECT_EQ(ElementCount(), 2) << "the line and the nested circle; the hidden point and the heads go";
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, drawing.db()); e; e = ZUriReadElement(e, 1, nullptr, drawing.db()))
        EXPECT_NE(Node(e)->record.type, kElementGroup);
    EXPECT_EQ(GetElementServiceState().appendMode, 0) << "the append mode is put back";
}

TEST_F(ElementServiceTest, OpenAndCloseByNameRefuseNamesTooLongForTheFolder)
{
    site.settings.drawingFolder = std::string(250, 'd');
    CmdParamRecord p{};
    char name[] = "drawing-name.tcf";
    p.text = name;
    EXPECT_EQ(Send(WM_CAD_OPEN_DRAWING, 0, p), 0);
    EXPECT_EQ(Send(WM_CAD_CLOSE_DRAWING, 0, p), 0);
    EXPECT_EQ(Send(WM_CAD_OPEN_DRAWING, 0, 0), 0);
}

}  // namespace

namespace {

TEST_F(ElementServiceTest, DrawingEventKindsThatNeedNoCommand)
{
    EXPECT_EQ(RunDrawingEventCommand(nullptr, 1), 0) << "kind 1 without a block";
    PDBINFO block{};
    block.saveOption = 7;
    EXPECT_EQ(RunDrawingEventCommand(&block, 1), 1);
    EXPECT_EQ(block.saveOption, 0);
    EXPECT_EQ(RunDrawingEventCommand(nullptr, 9), 1);
    EXPECT_EQ(RunDrawingEventCommand(nullptr, 3), 1) << "no close command in the catalogue";
}

TEST_F(ElementServiceTest, DrawingEventKindFourRunsItsCommandAndAClosingFrameSetsTheSwitch)
{
    RecordingCommandHost host;
    EXPECT_EQ(RunDrawingEventCommand(nullptr, 4), 1);
    EXPECT_EQ((std::vector<std::string>{"CmdNotify 6203 1", "CmdNotify 6203 0"}), host.Lines("CmdNotify"));

    EXPECT_EQ(GetElementServiceState().eventSwitch, 0);
    GetFrameFlags().frameClosing = 1;
    EXPECT_EQ(RunDrawingEventCommand(nullptr, 9), 1);
    GetFrameFlags().frameClosing = 0;
    EXPECT_EQ(GetElementServiceState().eventSwitch, 1) << "the closing form of the event commands from now on";
}

}  // namespace

namespace {

TEST_F(ElementServiceTest, OpenByNameUsesTheDrawingFolderAndActivatesAnOpenView)
{
    site.settings.drawingFolder = "C:\\drawings";
    CmdParamRecord p{};
    char bare[] = "plan.tcf";
    p.text = bare;
    EXPECT_EQ(Send(WM_CAD_OPEN_DRAWING, 0, p), 2) << "the open's own result";
    ASSERT_EQ(site.opened.size(), 1u);
    EXPECT_EQ(site.opened[0], "C:\\drawings\\plan.tcf");
    site.files["C:\\drawings\\plan.tcf"] = view;
    EXPECT_EQ(Send(WM_CAD_OPEN_DRAWING, 0, p), 1);
    EXPECT_EQ(site.activated, std::vector<HWND>{view});
    EXPECT_EQ(site.opened.size(), 1u) << "not opened twice";

    char full[] = "D:\\other\\plan.tcf";
    p.text = full;
    site.settings.openClosesUntouched = 1;
    Send(WM_CAD_OPEN_DRAWING, 0, p);
    EXPECT_EQ(site.opened.back(), "D:\\other\\plan.tcf") << "a full path stands as it is";
    EXPECT_EQ(site.untouchedClosed, 1);
    EXPECT_EQ(site.keepCommand, std::vector<int>{1});

    EXPECT_EQ(Send(WM_CAD_CLOSE_DRAWING, 0, p), 1);
    EXPECT_TRUE(site.closed.empty()) << "no view shows that file";
    p.text = bare;
    EXPECT_EQ(Send(WM_CAD_CLOSE_DRAWING, 0, p), 1);
    EXPECT_EQ(site.closed, std::vector<HWND>{view});

    // The second byte of "表" is a backslash's code: the name still has no folder of its own.
    char kanji[] = "表.tcf";
    site.files[std::string("C:\\drawings\\") + kanji] = FakeView(5);
    p.text = kanji;
    EXPECT_EQ(Send(WM_CAD_CLOSE_DRAWING, 0, p), 1);
    EXPECT_EQ(site.closed.back(), FakeView(5));
}

}  // namespace

namespace {

TEST_F(ElementServiceTest, HighlightsRefuseHandlesTheEngineDoesNotKnow)
{
    site.active = nullptr;  // no view: the handle is checked among all the engine's elements
    void* point = Append(MakePoint(0, 0));
    EngineNode fake{};
    EXPECT_EQ(HighlightElement(nullptr, &fake), 0);
    EXPECT_EQ(fake.flags, 0u);
    EXPECT_EQ(SetElementHighlight(nullptr, &fake, 1, 5), 0);
    EXPECT_EQ(HighlightElement(nullptr, point), 1);
    EXPECT_EQ(Node(point)->flags & kNodeHighlighted, 1u);
}

}  // namespace
