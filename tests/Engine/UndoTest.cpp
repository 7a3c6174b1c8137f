#include "GTest.h"

#include "EngineFixture.h"

#include <vector>

namespace {

// Replays one step backward over the engine's undo list, the way the program's undo does.
bool UndoStep(TestDb& t)
{
    auto* current = static_cast<UndoRecord*>(t.record.undoCurrent);
    if (current == nullptr) return false;
    std::vector<UndoRecord*> step;
    UndoRecord* r = current;
    step.push_back(r);
    for (r = r->older; r != nullptr && r->stepMark != 1; r = r->older) step.push_back(r);
    for (UndoRecord* u : step) {
        switch (u->kind) {
        case kUndoAdded:
            ZUriUndoDelElement(u->element, t.db());
            break;
        case kUndoDeleted:
            ZUriUndoAddElement(u->element, t.db(), 1, u->value);
            break;
        case kUndoChanged:
            ZUriUndoChgElement(u->element, u->savedState, t.db(), 0);
            break;
        case kUndoMemberAdded:
            ZUriUndoDelMemberElement(u->element, nullptr, t.db(), 0, u->memberValue);
            break;
        default:
            break;
        }
    }
    t.record.undoCurrent = r;
    return true;
}

// Replays one step forward, the way the program's redo does.
bool RedoStep(TestDb& t)
{
    if (ZUriIsRedo(t.db()) == 0) return false;
    auto* current = static_cast<UndoRecord*>(t.record.undoCurrent);
    UndoRecord* r = current != nullptr ? current->newer : static_cast<UndoRecord*>(t.record.undoOldest);
    UndoRecord* last = nullptr;
    for (; r != nullptr; r = r->newer) {
        switch (r->kind) {
        case kUndoAdded:
            ZUriUndoAddElement(r->element, t.db(), 1, r->value);
            break;
        case kUndoDeleted:
            ZUriUndoDelElement(r->element, t.db());
            break;
        case kUndoChanged:
            ZUriUndoChgElement(r->element, r->savedState, t.db(), 0);
            break;
        case kUndoMemberAdded:
            ZUriUndoAddMemberElement(r->element, r->groupHead, t.db(), 0, r->memberValue);
            break;
        default:
            break;
        }
        last = r;
        if (r->stepMark == 1) break;
    }
    t.record.undoCurrent = last;
    return true;
}

std::vector<double> StartXs(TestDb& t)
{
    std::vector<double> xs;
    ElementRecord out;
    for (void* e = ZUriReadElement(nullptr, 0, &out, t.db()); e != nullptr; e = ZUriReadElement(e, 1, &out, t.db())) {
        xs.push_back(Typed<LineRecord>(out).x1);
    }
    return xs;
}

void AddLine(TestDb& t, double x)
{
    ElementRecord line = MakeLine(x, 0, x + 1, 0);
    ASSERT_NE(nullptr, ZUriAppendElement(&line, t.db()));
}

}  // namespace

TEST(Undo, StepOfThreeAddsIsUndoneAndRedone)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    EXPECT_EQ(0, ZUriIsUndo(t.db()));
    ZUriMakUndoPass(t.db());
    for (double x : {1.0, 2.0, 3.0}) AddLine(t, x);
    EXPECT_EQ(1, ZUriIsUndo(t.db()));
    EXPECT_EQ(0, ZUriIsRedo(t.db()));
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
    EXPECT_EQ(0, ZUriIsUndo(t.db()));
    EXPECT_EQ(1, ZUriIsRedo(t.db()));
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ((std::vector<double>{1.0, 2.0, 3.0}), StartXs(t));
    EXPECT_EQ(0, ZUriIsRedo(t.db()));
}

TEST(Undo, ChangeAndDeleteComeBackInPlace)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    for (double x : {1.0, 2.0, 3.0}) AddLine(t, x);
    void* second = ZUriReadElement(ZUriReadElement(nullptr, 0, nullptr, t.db()), 1, nullptr, t.db());

    ZUriMakUndoPass(t.db());
    ElementRecord changed = MakeLine(20, 0, 21, 0);
    ASSERT_NE(nullptr, ZUriChangeElement(second, &changed, t.db()));
    ZUriMakUndoPass(t.db());
    ASSERT_EQ(1, ZUriDeleteElement(second, t.db()));
    EXPECT_EQ((std::vector<double>{1.0, 3.0}), StartXs(t));

    ASSERT_TRUE(UndoStep(t));  // the delete
    EXPECT_EQ((std::vector<double>{1.0, 20.0, 3.0}), StartXs(t));
    ASSERT_TRUE(UndoStep(t));  // the change
    EXPECT_EQ((std::vector<double>{1.0, 2.0, 3.0}), StartXs(t));
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ((std::vector<double>{1.0, 20.0, 3.0}), StartXs(t));
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ((std::vector<double>{1.0, 3.0}), StartXs(t));
    EXPECT_FALSE(RedoStep(t));
}

TEST(Undo, ANewChangeEndsTheRedoPath)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    ZUriMakUndoPass(t.db());
    AddLine(t, 1.0);
    ZUriMakUndoPass(t.db());
    AddLine(t, 2.0);
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ(1, ZUriIsRedo(t.db()));
    ZUriMakUndoPass(t.db());
    AddLine(t, 5.0);
    EXPECT_EQ(0, ZUriIsRedo(t.db()));
    EXPECT_EQ((std::vector<double>{1.0, 5.0}), StartXs(t));
    ASSERT_TRUE(UndoStep(t));
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
}

TEST(Undo, DepthAndClearing)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 0);
    AddLine(t, 1.0);
    EXPECT_EQ(0, ZUriIsUndo(t.db()));
    EXPECT_EQ(nullptr, t.record.undoOldest);

    ZUriUndoFgSet(t.db(), 10);
    for (double x : {2.0, 3.0, 4.0}) {
        ZUriMakUndoPass(t.db());
        AddLine(t, x);
    }
    ZUriMakUndoPass(t.db());
    EXPECT_EQ(1, ZUriCheckUndo(2, 0, t.db()));
    ASSERT_TRUE(UndoStep(t));
    ASSERT_TRUE(UndoStep(t));
    EXPECT_FALSE(UndoStep(t));
    EXPECT_EQ((std::vector<double>{1.0, 2.0}), StartXs(t));

    ZUriMakUndoPass(t.db());
    AddLine(t, 9.0);
    EXPECT_EQ(1, ZUriClearUndoElement(t.db()));
    EXPECT_EQ(0, ZUriIsUndo(t.db()));
    EXPECT_EQ(0, ZUriIsRedo(t.db()));
    EXPECT_EQ(nullptr, t.record.undoOldest);
}

TEST(Undo, MemberAddAndLinkMark)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    ElementRecord g = MakeComposite(), l = MakeLine(0, 0, 1, 1);
    void* group = ZUriAppendElement(&g, t.db());
    ZUriMakUndoPass(t.db());
    void* member = ZUriAppendMemberElement(&l, group, t.db());
    ASSERT_NE(nullptr, member);

    // A link mark takes undo records and holds their elements.
    void* link = ZUriCreateLinkMark(t.db());
    ASSERT_NE(nullptr, link);
    EXPECT_EQ(1, ZUriSetMark(t.record.undoCurrent, link));
    EXPECT_EQ(member, ZUriGetNextMark(nullptr, link));
    ZUriDestroyMark(link);

    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ(0, ZUriGetMemberNum(group, t.db()));
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ(1, ZUriGetMemberNum(group, t.db()));
    EXPECT_EQ(member, ZUriReadFirstMember(group, nullptr, t.db()));

    // A bogus saved state or element is refused by the replay calls.
    int bogus = 0;
    EXPECT_EQ(0, ZUriUndoChgElement(member, &bogus, t.db(), 0));
    EXPECT_EQ(0, ZUriUndoAddElement(&bogus, t.db(), 1, 0));
    EXPECT_EQ(0, ZUriUndoAddMemberElement(group, member, t.db(), 0, 0));
}

TEST(Undo, DisplayCheckFollowsPageAndLayerMasks)
{
    TestDb t;
    EXPECT_EQ(1, ZUriChkDspElement(0, 5, 0, 0, t.db()));
    EXPECT_EQ(0, ZUriChkDspElement(3, 5, 0, 0, t.db()));
    t.record.pageState.displayMask[0] |= 1u << 3;
    EXPECT_EQ(1, ZUriChkDspElement(3, 5, 0, 0, t.db()));
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, t.db()));
    info->layers.displayMask[0] &= ~(1u << 5);
    EXPECT_EQ(0, ZUriChkDspElement(0, 5, 0, 0, t.db()));
    EXPECT_EQ(0, ZUriChkDspElement(0, 1024, 0, 0, t.db()));
    EXPECT_EQ(0, ZUriChkDspElement(512, 0, 0, 0, t.db()));
    // Page 256 is bit 0 of word 8 of the page masks.
    EXPECT_EQ(0, ZUriChkDspElement(256, 0, 0, 0, t.db()));
    t.record.pageState.displayMask[8] = 1;
    EXPECT_EQ(1, ZUriChkDspElement(256, 0, 0, 0, t.db()));
}

TEST(Undo, GroupingAndDeletingAGroupComeBack)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    for (double x : {1.0, 2.0}) AddLine(t, x);
    void* handles[2] = {ZUriReadElement(nullptr, 0, nullptr, t.db()), nullptr};
    handles[1] = ZUriReadElement(handles[0], 1, nullptr, t.db());

    ZUriMakUndoPass(t.db());
    void* group = ZUriMakeGroupExtrIdx(2, handles, t.db());
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(1, ZUriGetElmNum(t.db()));
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ((std::vector<double>{1.0, 2.0}), StartXs(t));
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ(1, ZUriGetElmNum(t.db()));
    EXPECT_EQ(2, ZUriGetMemberNum(group, t.db()));

    // The group goes with its members and comes back whole.
    ZUriMakUndoPass(t.db());
    ASSERT_EQ(1, ZUriDeleteElement(group, t.db()));
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ(1, ZUriGetElmNum(t.db()));
    EXPECT_EQ(2, ZUriGetMemberNum(group, t.db()));
    ElementRecord member;
    ASSERT_NE(nullptr, ZUriReadFirstMember(group, &member, t.db()));
    EXPECT_DOUBLE_EQ(1.0, Typed<LineRecord>(member).x1);

    // Clearing the list frees what only it held; the database stays sound.
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ(1, ZUriClearUndoElement(t.db()));
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
    EXPECT_EQ(nullptr, ZUriReadElement(group, 0, nullptr, t.db()));
}

TEST(Undo, ARasterChangeIsUndoneWithItsBits)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    // 16 x 2 pixels: two rows of 2 bytes.
    uint8_t first[4] = {0x11, 0x22, 0x33, 0x44};
    RasterRecord raster{};
    SetHeader(raster.header, kElementRaster);
    raster.width = raster.height = 10;
    raster.pixelsX = 16;
    raster.pixelsY = 2;
    raster.bits = first;
    ElementRecord in = AsRecord(raster);
    void* element = ZUriAppendElement(&in, t.db());
    ASSERT_NE(nullptr, element);
    ZUriMakUndoPass(t.db());

    // The change brings other bits of another size; the caller's buffers are overwritten after.
    uint8_t second[6] = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6};
    raster.pixelsY = 3;
    raster.bits = second;
    ElementRecord changed = AsRecord(raster);
    ASSERT_NE(nullptr, ZUriChangeElement(element, &changed, t.db()));
    ZUriMakUndoPass(t.db());
    std::memset(first, 0, sizeof first);
    std::memset(second, 0, sizeof second);

    auto bitsNow = [&]() {
        ElementRecord out;
        EXPECT_EQ(element, ZUriReadElement(element, 0, &out, t.db()));
        auto r = Typed<RasterRecord>(out);
        std::vector<uint8_t> bytes;
        if (r.bits != nullptr) bytes.assign(static_cast<uint8_t*>(r.bits), static_cast<uint8_t*>(r.bits) + r.pixelsY * 2);
        return bytes;
    };
    EXPECT_EQ((std::vector<uint8_t>{0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6}), bitsNow());
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ((std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44}), bitsNow());
    ASSERT_TRUE(RedoStep(t));
    EXPECT_EQ((std::vector<uint8_t>{0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6}), bitsNow());
    ASSERT_TRUE(UndoStep(t));
    EXPECT_EQ((std::vector<uint8_t>{0x11, 0x22, 0x33, 0x44}), bitsNow());
}
