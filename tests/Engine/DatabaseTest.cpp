#include "GTest.h"

#include "EngineFixture.h"

#include <cmath>

TEST(Database, LifeOfARecord)
{
    EngineDbRecord record{};
    EXPECT_EQ(0, ZUriDeleteDB(&record));
    EXPECT_EQ(0, ZUriCreateDB(nullptr));
    ASSERT_EQ(1, QmCreateMemPools(&record));
    ASSERT_EQ(1, ZUriCreateDB(&record));
    EXPECT_NE(nullptr, record.info);
    EXPECT_EQ(0, ZUriGetElmNum(&record));

    // A copy of the record (a second view of the drawing) reaches the same database.
    ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriAppendElement(&line, &record);
    EngineDbRecord copy;
    std::memcpy(&copy, &record, sizeof copy);
    EXPECT_EQ(1, ZUriGetElmNum(&copy));

    // The preview bitmap word is the owner's: the engine leaves it alone.
    record.preview = reinterpret_cast<HBITMAP>(0x1234);
    EXPECT_EQ(1, ZUriDeleteDB(&record));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(0x1234), record.preview);
    EXPECT_EQ(nullptr, record.info);
    EXPECT_EQ(nullptr, record.firstElement);
    // Neither the record nor its stale copy reaches anything now.
    EXPECT_EQ(-1, ZUriGetElmNum(&record));
    EXPECT_EQ(-1, ZUriGetElmNum(&copy));
    EXPECT_EQ(0, ZUriDeleteDB(&copy));
    EXPECT_EQ(nullptr, ZUriAppendElement(&line, &copy));

    // Zeroed again, the record makes a fresh database; the stale copy stays refused.
    std::memset(&record, 0, sizeof record);
    ASSERT_EQ(1, ZUriCreateDB(&record));
    EXPECT_EQ(0, ZUriGetElmNum(&record));
    EXPECT_EQ(-1, ZUriGetElmNum(&copy));
    EXPECT_EQ(1, ZUriDeleteDB(&record));
}

TEST(Database, CheckModeAndMaximumCoordinate)
{
    TestDb t;
    int previousMode = ZUriSetElementCheckMode(1);
    LineRecord typed = Typed<LineRecord>(MakeLine(0, 0, 1, 1));
    typed.y2 = INFINITY;
    ElementRecord infinite = AsRecord(typed);
    EXPECT_EQ(nullptr, ZUriAppendElement(&infinite, t.db()));

    ZUriSetMaxCoord(1, 1000.0);
    ElementRecord farAway = MakeLine(0, 0, 5000, 0), near1 = MakeLine(0, 0, 999, 0);
    EXPECT_EQ(nullptr, ZUriAppendElement(&farAway, t.db()));
    EXPECT_NE(nullptr, ZUriAppendElement(&near1, t.db()));
    ZUriSetMaxCoord(0, 1.0e100);
    EXPECT_NE(nullptr, ZUriAppendElement(&farAway, t.db()));

    // Mode 0 stores records unchecked apart from their page and layer.
    ZUriSetElementCheckMode(0);
    EXPECT_NE(nullptr, ZUriAppendElement(&infinite, t.db()));
    ElementRecord badLayer = MakeLine(0, 0, 1, 1, 2000);
    EXPECT_EQ(nullptr, ZUriAppendElement(&badLayer, t.db()));
    ZUriSetElementCheckMode(previousMode);

    EXPECT_EQ(1, ZUriSetSettingsDataInt("iVectFontWidth", 1));
    EXPECT_EQ(0, ZUriSetSettingsDataInt(nullptr, 1));
    int previous = QmSetHighlightColor(7);
    EXPECT_EQ(7, QmSetHighlightColor(previous));
    // A colour outside 1..256 leaves the highlight colour as it was.
    QmSetHighlightColor(999);
    EXPECT_EQ(previous, QmSetHighlightColor(previous));
}
