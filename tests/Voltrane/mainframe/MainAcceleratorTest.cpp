// Reading and writing "RovOdidov.key".
#include "GTest.h"

#include <string>
#include <vector>

#include "TempFolder.h"
#include "mainframe/DefinitionLines.h"
#include "mainframe/MainAccelerator.h"

namespace {

std::vector<ACCEL> Custom(const std::string& lines)
{
    std::vector<ACCEL> entries;
    ReadKeySection("[CustomKey]\r\nBEGIN\r\n" + lines + "END\r\n", "[CustomKey]", entries);
    return entries;
}

}  // namespace

TEST(AcceleratorFile, EntryLinesBecomeKeysCommandsAndFlags)
{
    const struct {
        const char* line;
        size_t count;
        WORD key;
        WORD cmd;
        BYTE flags;
    } cases[] = {
        {"\"VK_F10\",1240,VIRTKEY", 1, VK_F10, 1240, FVIRTKEY},
        {"\"S\",4002,VIRTKEY,CONTROL ; save", 1, 'S', 4002, FVIRTKEY | FCONTROL},
        {"\"S\",4002,VIRTKEY;x,CONTROL", 1, 'S', 4002, FVIRTKEY},
        {"\"S\",4002,VIRTKEY//x,CONTROL", 1, 'S', 4002, FVIRTKEY},
        {"\"S\",4002,//VIRTKEY,CONTROL", 1, 'S', 4002, 0},
        {"\"7\",3005,VIRTKEY,NUM", 1, '7', 3005, FVIRTKEY | kAccelNum},
        {"\"VK_DELETE\",7130,VIRTKEY,SHIFT,ALT,NOINVERT", 1, VK_DELETE, 7130, FVIRTKEY | FSHIFT | FALT | FNOINVERT},
        {"\"VK_F5\",3005,VIRTKEY,control,BOGUS", 1, VK_F5, 3005, FVIRTKEY},
        {"\"vk_f5\",3005,VIRTKEY", 0, 0, 0, 0},          // key names are case-sensitive
        {"\"VK_NOPE\",3005,VIRTKEY", 0, 0, 0, 0},
        {"\"AB\",3005,VIRTKEY", 0, 0, 0, 0},
        {"\"A\",70000,VIRTKEY", 1, 'A', 70000 & 0xFFFF, FVIRTKEY},
        {"\"A\"", 1, 'A', 0, 0},                          // kept here; a normal load drops it
        // A lower-case letter is the letter's key, not the keypad key with the same code.
        {"\"a\",4001,VIRTKEY,CONTROL", 1, 'A', 4001, FVIRTKEY | FCONTROL},
        {"\"z\",1209,VIRTKEY,CONTROL", 1, 'Z', 1209, FVIRTKEY | FCONTROL},
    };
    for (const auto& c : cases) {
        std::vector<ACCEL> entries = Custom(std::string("    ") + c.line + "\r\n");
        ASSERT_EQ(entries.size(), c.count) << c.line;
        if (c.count == 0) continue;
        EXPECT_EQ(entries[0].key, c.key) << c.line;
        EXPECT_EQ(entries[0].cmd, c.cmd) << c.line;
        EXPECT_EQ(entries[0].fVirt, c.flags) << c.line;
    }
}

TEST(AcceleratorFile, SectionRules)
{
    std::vector<ACCEL> entries;
    const std::string text =
        "\"A\",1,VIRTKEY\r\n"               // before any header: ignored
        "[SystemKey]\r\nBEGIN\r\n\"B\",2,VIRTKEY\r\nEND\r\n"
        "[CustomKey]\r\n"
        "\"C\",3,VIRTKEY\r\n"               // between header and BEGIN: ignored
        "BEGIN\r\n; comment\r\n// comment\r\n\r\n"
        "\"D\",4,VIRTKEY\r\n"
        "BEGIN\r\n"                         // a second BEGIN changes nothing
        "\"E\",5,VIRTKEY\r\n"
        "END\r\n"
        "\"F\",6,VIRTKEY\r\n";
    EXPECT_EQ(ReadKeySection(text, "[CustomKey]", entries), 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, 'D');
    EXPECT_EQ(entries[1].key, 'E');

    std::vector<ACCEL> none;
    EXPECT_EQ(ReadKeySection("[CustomKey]\r\nBEGIN\r\n\"VK_NOPE\",1,VIRTKEY\r\nEND\r\n", "[CustomKey]", none), -1);
    EXPECT_EQ(ReadKeySection("", "[CustomKey]", none), -1);
    EXPECT_EQ(ReadKeySection("[CustomKey]\r\n\"A\",1,VIRTKEY\r\n", "[CustomKey]", none), -1) << "no BEGIN";
}

TEST(AcceleratorFile, KeyNameTable)
{
    EXPECT_EQ(KeyNameTableCount(), 154);
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x15, 0), "VK_KANA");
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x15, 1), "KANA");
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x19, 0), "VK_HANJA");
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x92, 0), "VK_OEM_NEC_EQUAL");
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x41, 0), "A");
    EXPECT_EQ(CMainAccelerator::GetKeyName(0x07, 0), "");
    EXPECT_EQ(CMainAccelerator::GetKeyName(VK_SPACE, 1), "スペース");
    EXPECT_EQ(CMainAccelerator::GetKeyName(VK_LEFT, 1), "←");
    EXPECT_EQ(CMainAccelerator::GetKeyName(VK_F24, 1), "F24");
    EXPECT_EQ(CMainAccelerator::GetKeyName(VK_OEM_CLEAR, 0), "VK_OEM_CLEAR");
    EXPECT_EQ(FindKeyCode("VK_NUMPAD1"), 0x61);
    EXPECT_EQ(FindKeyCode("VK_KANJI"), 0x19);
    EXPECT_EQ(FindKeyCode("VK_F13"), VK_F13);
    EXPECT_EQ(FindKeyCode("F13"), 0);
    EXPECT_EQ(FormatFlagNames(FVIRTKEY | FCONTROL | kAccelNum), "VIRTKEY,CONTROL,NUM");
    EXPECT_EQ(FormatFlagNames(0), "");
    ACCEL entry = {FVIRTKEY | FSHIFT, VK_F5, 3005};
    EXPECT_EQ(FormatKeyLine(entry), "\"VK_F5\",3005,VIRTKEY,SHIFT");
}

TEST(AcceleratorFile, LoadSplitsTypedNumberKeysFromTheTable)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("k.key",
                             "[CustomKey]\r\nBEGIN\r\n"
                             "    \"VK_F10\",1240,VIRTKEY\r\n"
                             "    \"VK_RETURN\",3020,VIRTKEY,NUM\r\n"
                             "    \"X\",0,VIRTKEY\r\n"
                             "END\r\n[SystemKey]\r\nBEGIN\r\n"
                             "    \"S\",4012,VIRTKEY,CONTROL\r\n"
                             "    \"VK_PRIOR\",3040,VIRTKEY,NUM\r\n"
                             "END\r\n"));
    CMainAccelerator accelerator;
    std::vector<ACCEL> list;
    EXPECT_EQ(accelerator.ReadKeyFileAt(folder.File("k.key").c_str(), list, 0), 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].cmd, 1240);
    EXPECT_EQ(list[1].cmd, 4012);
    ASSERT_EQ(accelerator.TypedNumberEntries().size(), 2u);
    EXPECT_TRUE(accelerator.SystemEntries().empty());

    // Typed-number keys answer only the exact flags.
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    MSG msg = {window, WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_EQ(accelerator.DispatchKey(window, &msg, FVIRTKEY | kAccelNum), 1);
    EXPECT_EQ(accelerator.DispatchKey(window, &msg, FVIRTKEY), 0);
    msg.wParam = VK_F10;
    EXPECT_EQ(accelerator.DispatchKey(window, &msg, FVIRTKEY | kAccelNum), 0);
    DestroyWindow(window);

    std::vector<ACCEL> missing;
    EXPECT_EQ(accelerator.ReadKeyFileAt(folder.File("none.key").c_str(), missing, 0), -1);
}

TEST(AcceleratorFile, SaveAfterAKeepAllReadKeepsTheSystemSection)
{
    TempFolder folder;
    const std::string original =
        "[CustomKey]\r\nBEGIN\r\n    \"a\",4001,VIRTKEY,CONTROL\r\nEND\r\n"
        "[SystemKey]\r\nBEGIN\r\n    \"VK_F4\",4006,VIRTKEY,ALT\r\n    \"7\",3005,VIRTKEY,NUM\r\nEND\r\n";
    ASSERT_TRUE(folder.Write("k.key", original));
    CMainAccelerator accelerator;
    std::vector<ACCEL> custom;
    ASSERT_EQ(accelerator.ReadKeyFileAt(folder.File("k.key").c_str(), custom, 1), 0);
    ASSERT_EQ(custom.size(), 1u);
    ASSERT_EQ(accelerator.SystemEntries().size(), 2u);

    ACCEL added = {FVIRTKEY, VK_F5, 1314};
    custom.push_back(added);
    ASSERT_EQ(accelerator.SaveAt(folder.File("k.key").c_str(), custom), 0);
    EXPECT_EQ(folder.Read("k.key"),
              "[CustomKey]\r\nBEGIN\r\n    \"A\",4001,VIRTKEY,CONTROL\r\n    \"VK_F5\",1314,VIRTKEY\r\nEND\r\n"
              "[SystemKey]\r\nBEGIN\r\n    \"VK_F4\",4006,VIRTKEY,ALT\r\n    \"7\",3005,VIRTKEY,NUM\r\nEND\r\n");

    // The written file reads back to the same keys.
    std::vector<ACCEL> again;
    CMainAccelerator reader;
    ASSERT_EQ(reader.ReadKeyFileAt(folder.File("k.key").c_str(), again, 1), 0);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].key, 'A');
    EXPECT_EQ(again[1].key, VK_F5);

    // Nothing is written without a custom list or without system entries.
    EXPECT_EQ(accelerator.SaveAt(folder.File("k.key").c_str(), std::vector<ACCEL>()), -1);
    CMainAccelerator empty;
    EXPECT_EQ(empty.SaveAt(folder.File("other.key").c_str(), custom), -1);
    EXPECT_EQ(folder.Read("other.key"), "");
}

TEST(AcceleratorFile, TheInstalledKeyFileMakesATable)
{
    CMainAccelerator accelerator;
    std::vector<ACCEL> list;
    ASSERT_EQ(accelerator.ReadKeyFileAt((ProgramFolder() + "RovOdidov.key").c_str(), list, 0), 0);
    EXPECT_FALSE(list.empty());
    EXPECT_FALSE(accelerator.TypedNumberEntries().empty());
    for (const ACCEL& entry : list) EXPECT_LT(entry.fVirt, kAccelNum);
}
