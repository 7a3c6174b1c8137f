// Each message of the element family reads the fields its service takes, and refuses a missing
// record; checked on real engine databases behind the fake site.
#include "ElementServiceFixture.h"

#include <cstring>

#include "HostMessages.h"
#include "commands/MarkServices.h"
#include "commands/PlacementCopy.h"
#include "view/ViewServices.h"

namespace {

HGLOBAL Block(size_t size, char fill)
{
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memset(GlobalLock(handle), fill, size);
    GlobalUnlock(handle);
    return handle;
}

TEST_F(ElementServiceTest, ChangeFreesTheCallersImageBlockButNeverTheElementsOwn)
{
    ImageRecord image{};
    SetHeader(image.header, kElementImage);
    image.x2 = 10, image.y2 = 10;
    HGLOBAL given = Block(64, 'a');
    image.dib = given;
    image.dibSize = 64;
    void* element = Append(AsRecord(image));
    ASSERT_NE(element, nullptr);
    GlobalFree(given);  // the engine keeps a copy of its own

    ElementRecord read;
    ZUriReadElement(element, 0, &read, drawing.db());
    const HGLOBAL own = Typed<ImageRecord>(read).dib;
    ASSERT_NE(own, nullptr);
    CmdParamRecord p = ViewParam();
    p.element = reinterpret_cast<INT_PTR>(element);
    p.value1 = reinterpret_cast<INT_PTR>(&read);
    EXPECT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 1);
    EXPECT_EQ(Typed<ImageRecord>(Node(element)->record).dib, own);
    EXPECT_EQ(GlobalSize(own), 64u) << "the element's own block is alive";

    ImageRecord replaced = Typed<ImageRecord>(read);
    HGLOBAL other = Block(32, 'b');
    replaced.dib = other;
    replaced.dibSize = 32;
    ElementRecord record = AsRecord(replaced);
    p.value1 = reinterpret_cast<INT_PTR>(&record);
    EXPECT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 1);
    const HGLOBAL stored = Typed<ImageRecord>(Node(element)->record).dib;
    EXPECT_NE(stored, other);
    EXPECT_EQ(GlobalSize(stored), 32u);
}

TEST_F(ElementServiceTest, MessagesReadTheirFields)
{
    void* point = Append(MakePoint(1, 2));
    ElementRecord head = MakeComposite(kElementGroup);
    void* composite = Append(head);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    void* member = ZUriAppendMemberElement(&line, composite, drawing.db());
    ElementRecord circle = MakeCircle(0, 0, 1);
    void* second = ZUriAppendMemberElement(&circle, composite, drawing.db());

    // 2331: view +36, element +40, switch +44, record +108.
    ElementRecord out{};
    CmdParamRecord read = ViewParam();
    read.element = reinterpret_cast<INT_PTR>(point);
    read.record = 0;
    read.value1 = reinterpret_cast<INT_PTR>(&out);
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_READ_ELEMENT, 0, read)), point);
    EXPECT_EQ(out.type, kElementPoint);
    read.record = 1;
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_READ_ELEMENT, 0, read)), composite);

    // 2343 and 2621: view +36, element +40; switch +16 and member +52.
    CmdParamRecord members = ViewParam();
    members.element = reinterpret_cast<INT_PTR>(composite);
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_FIRST_MEMBER, 0, members)), member);
    members.elementRecord = member;
    EXPECT_EQ(Send(WM_CADDB_NEXT_MEMBER, 0, members), 0) << "switch +16 not 1";
    members.mode = 1;
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_NEXT_MEMBER, 0, members)), second);

    // 2585 and 2586: element +40, text +8.
    char text[] = "tagged";
    CmdParamRecord tag{};
    tag.element = reinterpret_cast<INT_PTR>(point);
    tag.text = text;
    EXPECT_NE(Send(WM_CADDB_SET_TAG_STRING, 0, tag), 0);
    char buffer[700] = {};
    tag.text = buffer;
    EXPECT_NE(Send(WM_CADDB_GET_TAG_STRING, 0, tag), 0);
    EXPECT_STREQ(buffer, "tagged");

    // 2616 and 2617: w = element, l = 256 bytes.
    uint8_t data[256] = {1, 2, 3};
    EXPECT_NE(Send(WM_CAD_SET_USERDATA, reinterpret_cast<WPARAM>(point), reinterpret_cast<LPARAM>(data)), 0);
    uint8_t back[256] = {};
    EXPECT_NE(Send(WM_CAD_GET_USERDATA, reinterpret_cast<WPARAM>(point), reinterpret_cast<LPARAM>(back)), 0);
    EXPECT_EQ(back[2], 3);

    // 2225 then 2224: the FF tag data goes with the element.
    static int ffData = 5;
    EXPECT_EQ(Send(WM_CADDB_SET_FF_TAG_DATA, 0, reinterpret_cast<LPARAM>(&ffData)), 1);
    EXPECT_EQ(GetElementServiceState().ffTagData, &ffData);
    EXPECT_NE(Send(WM_CADDB_FF_TAG, 0, reinterpret_cast<LPARAM>(point)), 0);

    // 2669 answers 0; 2226 searches the active drawing with a condition or without.
    EXPECT_EQ(Send(WM_CAD_SET_GROUP_SEARCH, 0, 0), 0);
    SearchBlock all{};
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&all));
    SearchBox box{0.5, 2.5, 1.5, 1.5};
    void* found = reinterpret_cast<void*>(Send(WM_CADDB_GET_FRAME_ELEMENT, 0, reinterpret_cast<LPARAM>(&box)));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(ZUriGetNextMark(nullptr, found), point);
    ZUriDestroyMark(found);
}

TEST_F(ElementServiceTest, GroupHeaderMessageTakesTheDatabaseWhenNoViewIsGiven)
{
    void* h = MakeFigureHeader(drawing.db());
    FigureReferenceRecord ref = MakeInstanceRecord();
    ref.z = 4;
    CmdParamRecord append = ViewParam();
    append.element = reinterpret_cast<INT_PTR>(h);
    ElementRecord refRecord = AsRecord(ref);
    append.elementRecord = &refRecord;
    void* instance = reinterpret_cast<void*>(Send(WM_CADDB_APPEND_FGROUP, 0, append));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(Typed<FigureReferenceRecord>(Node(instance)->record).z, 0.0) << "z flattened";

    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(instance);
    EXPECT_EQ(Send(WM_CADDB_GROUP_HEADER, 0, p), 0) << "no view and no database";
    p.value1 = reinterpret_cast<INT_PTR>(drawing.db());
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_GROUP_HEADER, 0, p)), h);

    // 2339: the instance at +52 becomes its placed members.
    CmdParamRecord explode = ViewParam();
    explode.elementRecord = instance;
    EXPECT_EQ(Send(WM_CADDB_REPLACE_GROUP, 0, explode), 1);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(Node(ZUriReadElement(nullptr, 0, nullptr, drawing.db()))->record.type, kElementLine);
}

TEST_F(ElementServiceTest, EveryRecordMessageRefusesANullRecord)
{
    for (UINT message : {WM_CADDB_READ_ELEMENT, WM_CADDB_APPEND_ELEMENT, WM_CADDB_CHANGE_ELEMENT, WM_CADDB_DELETE_ELEMENT,
                         WM_CADDB_SET_TAG, WM_CADDB_GET_TAG_STRING, WM_CADDB_SET_TAG_STRING, WM_CADDB_GROUP_HEADER,
                         WM_CADDB_FIRST_MEMBER, WM_CADDB_NEXT_MEMBER, WM_CADDB_APPEND_FGROUP, WM_CADDB_MAKE_GROUP,
                         WM_CADDB_ADD_MEMBER, WM_CADDB_REPLACE_GROUP, WM_CADDB_COPY_MEMBERS, WM_CAD_OPEN_DRAWING,
                         WM_CAD_CLOSE_DRAWING, WM_CADDB_SET_MARK, WM_CADDB_DEL_MARK, WM_CADDB_NEXT_MARK,
                         WM_CADDB_NEXT_MARK_EXT, WM_CADDB_CHECK_MARK, WM_CAD_LINK_SET, WM_CAD_LINK_GET,
                         WM_CAD_LINK_ENTRY_COUNT, WM_CAD_LINK_UPDATE, WM_CAD_LINK_REMOVE, WM_CADDB_LINK_SEARCH,
                         WM_CAD_ELEMENT_EXTENT, WM_CAD_TEMP_DB, WM_CADDB_SET_PLACEMENT, WM_CADDB_APPEND,
                         WM_CADDB_APPEND_EX, WM_CADDB_CHANGE, WM_CADDB_CHANGE_EX, WM_CADDB_MEM_CHANGE,
                         WM_CADDB_APPEND_MEMBERS, WM_CADDB_DELETE_MARKED, WM_CADDB_MARK_MEMBERS,
                         WM_CAD_HIGHLIGHT_ELEMENT, WM_CAD_CLEAR_ELEMENT_HIGHLIGHT}) {
        EXPECT_EQ(Send(message, 0, 0), 0) << "message " << message;
    }
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(Send(WM_CAD_GET_USERDATA, 0, 0), 0);
    EXPECT_EQ(Send(WM_CAD_SET_USERDATA, 0, 0), 0);
}

TEST_F(ElementServiceTest, BuffersThatCannotHoldTheAnswerAreRefused)
{
    void* point = Append(MakePoint(0, 0));
    ZUriSetTagString(point, std::string(500, 't').c_str());
    // The last 100 bytes of a page, the next page not committed: too small for 501 bytes.
    auto* base = static_cast<char*>(VirtualAlloc(nullptr, 8192, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(base, nullptr);
    ASSERT_NE(VirtualAlloc(base, 4096, MEM_COMMIT, PAGE_READWRITE), nullptr);
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(point);
    p.text = base + 4096 - 100;
    EXPECT_EQ(Send(WM_CADDB_GET_TAG_STRING, 0, p), 0);
    p.text = base;
    EXPECT_EQ(Send(WM_CADDB_GET_TAG_STRING, 0, p), 501);
    EXPECT_EQ(Send(WM_CAD_GET_USERDATA, reinterpret_cast<WPARAM>(point), reinterpret_cast<LPARAM>(base + 4096 - 100)), 0);
    VirtualFree(base, 0, MEM_RELEASE);
}

}  // namespace

namespace {

TEST_F(ElementServiceTest, KeepFieldsAndKeepCommandSwitches)
{
    SetKeepCommandOnClose(1);
    EXPECT_EQ(Send(WM_CAD_CLEAR_KEEP_CMD_ON_CLOSE, 0, 0), 1);
    EXPECT_EQ(IsKeepCommandOnClose(), 0);
    EXPECT_EQ(Send(WM_CAD_SET_APPEND_KEEP_FIELDS, 1, 0), 1);
    EXPECT_EQ(GetElementServiceState().keepFields, 1);
    EXPECT_EQ(Send(WM_CAD_SET_APPEND_KEEP_FIELDS, 0, 0), 1);
    EXPECT_EQ(GetElementServiceState().keepFields, 0);
}

}  // namespace
