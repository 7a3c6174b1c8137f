// The recent-command list and the input histories in "rirekimoji.ini" of a temporary settings
// folder.
#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include "../core/SettingsSandbox.h"
#include "commands/InputHistory.h"
#include "commands/RecentCommands.h"
#include "core/ConfigIo.h"

namespace {

struct HistorySandbox : SettingsSandbox {
    HistorySandbox()
    {
        CreateDirectoryA(ProgramFile("SETTEI").c_str(), nullptr);
        WriteFile(ProgramFile("SETTEI\\rirekimoji.ini"), "");
        ClearRecentCommands();
    }
    ~HistorySandbox() { ClearRecentCommands(); }

    static std::string Stored(const char* section, int slot)
    {
        char out[257] = {};
        ReadInputHistoryString(section, std::to_string(slot).c_str(), "<none>", out);
        return out;
    }
    static void Store(const char* section, const std::vector<std::string>& values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            WriteInputHistoryString(section, std::to_string(i).c_str(), values[i].c_str());
    }
    static std::vector<std::string> Values(const char* prefix, int count)
    {
        std::vector<std::string> values;
        for (int i = 0; i < count; ++i) values.push_back(prefix + std::to_string(i));
        return values;
    }
};

std::vector<std::string> MenuTexts(HMENU menu, std::vector<UINT>* ids = nullptr)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[320] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
        if (ids) ids->push_back(GetMenuItemID(menu, i));
    }
    return texts;
}

}  // namespace

TEST(InputHistory, AddingMovesDuplicatesUpDropsTheOldestAndRewritesTheSection)
{
    HistorySandbox sandbox;
    HistorySandbox::Store("K", HistorySandbox::Values("v", 20));

    AddInputHistory("v7", "K");  // already in slot 7: to the front, slots 8-19 unchanged
    EXPECT_EQ("v7", HistorySandbox::Stored("K", 0));
    for (int i = 1; i <= 7; ++i) EXPECT_EQ("v" + std::to_string(i - 1), HistorySandbox::Stored("K", i)) << i;
    for (int i = 8; i < 20; ++i) EXPECT_EQ("v" + std::to_string(i), HistorySandbox::Stored("K", i)) << i;

    AddInputHistory("new", "K");  // a twenty-first value: the one in slot 19 falls off
    EXPECT_EQ("new", HistorySandbox::Stored("K", 0));
    EXPECT_EQ("v7", HistorySandbox::Stored("K", 1));
    EXPECT_EQ("v18", HistorySandbox::Stored("K", 19));

    // An empty value changes nothing, but the section is written whole again.
    HistorySandbox::Store("E", {"a", "b"});
    AddInputHistory("", "E");
    EXPECT_EQ("a", HistorySandbox::Stored("E", 0));
    EXPECT_EQ("b", HistorySandbox::Stored("E", 1));
    EXPECT_EQ("", HistorySandbox::Stored("E", 19));

    // A "~" key keeps nothing and shows no menu.
    AddInputHistory("x", "~X");
    EXPECT_EQ("<none>", HistorySandbox::Stored("~X", 0));
    EXPECT_EQ(0, IsHistoryKeyEnabled("~X"));
    EXPECT_EQ(nullptr, BuildInputHistoryMenu("~X"));
    EXPECT_EQ(-1, ShowInputHistoryMenu(nullptr, 0, "~X"));
}

TEST(InputHistory, MenuListsTheKeysValuesAndEntriesAreCutToTheCallersBuffer)
{
    HistorySandbox sandbox;
    HistorySandbox::Store("M", {"一", "two", "三"});
    HMENU menu = BuildInputHistoryMenu("M");
    ASSERT_NE(nullptr, menu);
    std::vector<UINT> ids;
    EXPECT_EQ((std::vector<std::string>{"一", "two", "三"}), MenuTexts(menu, &ids));
    EXPECT_EQ((std::vector<UINT>{1236, 1237, 1238}), ids);
    DestroyMenu(menu);

    // The pick reads the slot of the key just shown.
    char entry[8] = {};
    GetInputHistoryEntry(entry, sizeof entry, 2);
    EXPECT_STREQ("三", entry);
    GetInputHistoryEntry(entry, sizeof entry, 20);
    EXPECT_STREQ("", entry);

    // A long double-byte value is cut on a character boundary, never past the buffer.
    std::string wide;
    for (int i = 0; i < 150; ++i) wide += "線";
    AddInputHistory(wide.c_str(), "W");
    char cut[256];
    std::memset(cut, 'Z', sizeof cut);
    GetInputHistoryEntry(cut, sizeof cut, 0);
    EXPECT_EQ(std::string(cut), wide.substr(0, 254));  // 127 characters, then the zero
}

TEST(InputHistory, ExitWritesTheDataSectionItReadNotTheKeyReadLast)
{
    HistorySandbox sandbox;
    HistorySandbox::Store("DATA", {"d0", "d1"});
    HistorySandbox::Store("NZ_STR1", {"name"});
    LoadInputHistory();
    AddInputHistory("other", "NZ_STR1");  // the working slots now hold another key
    SaveInputHistory();
    EXPECT_EQ("d0", HistorySandbox::Stored("DATA", 0));
    EXPECT_EQ("d1", HistorySandbox::Stored("DATA", 1));

    // A value added to "DATA" itself is what the exit writes.
    AddInputHistory("d2", "");
    AddInputHistory("x", "NZ_STR2");
    SaveInputHistory();
    EXPECT_EQ("d2", HistorySandbox::Stored("DATA", 0));
    EXPECT_EQ("d0", HistorySandbox::Stored("DATA", 1));
    EXPECT_EQ("other", HistorySandbox::Stored("NZ_STR1", 0));
}

TEST(RecentCommands, FrontMovesKeepTheirNameAndTheEleventhDropsTheOldest)
{
    HistorySandbox sandbox;
    for (int id = 5001; id <= 5010; ++id) AddRecentCommand(("c" + std::to_string(id)).c_str(), id);
    EXPECT_EQ(5010, GetRecentCommand(0).id);
    EXPECT_EQ(5001, GetRecentCommand(9).id);

    AddRecentCommand("renamed", GetRecentCommand(3).id);  // 5007 to the front, with its old name
    EXPECT_EQ(5007, GetRecentCommand(0).id);
    EXPECT_STREQ("c5007", GetRecentCommand(0).name);
    EXPECT_EQ((std::vector<int>{5007, 5010, 5009, 5008, 5006}),
              (std::vector<int>{GetRecentCommand(0).id, GetRecentCommand(1).id, GetRecentCommand(2).id,
                                GetRecentCommand(3).id, GetRecentCommand(4).id}));

    AddRecentCommand("new", 6000);
    EXPECT_EQ(6000, GetRecentCommand(0).id);
    EXPECT_EQ(5002, GetRecentCommand(9).id);  // 5001 fell off

    // A long status name is cut on a character boundary.
    std::string name;
    for (int i = 0; i < 60; ++i) name += "図";
    AddRecentCommand(name.c_str(), 6001);
    EXPECT_EQ(name.substr(0, 78), GetRecentCommand(0).name);

    HMENU menu = CreatePopupMenu();
    AppendRecentCommandsToMenu(menu);
    std::vector<UINT> ids;
    const std::vector<std::string> texts = MenuTexts(menu, &ids);
    DestroyMenu(menu);
    ASSERT_EQ(10u, ids.size());
    EXPECT_EQ(6001u, ids[0]);
    EXPECT_EQ("new", texts[1]);
}

TEST(RecentCommands, LoadAndSaveKeepIdsAndNamesPaired)
{
    HistorySandbox sandbox;
    LocalSettingsStackCmd& stack = GetCadSystem().stackCmd;
    // Twelve ids but five names: the rest read as empty names, the two beyond ten stay stored.
    stack.CmdId = {4001, 4002, 4003, 4004, 4005, 4006, 4007, 4008, 4009, 4010, 4011, 4012};
    stack.CmdName = {"a", "b", "c", "d", "e"};
    LoadRecentCommands();
    EXPECT_EQ(4001, GetRecentCommand(0).id);
    EXPECT_STREQ("e", GetRecentCommand(4).name);
    EXPECT_STREQ("", GetRecentCommand(5).name);
    EXPECT_EQ(4010, GetRecentCommand(9).id);

    AddRecentCommand("z", 7000);
    SaveRecentCommands();
    ASSERT_EQ(12u, stack.CmdId.size());
    ASSERT_EQ(12u, stack.CmdName.size());
    EXPECT_EQ(7000, stack.CmdId[0]);
    EXPECT_EQ("z", stack.CmdName[0]);
    EXPECT_EQ(4009, stack.CmdId[9]);
    EXPECT_EQ(4011, stack.CmdId[10]);

    // An empty record gets ten entries, empty ones as id 0.
    stack = LocalSettingsStackCmd();
    ClearRecentCommands();
    AddRecentCommand("only", 4100);
    SaveRecentCommands();
    ASSERT_EQ(10u, stack.CmdId.size());
    EXPECT_EQ(4100, stack.CmdId[0]);
    EXPECT_EQ(0, stack.CmdId[1]);
    EXPECT_EQ("", stack.CmdName[9]);
}
