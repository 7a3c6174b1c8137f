// "to_cad.atr" to link mode, the exchange file, and the single-instance semaphore.
#include "GTest.h"

#include "SettingsSandbox.h"
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

TEST(HandOffFiles, ProgramFoldersOfTheHandOffAndExchangeFiles)
{
    SettingsSandbox sandbox;
    std::string settei = sandbox.ProgramDir() + "\\SETTEI";
    std::string denkid = sandbox.ProgramDir() + "\\DENKID";
    EXPECT_EQ(GetHandOffFilePath("to_cad.atr"), settei + "\\to_cad.atr");
    EXPECT_EQ(GetExchangeFilePath("hiroisyuukei.csv"), denkid + "\\hiroisyuukei.csv");
    EXPECT_EQ(ReadLinkMode(2), -1);  // no hand-off file: the normal start

    ASSERT_TRUE(CreateDirectoryA(settei.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(denkid.c_str(), nullptr));
    ASSERT_TRUE(SettingsSandbox::WriteFile(settei + "\\to_cad.atr", "5\r\n"));
    EXPECT_EQ(ReadLinkMode(2), 3);
    ASSERT_TRUE(SettingsSandbox::WriteFile(settei + "\\to_cad.atr", "1"));
    ASSERT_TRUE(SettingsSandbox::WriteFile(denkid + "\\hiroisyuukei.csv", "a,b\r\n"));
    EXPECT_EQ(ReadLinkMode(2), 99);
    EXPECT_TRUE(SettingsSandbox::Exists(denkid + "\\hiroisyuukei.csv"));
    EXPECT_EQ(SettingsSandbox::ReadFile(denkid + "\\hiroisyuukei.csv"), "");
    // The hand-off file itself is never changed.
    EXPECT_EQ(SettingsSandbox::ReadFile(settei + "\\to_cad.atr"), "1");

    ASSERT_TRUE(SettingsSandbox::WriteFile(settei + "\\from_cad.atr", "old"));
    EXPECT_EQ(CreateFromCadAtrFile(), 1);
    EXPECT_TRUE(SettingsSandbox::Exists(settei + "\\from_cad.atr"));
    EXPECT_EQ(SettingsSandbox::ReadFile(settei + "\\from_cad.atr"), "");
}
