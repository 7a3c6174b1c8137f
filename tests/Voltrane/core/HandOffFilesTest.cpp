// "to_cad.atr" to link mode, the exchange file, and the single-instance semaphore.
#include "GTest.h"

#include "TempFolder.h"
#include "core/HandOffFiles.h"
#include "core/SingleInstance.h"

TEST(HandOffFiles, FirstLineNumberToLinkMode)
{
    const struct {
        const char* content;
        int linkMode;
        bool exchangeEmptied;
    } cases[] = {
        {"1\n", 99, true},   {"2", 0, true},      {"3\r\n", 1, false}, {"4", 2, false},
        {"5", 3, false},     {"6", 4, false},     {"7 and more", 5, false},
        {"10", 10, false},   {"8", -1, false},    {"9", -1, false},    {"0", -1, false},
        {"", -1, false},     {"abc", -1, false},  {"\n3", -1, false},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        ASSERT_TRUE(folder.Write("to_cad.atr", c.content));
        ASSERT_TRUE(folder.Write("hiroisyuukei.csv", "data,1\n"));
        EXPECT_EQ(ReadLinkModeFrom(folder.File("to_cad.atr").c_str(),
                                   folder.File("hiroisyuukei.csv").c_str()),
                  c.linkMode)
            << "'" << c.content << "'";
        EXPECT_EQ(folder.Read("hiroisyuukei.csv").empty(), c.exchangeEmptied) << c.content;
    }
}

TEST(HandOffFiles, MissingFileGivesNoLinkMode)
{
    TempFolder folder;
    EXPECT_EQ(ReadLinkModeFrom(folder.File("to_cad.atr").c_str(), folder.File("x.csv").c_str()), -1);
    EXPECT_EQ(ReadLinkModeFrom(nullptr, nullptr), -1);
}

TEST(HandOffFiles, ExchangeFileIsCreatedWhenAbsent)
{
    TempFolder folder;
    folder.Write("to_cad.atr", "1");
    EXPECT_EQ(ReadLinkModeFrom(folder.File("to_cad.atr").c_str(), folder.File("x.csv").c_str()), 99);
    EXPECT_EQ(GetFileAttributesA(folder.File("x.csv").c_str()) != INVALID_FILE_ATTRIBUTES, true);
    EXPECT_EQ(CreateEmptyFile(folder.File("from_cad.atr").c_str()), 1);
    EXPECT_EQ(CreateEmptyFile(folder.File("no\\such\\folder\\f").c_str()), 0);
}

TEST(SingleInstance, SecondOpenSeesTheFirst)
{
    std::string name = "VoltraneTest" + std::to_string(GetCurrentProcessId());
    CMySemaphore first(name.c_str());
    EXPECT_EQ(first.Open(), 0);
    {
        CMySemaphore second(name.c_str());
        EXPECT_EQ(second.Open(), 1);
    }
    EXPECT_EQ(ProgramBaseName(), "Voltrane_core_Tests");
}
