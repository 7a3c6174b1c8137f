// The document model on a real engine database: paper, scale and file information, layers,
// appended elements, nested groups and the attribute lists.
#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "MessageBoxAnswerer.h"
#include "NumericFormat.h"
#include "QmCadDocument.h"
#include "TestOwnerWindow.h"

namespace {

class QmCadDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(ZUriCreateDB(&record), 1);
        document.database = &record;
    }
    void TearDown() override { ZUriDeleteDB(&record); }

    DbInfoBlock& Info() { return *static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &record)); }

    ElementRecord Read(CadElement element)
    {
        ElementRecord out;
        std::memset(&out, 0, sizeof out);
        ZUriReadElement(element, 0, &out, &record);
        return out;
    }

    int ElementCount() { return ZUriGetElmNum(&record); }

    EngineDbRecord record{};
    QmCadDocument document;
};

TEST_F(QmCadDocumentTest, PaperSizesSnapToStandardSizesWithinTwoMillimetres)
{
    struct Case {
        double width, height;
        double storedWidth, storedHeight;
        uint16_t code;
    };
    const Case cases[] = {
        {297.5, 210.9, 297, 210, 0x14},
        {300, 200, 300, 200, 0},
        {210, 297, 210, 297, 0x8014},
        {1191, 839, 1189, 841, 0x10},
        {1030, 728, 1030, 728, 0x21},
        {299.2, 200.6, 299, 201, 0},
        // A tiny paper is no "other" row of 0 x 0.
        {1, 1, 1, 1, 0},
    };
    document.SetScale(0.5);
    for (const Case& c : cases) {
        document.SetPaperSize(c.width, c.height);
        EXPECT_EQ(Info().record.paperWidthMm, c.storedWidth) << c.width;
        EXPECT_EQ(Info().record.paperHeightMm, c.storedHeight) << c.width;
        EXPECT_EQ(Info().record.paperCode, c.code) << c.width;
        EXPECT_EQ(Info().record.drawingWidth, c.storedWidth / 0.5);
        EXPECT_EQ(Info().record.drawingHeight, c.storedHeight / 0.5);
    }
    document.SetScale(2.0);
    EXPECT_EQ(Info().record.scale, 2.0);
    EXPECT_EQ(Info().record.drawingWidth, 0.5);
}

TEST_F(QmCadDocumentTest, PaperKindOfTheStoredCode)
{
    struct Case {
        uint16_t code;
        int series, size;
    };
    const Case cases[] = {{0x8021, 1, 1}, {0, 255, 255}, {0x16, 0, 6}, {0x8010, 0, 0}, {0x1234, -7, -7}};
    for (const Case& c : cases) {
        Info().record.paperCode = c.code;
        int series = -7;
        int size = -7;
        document.GetPaperKind(&series, &size);
        EXPECT_EQ(series, c.series) << c.code;
        EXPECT_EQ(size, c.size) << c.code;
    }
    document.GetPaperKind(nullptr, nullptr);
}

TEST_F(QmCadDocumentTest, FileInformation)
{
    document.SetFileInfo("C:\\図面\\a.tcf", "表題");
    EXPECT_STREQ(Info().record.fileName, "C:\\図面\\a.tcf");
    EXPECT_STREQ(Info().record.fileType, "tcf");
    EXPECT_STREQ(Info().record.title, "表題");
    document.SetFileInfo(nullptr, "次");
    EXPECT_STREQ(Info().record.fileName, "C:\\図面\\a.tcf");
    EXPECT_STREQ(Info().record.title, "次");
    // A path longer than the field is cut on a character boundary, never over the field.
    std::string longPath(300, 'x');
    document.SetFileInfo(longPath.c_str(), nullptr);
    EXPECT_EQ(std::strlen(Info().record.fileName), 259u);
}

TEST_F(QmCadDocumentTest, SetLayerNamesShowsAndMakesCurrent)
{
    TestOwnerWindow owner;
    document.ownerWindow = owner.Window();
    document.currentLayer = 4;
    LayerInfoBlock block;
    ASSERT_TRUE(ZUriGetLayerInfo(0, &block, &record));
    block.displayMask[0] = 0;
    block.detectMask[0] = 0;
    block.lockMask[0] = 0xFFFF;
    std::strcpy(block.groupNames[4], "grp");
    ASSERT_TRUE(ZUriSetLayerInfo(0, &block, &record));

    EXPECT_EQ(document.SetLayer(-1, ""), 0);
    std::string name;
    EXPECT_EQ(document.GetLayerName(name, 4), 0);
    EXPECT_EQ(name, "レイヤ 5");
    ASSERT_TRUE(ZUriGetLayerInfo(0, &block, &record));
    EXPECT_EQ(block.currentLayer, 4);
    EXPECT_EQ(block.displayMask[0], 1u << 4);
    EXPECT_EQ(block.detectMask[0], 1u << 4);
    EXPECT_EQ(block.lockMask[0], 0xFFFFu & ~(1u << 4));
    EXPECT_STREQ(block.groupNames[4], "");
    EXPECT_EQ(owner.ViewCurrentLayer(), 4);

    EXPECT_EQ(document.SetLayer(1023, "配線"), 0);
    EXPECT_EQ(document.FindLayerByName("配線", -1), 1023);
    EXPECT_EQ(document.FindLayerByName("配", -1), -1);
    EXPECT_EQ(owner.ViewCurrentLayer(), 1023);
    EXPECT_EQ(document.SetLayer(1024, "x"), -1);

    document.ResetCurrentLayer();
    ASSERT_TRUE(ZUriGetLayerInfo(0, &block, &record));
    EXPECT_EQ(block.currentLayer, 0);
    EXPECT_EQ(owner.ViewCurrentLayer(), 0);

    // Without an active view nothing is written there.
    owner.SetHasView(false);
    EXPECT_EQ(document.SetLayer(7, "x"), 0);
    EXPECT_EQ(owner.ViewCurrentLayer(), 0);
}

TEST_F(QmCadDocumentTest, AppendsLinesCirclesAndTextsWithTheAttributes)
{
    document.SetElementLayer(12);
    document.SetElementColor(5);
    document.SetElementLinetype(3);
    document.SetElementLinewidth(2);
    document.SetElementPage(0);

    CadElement line = document.AppendLine(GeoVectorPair(GeoVector(1, 2, 0), GeoVector(3, 4, 0)));
    ASSERT_NE(line, nullptr);
    LineRecord l;
    ElementRecord r = Read(line);
    std::memcpy(&l, &r, sizeof l);
    EXPECT_EQ(r.type, kElementLine);
    EXPECT_EQ(r.layer, 12);
    EXPECT_EQ(r.colour, 5);
    EXPECT_EQ(r.lineType, 3);
    EXPECT_EQ(r.lineWidth, 2);
    EXPECT_EQ(l.x1, 1.0);
    EXPECT_EQ(l.y2, 4.0);

    EXPECT_EQ(document.AppendLine(GeoVectorPair(GeoVector(1, 1, 0), GeoVector(1 + 0.5e-6, 1 + 0.5e-6, 0))), nullptr);

    CadElement circle = document.AppendCircle(GeoVector(5, 6, 0), -2.0);
    ASSERT_NE(circle, nullptr);
    CircleRecord c;
    r = Read(circle);
    std::memcpy(&c, &r, sizeof c);
    EXPECT_EQ(r.type, kElementCircle);
    EXPECT_EQ(c.radius, 2.0);
    EXPECT_EQ(document.AppendCircle(GeoVector(5, 6, 0), 1e-9), nullptr);

    document.SetTextMode(4);
    document.SetTextVertical(1);
    document.SetTextSize(100.0, 200.0);
    document.SetTextAngles(90.0, 0.0);
    document.SetTextFont("MS-PGothic");
    EXPECT_EQ(document.fontName, "ＭＳ ゴシック");
    CadElement text = document.AppendText(GeoVector(7, 8, 0), "文字");
    ASSERT_NE(text, nullptr);
    TextRecord t;
    r = Read(text);
    std::memcpy(&t, &r, sizeof t);
    EXPECT_EQ(r.type, kElementText);
    EXPECT_EQ(r.lineType, 4);  // the text mode
    EXPECT_NEAR(t.angle, kGeoPi / 2.0, 1e-15);
    EXPECT_EQ(t.height, 200.0);
    EXPECT_EQ(t.widthRatio, 0.5);
    EXPECT_STREQ(t.font, "ＭＳ ゴシック");
    EXPECT_EQ(t.flags, 0x20 | 0x80);
    EXPECT_EQ(t.x, 7.0);
    EXPECT_STREQ(t.text, "文字");
    EXPECT_EQ(document.AppendText(GeoVector(7, 8, 0), ""), nullptr);

    // A font name of 32 bytes or more is written as the default face.
    document.SetTextFont("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
    r = Read(document.AppendText(GeoVector(0, 0, 0), "x"));
    std::memcpy(&t, &r, sizeof t);
    EXPECT_STREQ(t.font, "ＭＳ ゴシック");
    document.SetTextFont("Arial");
    r = Read(document.AppendText(GeoVector(0, 0, 0), "x"));
    std::memcpy(&t, &r, sizeof t);
    EXPECT_STREQ(t.font, "Arial");
}

TEST_F(QmCadDocumentTest, WithoutADatabaseNothingHappens)
{
    QmCadDocument empty;
    EXPECT_EQ(empty.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(1, 1, 0))), nullptr);
    EXPECT_EQ(empty.AppendCircle(GeoVector(0, 0, 0), 1.0), nullptr);
    EXPECT_EQ(empty.AppendText(GeoVector(0, 0, 0), "x"), nullptr);
    std::string name;
    EXPECT_EQ(empty.GetLayerName(name, 0), -1);
    EXPECT_EQ(empty.FindLayerByName("x", -1), -1);
    EXPECT_EQ(empty.MakeGroup({reinterpret_cast<CadElement>(1)}), nullptr);
    std::vector<double> dashes;
    EXPECT_EQ(empty.GetLinetypeDashes(dashes, 0, name), -1);
    EXPECT_EQ(empty.CreateDatabase(), -1);  // no owner window
    empty.LoadLists();
    EXPECT_EQ(empty.Layers().Size(), 0u);
}

TEST(QmCadDocumentCreateTest, AHostThatMakesNoDrawingGivesTheBoxAndMinusOne)
{
    TestOwnerWindow owner;
    QmCadDocument document(owner.Window());
    MessageBoxAnswerer boxes;
    // This test program has no main frame for the host library to make a drawing window in.
    EXPECT_EQ(document.CreateDatabase(), -1);
    EXPECT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.LastText(), "CADデータベースを構築できません");
    EXPECT_EQ(boxes.LastCaption(), "エラー");
    EXPECT_EQ(document.database, nullptr);
    EXPECT_EQ(document.createdDatabase, nullptr);
}

TEST_F(QmCadDocumentTest, AGroupLevelGroupsItsCurvesAndLeavesTextsOut)
{
    document.OpenGroup();
    CadElement line = document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(1, 0, 0)));
    CadElement text = document.AppendText(GeoVector(0, 0, 0), "t");
    ASSERT_NE(line, nullptr);
    ASSERT_NE(text, nullptr);
    CadElement group = document.CloseGroup();
    ASSERT_NE(group, nullptr);
    ElementRecord r = Read(group);
    EXPECT_EQ(r.type, kElementGroup);
    EXPECT_EQ(r.subKind, 100);
    EXPECT_EQ(ZUriGetMemberNum(group, &record), 1);
    EXPECT_EQ(ElementCount(), 2);  // the group and the text
    EXPECT_EQ(document.OpenGroupLevels(), 0u);

    document.OpenGroup();
    document.AppendText(GeoVector(0, 0, 0), "only text");
    EXPECT_EQ(document.CloseGroup(), nullptr);
    document.OpenGroup();
    EXPECT_EQ(document.CloseGroup(), nullptr);
    EXPECT_EQ(document.CloseGroup(), nullptr);  // nothing open
}

TEST_F(QmCadDocumentTest, NestedLevelsMakeNestedGroups)
{
    document.SetElementLayer(9);
    document.OpenGroup();
    document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(1, 0, 0)));
    document.OpenGroup();
    document.AppendCircle(GeoVector(0, 0, 0), 1.0);
    document.AppendCircle(GeoVector(5, 0, 0), 1.0);
    CadElement inner = document.CloseGroup();
    ASSERT_NE(inner, nullptr);
    CadElement outer = document.CloseGroup();
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(ZUriGetMemberNum(outer, &record), 2);  // the line and the inner group
    EXPECT_EQ(ElementCount(), 1);
    int innerGroups = 0;
    for (void* member = ZUriReadNextMember2(outer, nullptr); member != nullptr;
         member = ZUriReadNextMember2(outer, member)) {
        if (Read(member).type == kElementGroup) {
            ++innerGroups;
            EXPECT_EQ(ZUriGetMemberNum(member, &record), 2);
        }
    }
    EXPECT_EQ(innerGroups, 1);
    EXPECT_EQ(Read(outer).layer, 9);
}

TEST_F(QmCadDocumentTest, The100thLevelCollectsNothing)
{
    for (int i = 0; i < 99; ++i) document.OpenGroup();
    document.OpenGroup();  // the 100th: no slot left
    EXPECT_EQ(document.OpenGroupLevels(), 100u);
    CadElement line = document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(1, 0, 0)));
    ASSERT_NE(line, nullptr);
    std::vector<CadElement> members;
    EXPECT_EQ(document.CollectGroupMembers(members), 0);
    EXPECT_EQ(document.CloseGroup(), nullptr);
    // The 99th level still works, and its slot is free again once closed.
    document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(2, 0, 0)));
    members.clear();
    EXPECT_EQ(document.CollectGroupMembers(members), 1);
    CadElement group = document.CloseGroup();
    EXPECT_NE(group, nullptr);
    document.OpenGroup();
    EXPECT_EQ(document.OpenGroupLevels(), 99u);
    for (int i = 0; i < 99; ++i) document.CloseGroup();
    EXPECT_EQ(document.OpenGroupLevels(), 0u);
}

TEST_F(QmCadDocumentTest, ListsFromTheInformationBlock)
{
    LayerInfoBlock block;
    ASSERT_TRUE(ZUriGetLayerInfo(0, &block, &record));
    ASSERT_TRUE(ZUriSetLayerName(0, 2, "同名", &record));
    ASSERT_TRUE(ZUriSetLayerName(0, 5, "同名", &record));
    ASSERT_TRUE(ZUriGetLayerInfo(0, &block, &record));
    std::strcpy(block.groupNames[8], "G");
    block.displayMask[0] = static_cast<uint16_t>(block.displayMask[0] & ~(1u << 8));
    ASSERT_TRUE(ZUriSetLayerInfo(0, &block, &record));

    document.LoadLists();
    const auto& layers = document.Layers().entries;
    ASSERT_EQ(layers.size(), 2u);  // two layers of one name give one entry
    EXPECT_EQ(layers[0].number, 2);
    EXPECT_EQ(layers[0].flags & 1, 1);
    EXPECT_EQ(layers[1].number, 8);
    EXPECT_EQ(layers[1].groupName, "G");
    EXPECT_EQ(layers[1].flags & 1, 0);
    EXPECT_EQ(document.Colors().Size(), 257u);
    EXPECT_EQ(document.Linetypes().Size(), 32u);
    EXPECT_EQ(document.Linewidths().Size(), 16u);
    const DbInfoBlock& info = Info();
    COLORREF colour = 0;
    ASSERT_TRUE(document.GetColor(1, &colour));
    EXPECT_EQ(colour, RGB(info.colours[1].red & 0xFF, info.colours[1].green & 0xFF, info.colours[1].blue & 0xFF));
    EXPECT_EQ(document.Linewidths().entries[0].name,
              FormatReal(info.lineWidthsMm[0], 15) + "mm");
    std::vector<double> dashes;
    std::string name;
    ASSERT_EQ(document.GetLinetypeDashes(dashes, 1, name), 0);
    EXPECT_EQ(name, info.lineTypes[1].name);
    EXPECT_EQ(dashes.size(), static_cast<size_t>(info.lineTypes[1].dashCount));
    EXPECT_EQ(document.GetLinetypeDashes(dashes, 32, name), -1);
}

TEST_F(QmCadDocumentTest, ChangeElementDirectKeepsTheNodesLinks)
{
    CadElement first = document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(1, 0, 0)));
    CadElement second = document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(2, 0, 0)));
    CadElement third = document.AppendLine(GeoVectorPair(GeoVector(0, 0, 0), GeoVector(3, 0, 0)));
    ASSERT_TRUE(first && second && third);
    const EngineNode* node = static_cast<const EngineNode*>(second);
    EngineNode* next = node->nextElement;

    LineRecord changed;
    ElementRecord r = Read(second);
    std::memcpy(&changed, &r, sizeof changed);
    changed.x2 = 9.0;
    changed.z1 = 5.0;
    ElementChangeState state;
    EXPECT_EQ(ChangeElementDirect(&changed, &state, second, &record), 1);
    EXPECT_EQ(state.modified, 1);
    r = Read(second);
    std::memcpy(&changed, &r, sizeof changed);
    EXPECT_EQ(changed.x2, 9.0);
    EXPECT_EQ(changed.z1, 0.0);  // the 3D fields are reset
    EXPECT_EQ(static_cast<const EngineNode*>(second)->nextElement, next);
    EXPECT_EQ(ZUriReadElement(second, 1, nullptr, &record), third);
    EXPECT_EQ(ElementCount(), 3);
    EXPECT_EQ(ChangeElementDirect(&changed, &state, nullptr, &record), 0);
}

TEST_F(QmCadDocumentTest, ChangeElementDirectFreesOnlyAPictureTheEngineCopied)
{
    auto makeDib = [] {
        HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + 4);
        auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
        header->biSize = sizeof *header;
        header->biWidth = 1;
        header->biHeight = 1;
        header->biPlanes = 1;
        header->biBitCount = 24;
        GlobalUnlock(dib);
        return dib;
    };
    ImageRecord image{};
    image.header[0] = kElementImage;
    image.x2 = 10.0;
    image.y2 = 10.0;
    HGLOBAL given = makeDib();
    image.dib = given;
    image.dibSize = static_cast<uint32_t>(GlobalSize(given));
    CadElement element = ZUriAppendElement(&image, &record);
    ASSERT_NE(element, nullptr);
    GlobalFree(given);

    // The element's own picture handed back unchanged stays the engine's.
    ElementRecord r = Read(element);
    std::memcpy(&image, &r, sizeof image);
    HGLOBAL own = image.dib;
    ASSERT_NE(own, nullptr);
    ElementChangeState state;
    ASSERT_EQ(ChangeElementDirect(&image, &state, element, &record), 1);
    EXPECT_NE(GlobalSize(own), 0u);
    r = Read(element);
    std::memcpy(&image, &r, sizeof image);
    EXPECT_EQ(image.dib, own);

    // A new picture is copied by the engine; the caller's is freed.
    HGLOBAL fresh = makeDib();
    image.dib = fresh;
    ASSERT_EQ(ChangeElementDirect(&image, &state, element, &record), 1);
    r = Read(element);
    std::memcpy(&image, &r, sizeof image);
    EXPECT_NE(image.dib, fresh);
    EXPECT_NE(GlobalSize(image.dib), 0u);
}

}  // namespace
