#include "GTest.h"

#include "EngineFixture.h"

#include <vector>

namespace {

// The member walk the program does: the head's count, minus one per member, plus the count of
// every member that is itself a composite.
std::vector<void*> WalkMembers(void* head)
{
    std::vector<void*> seen;
    int count = Node(head)->memberCount;
    for (EngineNode* m = Node(head)->nextMember; m != nullptr && count > 0; m = m->nextMember) {
        seen.push_back(m);
        --count;
        if (IsCompositeType(m->record.type)) count += m->memberCount;
    }
    return seen;
}

}  // namespace

TEST(Group, NestedCompositeChainAndCounts)
{
    TestDb t;
    ElementRecord head = MakeComposite(kElementGroup), inner = MakeComposite(kElementComposite);
    ElementRecord l1 = MakeLine(0, 0, 1, 0), l2 = MakeLine(1, 0, 1, 1), l3 = MakeLine(1, 1, 0, 1);
    void* g = ZUriAppendElement(&head, t.db());
    void* m1 = ZUriAppendMemberElement(&l1, g, t.db());
    void* c = ZUriAppendMemberElement(&inner, g, t.db());
    void* c1 = ZUriAppendMemberElement(&l2, c, t.db());
    void* m3 = ZUriAppendMemberElementExt(&l3, g, t.db(), c1);
    ASSERT_TRUE(g && m1 && c && c1 && m3);

    EXPECT_EQ(3, ZUriGetMemberNum(g, t.db()));
    EXPECT_EQ(1, ZUriGetMemberNum(c, t.db()));
    EXPECT_EQ((std::vector<void*>{m1, c, c1, m3}), WalkMembers(g));

    // First / next member follow the same chain; the second form gives direct members only.
    ElementRecord out;
    EXPECT_EQ(m1, ZUriReadFirstMember(g, &out, t.db()));
    EXPECT_EQ(kElementLine, out.type);
    EXPECT_EQ(c, ZUriReadFirstMember(m1, nullptr, t.db()));
    EXPECT_EQ(c1, ZUriReadNextMember(c, nullptr, t.db()));
    EXPECT_EQ(m3, ZUriReadNextMember(c1, nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriReadNextMember(m3, nullptr, t.db()));
    EXPECT_EQ(m1, ZUriReadNextMember2(g, nullptr));
    EXPECT_EQ(c, ZUriReadNextMember2(g, m1));
    EXPECT_EQ(m3, ZUriReadNextMember2(g, c));
    EXPECT_EQ(nullptr, ZUriReadNextMember2(g, m3));

    // Members are not elements of the chain.
    EXPECT_EQ(1, ZUriGetElmNum(t.db()));

    // Deleting a member keeps the chain whole.
    EXPECT_EQ(1, ZUriDeleteElement(c, t.db()));
    EXPECT_EQ((std::vector<void*>{m1, m3}), WalkMembers(g));
    EXPECT_EQ(2, ZUriGetMemberNum(g, t.db()));
}

TEST(Group, FigureGroupHeaderAndInstances)
{
    TestDb t;
    FigureHeaderRecord h{};
    h.originX = 5.0;
    h.originY = 6.0;
    ElementRecord headerRecord = AsRecord(h);
    headerRecord.type = kElementFigureHeader;
    void* header = ZUriCreateFgroupHead(&headerRecord, t.db());
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(header, t.record.firstGroupHeader);
    ElementRecord l = MakeLine(5, 6, 7, 8);
    void* member = ZUriAppendMemberElement(&l, header, t.db());
    ASSERT_NE(nullptr, member);

    FigureReferenceRecord ref{};
    SetHeader(ref.header, kElementFigureReference);
    ref.scaleX = ref.scaleY = 2.0;
    ref.x = 100.0;
    void* instance = ZUriAppendFgroup(header, &ref, t.db());
    ASSERT_NE(nullptr, instance);
    EXPECT_EQ(header, ZUriGetFgroupHeaderIdx(instance, t.db()));
    EXPECT_EQ(Node(header), Node(instance)->groupHeader);
    EXPECT_EQ(0, Node(instance)->memberCount);  // header index
    EXPECT_EQ(1, ZUriGetMemberNum(header, t.db()));
    EXPECT_EQ(member, ZUriReadFirstMember(header, nullptr, t.db()));
    EXPECT_EQ(member, ZUriReadFirstMember(instance, nullptr, t.db()));
    ElementRecord out;
    EXPECT_EQ(header, ZUriReadFgroupElement(header, &out, t.db()));
    EXPECT_DOUBLE_EQ(5.0, Typed<FigureHeaderRecord>(out).originX);
    ElementRecord plain = MakeLine(0, 0, 1, 1);
    EXPECT_EQ(nullptr, ZUriGetFgroupHeaderIdx(ZUriAppendElement(&plain, t.db()), t.db()));
    EXPECT_EQ(header, ZUriGetFgroupHeaderIdx(member, t.db()));
    EXPECT_EQ(2, ZUriGetElmNum(t.db()));
    // An instance of something that is not a header is refused.
    EXPECT_EQ(nullptr, ZUriAppendFgroup(instance, &ref, t.db()));
}

TEST(Group, MakeGroupMovesCopiesOfTheElements)
{
    TestDb t;
    ElementRecord a = MakeLine(0, 0, 1, 0), b = MakeCircle(0, 0, 3);
    void* handles[3] = {ZUriAppendElement(&a, t.db()), ZUriAppendElement(&b, t.db()), nullptr};
    int bogus = 0;
    handles[2] = &bogus;
    ZUriSetTag(handles[0], 210, 1);
    void* group = ZUriMakeGroupExtrIdx(3, handles, t.db());
    ASSERT_NE(nullptr, group);
    EXPECT_EQ(1, ZUriGetElmNum(t.db()));
    ElementRecord out;
    ZUriReadElement(group, 0, &out, t.db());
    EXPECT_EQ(kElementGroup, out.type);
    EXPECT_EQ(2, ZUriGetMemberNum(group, t.db()));
    void* first = ZUriReadFirstMember(group, &out, t.db());
    EXPECT_EQ(kElementLine, out.type);
    EXPECT_EQ(1, ZUriGetTag(first, 210));
    // The originals are gone.
    EXPECT_EQ(nullptr, ZUriReadElement(handles[0], 0, nullptr, t.db()));
    EXPECT_EQ(nullptr, ZUriMakeGroupExtrIdx(0, handles, t.db()));
    EXPECT_EQ(nullptr, ZUriMakeGroupExtrIdx(1, nullptr, t.db()));
}
