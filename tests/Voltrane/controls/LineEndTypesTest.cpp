// The line-end types that the end-mark pickers offer and their list rows.
#include "GTest.h"

#include <algorithm>
#include <iterator>

#include "controls/LineEndTypes.h"
#include "core/ConfigData.h"

namespace {

class MaskGuard {
public:
    MaskGuard() { std::copy(std::begin(LineEndTypeEnableMask), std::end(LineEndTypeEnableMask), m_saved); }
    ~MaskGuard() { std::copy(std::begin(m_saved), std::end(m_saved), LineEndTypeEnableMask); }

private:
    int m_saved[kLineEndTypeCount];
};

}  // namespace

TEST(LineEndTypes, SettingsRecordEnablesTypesZeroToFourteen)
{
    MaskGuard guard;
    std::fill(std::begin(LineEndTypeEnableMask), std::end(LineEndTypeEnableMask), 0);
    ConfigData record;
    for (int i = 0; i < 15; ++i) EXPECT_EQ(LineEndTypeEnableMask[i], 1) << i;
    EXPECT_EQ(LineEndTypeEnableMask[15], 0);
    // All of 0..14 enabled: rows and types coincide; 15 lands on the row before it.
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(LineEndTypeToListRow(i), i);
        EXPECT_EQ(ListRowToLineEndType(i), i);
    }
    EXPECT_EQ(LineEndTypeToListRow(15), 14);
    EXPECT_EQ(ListRowToLineEndType(15), 0);  // past the last enabled type
    // A type outside 0 to 15 (an element's byte may hold any) has row 0.
    EXPECT_EQ(LineEndTypeToListRow(16), 0);
}

TEST(LineEndTypes, DisabledTypesTakeNoRow)
{
    MaskGuard guard;
    std::fill(std::begin(LineEndTypeEnableMask), std::end(LineEndTypeEnableMask), 0);
    for (int type : {1, 4, 5, 9}) LineEndTypeEnableMask[type] = 1;
    const struct {
        int type;
        int row;
    } rows[] = {{0, -1}, {1, 0}, {2, 0}, {4, 1}, {5, 2}, {6, 2}, {9, 3}, {15, 3}, {16, 0}, {255, 0}, {-1, 0}};
    for (const auto& c : rows) EXPECT_EQ(LineEndTypeToListRow(c.type), c.row) << c.type;
    const struct {
        int row;
        int type;
    } types[] = {{0, 1}, {1, 4}, {2, 5}, {3, 9}, {4, 0}, {-1, 0}};
    for (const auto& c : types) EXPECT_EQ(ListRowToLineEndType(c.row), c.type) << c.row;
}
