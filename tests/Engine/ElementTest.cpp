#include "GTest.h"

#include "EngineFixture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A record of the given type whose geometry holds distinct finite doubles.
ElementRecord PatternRecord(uint16_t type)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&r);
    for (int offset = 33, k = 1; offset + 8 <= 174; offset += 8, ++k) {
        double v = k * 1.5 + type;
        std::memcpy(bytes + offset, &v, sizeof v);
    }
    r.type = type;
    r.subKind = 0;
    r.layer = 7;
    r.page = 0;
    r.colour = 3;
    r.lineType = 2;
    r.lineWidth = 1;
    return r;
}

}  // namespace

TEST(Element, EveryTypeRoundTrips)
{
    TestDb t;
    const uint16_t types[] = {1, 2, 3, 4, 5, 6, 7, 21, 22, 32, 50, 55, 60, 70};
    const char* text = "表示テキスト";
    for (uint16_t type : types) {
        SCOPED_TRACE(type);
        ElementRecord in = PatternRecord(type);
        HGLOBAL dib = nullptr;
        if (type == kElementText) {
            std::memcpy(reinterpret_cast<uint8_t*>(&in) + offsetof(TextRecord, text), &text, sizeof text);
        }
        if (type == kElementImage) {
            dib = GlobalAlloc(GMEM_MOVEABLE, 40);
            auto* bytes = static_cast<uint8_t*>(GlobalLock(dib));
            for (int i = 0; i < 40; ++i) bytes[i] = static_cast<uint8_t>(i * 3);
            GlobalUnlock(dib);
            std::memcpy(reinterpret_cast<uint8_t*>(&in) + offsetof(ImageRecord, dib), &dib, sizeof dib);
        }
        // A raster of 20 x 3 pixels: rows of 4 bytes (padded to 16 bits).
        std::vector<uint8_t> bits;
        if (type == kElementRaster) {
            auto raster = Typed<RasterRecord>(in);
            raster.pixelsX = 20;
            raster.pixelsY = 3;
            for (int i = 0; i < 12; ++i) bits.push_back(static_cast<uint8_t>(0xA0 + i));
            raster.bits = bits.data();
            in = AsRecord(raster);
        }
        void* element = ZUriAppendElement(&in, t.db());
        ASSERT_NE(nullptr, element);
        if (dib != nullptr) GlobalFree(dib);  // the engine keeps its own copy
        const std::vector<uint8_t> given = bits;
        std::fill(bits.begin(), bits.end(), 0);  // ... and of the raster's bits

        ElementRecord out;
        std::memset(&out, 0xCC, sizeof out);
        ASSERT_EQ(element, ZUriReadElement(element, 0, &out, t.db()));
        if (type == kElementText) {
            auto typed = Typed<TextRecord>(out);
            ASSERT_NE(nullptr, typed.text);
            EXPECT_NE(text, typed.text);
            EXPECT_STREQ(text, typed.text);
            typed.text = text;
            out = AsRecord(typed);
        } else if (type == kElementImage) {
            auto typed = Typed<ImageRecord>(out);
            ASSERT_NE(nullptr, typed.dib);
            ASSERT_EQ(40u, GlobalSize(typed.dib));
            auto* bytes = static_cast<uint8_t*>(GlobalLock(typed.dib));
            EXPECT_EQ(3 * 39, bytes[39]);
            GlobalUnlock(typed.dib);
            typed.dib = dib;
            out = AsRecord(typed);
        } else if (type == kElementRaster) {
            auto typed = Typed<RasterRecord>(out);
            ASSERT_NE(nullptr, typed.bits);
            EXPECT_NE(static_cast<void*>(bits.data()), typed.bits);
            EXPECT_EQ(given, std::vector<uint8_t>(static_cast<uint8_t*>(typed.bits),
                                                  static_cast<uint8_t*>(typed.bits) + given.size()));
            typed.bits = bits.data();
            out = AsRecord(typed);
        }
        EXPECT_EQ(0, std::memcmp(&in, &out, sizeof in));
    }
    EXPECT_EQ(14, ZUriGetElmNum(t.db()));
}

TEST(Element, ReadModesWalkTheChain)
{
    TestDb t;
    ElementRecord l1 = MakeLine(0, 0, 1, 1), l2 = MakeLine(1, 1, 2, 2), l3 = MakeLine(2, 2, 3, 3);
    void* e1 = ZUriAppendElement(&l1, t.db());
    void* e2 = ZUriAppendElement(&l2, t.db());
    void* e3 = ZUriAppendElement(&l3, t.db());
    EXPECT_EQ(e1, ZUriReadElement(nullptr, 0, nullptr, t.db()));
    EXPECT_EQ(e2, ZUriReadElement(e2, 0, nullptr, t.db()));
    EXPECT_EQ(e3, ZUriReadElement(e2, 1, nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriReadElement(e3, 1, nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriReadElement(e1, 7, nullptr, t.db()));
    // The node links and the record's first-element word follow the same chain.
    EXPECT_EQ(e1, t.record.firstElement);
    EXPECT_EQ(Node(e2), Node(e1)->nextElement);
    EXPECT_EQ(Node(e3), Node(e2)->nextElement);
    EXPECT_EQ(nullptr, Node(e3)->nextElement);
    EXPECT_EQ(3, static_cast<DbInfoBlock*>(t.record.info)->elementCount);
}

TEST(Element, ChangeKeepsLinksAndDeleteUnlinks)
{
    TestDb t;
    ElementRecord a = MakeLine(0, 0, 1, 0), b = MakeLine(0, 0, 0, 1), c = MakeCircle(5, 5, 2);
    void* e1 = ZUriAppendElement(&a, t.db());
    void* e2 = ZUriAppendElement(&b, t.db());
    void* e3 = ZUriAppendElement(&c, t.db());

    // The change image is the node's own 238 bytes with a new record in front.
    uint8_t image[kEngineNodeSize];
    std::memcpy(image, ZUriReadElement(e2, 0, nullptr, t.db()), sizeof image);
    ElementRecord moved = MakeLine(10, 10, 20, 20);
    std::memcpy(image, &moved, sizeof moved);
    EXPECT_EQ(e2, ZUriChangeElement(e2, image, t.db()));
    ElementRecord out;
    ZUriReadElement(e2, 0, &out, t.db());
    EXPECT_DOUBLE_EQ(20.0, Typed<LineRecord>(out).x2);
    EXPECT_EQ(Node(e3), Node(e2)->nextElement);

    moved = MakeLine(7, 7, 8, 8);
    EXPECT_EQ(e2, ZUriMemChangeElement(e2, &moved, t.db()));
    ZUriReadElement(e2, 0, &out, t.db());
    EXPECT_DOUBLE_EQ(7.0, Typed<LineRecord>(out).x1);

    EXPECT_EQ(1, ZUriDeleteElement(e2, t.db()));
    EXPECT_EQ(2, ZUriGetElmNum(t.db()));
    EXPECT_EQ(Node(e3), Node(e1)->nextElement);
    EXPECT_EQ(nullptr, ZUriReadElement(e2, 0, nullptr, t.db()));
    EXPECT_EQ(0, ZUriDeleteElement(e2, t.db()));

    EXPECT_EQ(1, ZUriAllDeleteElement(t.db()));
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
    EXPECT_EQ(nullptr, t.record.firstElement);
}

TEST(Element, RefusedRecordsAndHandles)
{
    TestDb t, other;
    ElementRecord good = MakeLine(0, 0, 1, 1);
    struct Case {
        const char* what;
        ElementRecord record;
    };
    std::vector<Case> cases;
    ElementRecord r = good;
    r.page = -1;
    cases.push_back({"page -1", r});
    r = good;
    r.page = 512;
    cases.push_back({"page 512", r});
    r = good;
    r.layer = 1024;
    cases.push_back({"layer 1024", r});
    LineRecord nan = Typed<LineRecord>(good);
    nan.x2 = std::nan("");
    cases.push_back({"NaN coordinate", AsRecord(nan)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(nullptr, ZUriAppendElement(&c.record, t.db()));
    }
    r = good;
    r.page = 511;
    EXPECT_NE(nullptr, ZUriAppendElement(&r, t.db()));
    r.layer = 1023;
    void* kept = ZUriAppendElement(&r, t.db());
    ASSERT_NE(nullptr, kept);

    EngineDbRecord zeroed{};
    EXPECT_EQ(nullptr, ZUriAppendElement(&good, &zeroed));
    EXPECT_EQ(nullptr, ZUriAppendElement(nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriAppendElement(&good, nullptr));
    EXPECT_EQ(-1, ZUriGetElmNum(&zeroed));
    // An element of another database, a stray pointer and null are refused.
    EXPECT_EQ(nullptr, ZUriReadElement(kept, 0, nullptr, other.db()));
    EXPECT_EQ(0, ZUriDeleteElement(kept, other.db()));
    int stray = 0;
    EXPECT_EQ(nullptr, ZUriReadElement(&stray, 0, nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriChangeElement(&stray, &good, t.db()));
    EXPECT_EQ(0, ZUriGetTag(&stray, 210));
    EXPECT_EQ(0, ZUriSetTagString(nullptr, "x"));
    // A change to a refused page leaves the element as it was.
    r.page = 600;
    EXPECT_EQ(nullptr, ZUriChangeElement(kept, &r, t.db()));
    ElementRecord out;
    ZUriReadElement(kept, 0, &out, t.db());
    EXPECT_EQ(511, out.page);
    // A second create on a live record is refused; the database stays.
    EXPECT_EQ(0, ZUriCreateDB(t.db()));
    EXPECT_EQ(2, ZUriGetElmNum(t.db()));
}

TEST(Element, TagsUserDataAndExtraData)
{
    TestDb t;
    ElementRecord a = MakeLine(0, 0, 1, 1);
    void* e = ZUriAppendElement(&a, t.db());
    void* f = ZUriAppendElement(&a, t.db());

    EXPECT_EQ(0, ZUriGetTag(e, 210));
    EXPECT_EQ(1, ZUriSetTag(e, 210, 1));
    EXPECT_EQ(1, ZUriGetTag(e, 210));

    char buffer[604];
    EXPECT_EQ(0, ZUriGetTagString(e, buffer));
    EXPECT_EQ(1, ZUriSetTagString(e, "Korva20000"));
    EXPECT_EQ(11, ZUriGetTagString(e, nullptr));
    EXPECT_EQ(11, ZUriGetTagString(e, buffer));
    EXPECT_STREQ("Korva20000", buffer);
    std::string tooLong(604, 'x');
    EXPECT_EQ(0, ZUriSetTagString(e, tooLong.c_str()));
    EXPECT_STREQ("Korva20000", (ZUriGetTagString(e, buffer), buffer));
    std::string longest(603, 'y');
    EXPECT_EQ(1, ZUriSetTagString(f, longest.c_str()));
    EXPECT_EQ(604, ZUriGetTagString(f, buffer));
    EXPECT_EQ(1, ZUriSetTagString(f, nullptr));
    EXPECT_EQ(0, ZUriGetTagString(f, buffer));

    uint8_t user[256], back[256];
    for (int i = 0; i < 256; ++i) user[i] = static_cast<uint8_t>(255 - i);
    EXPECT_EQ(0, ZUriGet256UserData(e, back));
    EXPECT_EQ(1, ZUriSet256UserData(e, user));
    EXPECT_EQ(1, ZUriGet256UserData(e, back));
    EXPECT_EQ(0, std::memcmp(user, back, 256));

    const char slotText[] = "extra";
    EXPECT_EQ(1, ZUriSetExtrData(e, 38, 0, sizeof slotText, slotText));
    char slot[16];
    EXPECT_EQ(static_cast<int>(sizeof slotText), ZUriGetExtrData(e, 38, 0, sizeof slot, slot));
    EXPECT_STREQ("extra", slot);
    EXPECT_EQ(1, ZUriSetExtrData(e, 38, 0, 1, nullptr));
    EXPECT_EQ(0, ZUriGetExtrData(e, 38, 0, sizeof slot, slot));
    EXPECT_EQ(0, ZUriSetExtrData(e, 256, 0, 1, slotText));
    EXPECT_EQ(0, ZUriSetExtrData(e, 39, -1, 1, slotText));
    EXPECT_EQ(1, ZUriSetExtrData(e, 39, 0, sizeof slotText, slotText));

    int ffData = 0;
    EXPECT_EQ(1, ZUriFFTagElement(e, &ffData, t.db()));

    // The parameters go over to another element.
    EXPECT_EQ(1, ZUriElementParamCopy(e, f));
    EXPECT_EQ(1, ZUriGetTag(f, 210));
    EXPECT_EQ(11, ZUriGetTagString(f, buffer));
    EXPECT_EQ(1, ZUriGet256UserData(f, back));
    EXPECT_EQ(static_cast<int>(sizeof slotText), ZUriGetExtrData(f, 39, 0, sizeof slot, slot));
}

TEST(Element, ManyElementsStayQuick)
{
    TestDb t;
    ZUriUndoFgSet(t.db(), 5);
    const int count = 50000;
    for (int i = 0; i < count; ++i) {
        ElementRecord line = MakeLine(i, 0, i + 1, 1, static_cast<uint16_t>(i % 1024));
        ASSERT_NE(nullptr, ZUriAppendElement(&line, t.db()));
    }
    EXPECT_EQ(count, ZUriGetElmNum(t.db()));
    void* mark = ZUriCreateMark(t.db());
    int walked = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, t.db()); e != nullptr; e = ZUriReadElement(e, 1, nullptr, t.db())) {
        if (walked++ % 2 == 0) ZUriSetMark(e, mark);
    }
    EXPECT_EQ(count, walked);
    // Deleting through the mark, fetching the next element first as the program does.
    for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr;) {
        void* next = ZUriGetNextMark(e, mark);
        ASSERT_EQ(1, ZUriDeleteElement(e, t.db()));
        e = next;
    }
    EXPECT_EQ(count / 2, ZUriGetElmNum(t.db()));
    EXPECT_EQ(0, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);
}

TEST(Element, AnOverlongTextIsCutOnACharacterBoundary)
{
    TestDb t;
    // 65534 single bytes, then "表" (95 5C) across the 65535-byte bound.
    const std::string text = std::string(65534, 'a') + "表" + "b";
    const char* pointer = text.c_str();
    ElementRecord in = PatternRecord(kElementText);
    std::memcpy(reinterpret_cast<uint8_t*>(&in) + offsetof(TextRecord, text), &pointer, sizeof pointer);
    void* element = ZUriAppendElement(&in, t.db());
    ASSERT_NE(nullptr, element);
    ElementRecord out;
    ASSERT_EQ(element, ZUriReadElement(element, 0, &out, t.db()));
    auto typed = Typed<TextRecord>(out);
    ASSERT_NE(nullptr, typed.text);
    EXPECT_EQ(std::string(65534, 'a'), std::string(typed.text));

    // A text that fits whole is kept whole.
    const std::string shorter = std::string(65533, 'a') + "表";
    pointer = shorter.c_str();
    std::memcpy(reinterpret_cast<uint8_t*>(&in) + offsetof(TextRecord, text), &pointer, sizeof pointer);
    element = ZUriAppendElement(&in, t.db());
    ASSERT_NE(nullptr, element);
    ASSERT_EQ(element, ZUriReadElement(element, 0, &out, t.db()));
    EXPECT_EQ(shorter, std::string(Typed<TextRecord>(out).text));
}

namespace {

// A raster element record of w x h pixels with its bits pointer.
ElementRecord MakeRaster(int32_t w, int32_t h, const void* bits)
{
    RasterRecord raster{};
    SetHeader(raster.header, kElementRaster, 0, 0);
    raster.cx = 10;
    raster.cy = 20;
    raster.width = 30;
    raster.height = 40;
    raster.cosAngle = 1;
    raster.pixelsX = w;
    raster.pixelsY = h;
    raster.bits = const_cast<void*>(bits);
    raster.expanded = 1;
    return AsRecord(raster);
}

std::vector<uint8_t> RasterBits(void* element, TestDb& t, size_t size)
{
    ElementRecord out;
    if (ZUriReadElement(element, 0, &out, t.db()) != element) return {};
    auto* bits = static_cast<const uint8_t*>(Typed<RasterRecord>(out).bits);
    if (bits == nullptr) return {};
    return std::vector<uint8_t>(bits, bits + size);
}

}  // namespace

TEST(Element, RasterBitsAreTheEnginesOwnCopy)
{
    TestDb t;
    // 17 x 2 pixels: rows of 4 bytes. The caller's buffer is gone right after the append.
    auto* given = new uint8_t[8]{1, 2, 3, 4, 5, 6, 7, 8};
    ElementRecord in = MakeRaster(17, 2, given);
    void* element = ZUriAppendElement(&in, t.db());
    ASSERT_NE(nullptr, element);
    std::memset(given, 0xEE, 8);
    delete[] given;
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}), RasterBits(element, t, 8));

    // A change hands the engine's own bits back with more rows: the old rows are kept, the
    // new ones start blank, nothing is read past the old copy.
    ElementRecord out;
    ASSERT_EQ(element, ZUriReadElement(element, 0, &out, t.db()));
    auto grown = Typed<RasterRecord>(out);
    grown.pixelsY = 3;
    out = AsRecord(grown);
    ASSERT_NE(nullptr, ZUriChangeElement(element, &out, t.db()));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}), RasterBits(element, t, 12));

    // Without bits the element has none.
    ElementRecord bare = MakeRaster(17, 2, nullptr);
    void* plain = ZUriAppendElement(&bare, t.db());
    ASSERT_NE(nullptr, plain);
    ASSERT_EQ(plain, ZUriReadElement(plain, 0, &out, t.db()));
    EXPECT_EQ(nullptr, Typed<RasterRecord>(out).bits);
}

TEST(Element, RasterBitsOfAnImpossibleSizeAreRefused)
{
    TestDb t;
    uint8_t bits[16] = {};
    struct Case {
        int32_t w, h;
    } cases[] = {{0, 4}, {4, 0}, {-8, 4}, {4, -1}, {0x7FFFFFFF, 0x7FFFFFFF}, {65536, 65536}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        ElementRecord in = MakeRaster(c.w, c.h, bits);
        EXPECT_EQ(nullptr, ZUriAppendElement(&in, t.db()));
    }
    EXPECT_EQ(0, ZUriGetElmNum(t.db()));
    // A change to such a size is refused and keeps the old bits.
    ElementRecord good = MakeRaster(8, 2, bits);
    void* element = ZUriAppendElement(&good, t.db());
    ASSERT_NE(nullptr, element);
    ElementRecord bad = MakeRaster(65536, 65536, bits);
    EXPECT_EQ(nullptr, ZUriChangeElement(element, &bad, t.db()));
    EXPECT_EQ(std::vector<uint8_t>(4, 0), RasterBits(element, t, 4));
}
