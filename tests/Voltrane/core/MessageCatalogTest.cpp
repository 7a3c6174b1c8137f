// The message catalogue: its size and order, the texts that are easy to get wrong (empty,
// several lines, trailing blanks, Shift-JIS bytes) and the lookup of unknown ids.
#include "GTest.h"

#include <cstring>
#include <set>
#include <string>

#include "HostMessages.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"

TEST(MessageCatalog, HoldsAllEntriesInStrictlyAscendingOrder)
{
    ASSERT_EQ(1038, MessageCatalogCount);
    EXPECT_EQ(1000, MessageCatalog[0].id);
    EXPECT_EQ(7619, MessageCatalog[MessageCatalogCount - 1].id);
    for (int i = 1; i < MessageCatalogCount; ++i)
        ASSERT_LT(MessageCatalog[i - 1].id, MessageCatalog[i].id) << "at index " << i;
    for (int i = 0; i < MessageCatalogCount; ++i) {
        ASSERT_NE(nullptr, MessageCatalog[i].text);
        EXPECT_EQ(MessageCatalog[i].text, GetMessageText(MessageCatalog[i].id)) << MessageCatalog[i].id;
    }
}

TEST(MessageCatalog, RangesHoldTheExpectedNumberOfEntries)
{
    const struct {
        int first, last, count;
    } ranges[] = {
        {1000, 5999, 180}, {6000, 6999, 337}, {7000, 7619, 521}, {2000, 2027, 28}, {2050, 2058, 9},
    };
    for (const auto& r : ranges) {
        int n = 0;
        for (int i = 0; i < MessageCatalogCount; ++i)
            n += MessageCatalog[i].id >= r.first && MessageCatalog[i].id <= r.last;
        EXPECT_EQ(r.count, n) << r.first << "-" << r.last;
    }
}

TEST(MessageCatalog, EveryTextIsValidShiftJis)
{
    for (int i = 0; i < MessageCatalogCount; ++i) {
        const char* text = MessageCatalog[i].text;
        if (!*text)
            continue;
        EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0), 0) << MessageCatalog[i].id;
    }
}

TEST(MessageCatalog, UnknownIdsGiveTheErrorText)
{
    for (int id : {1002, 0, -1, 999, 2029, 5999, 7620, 2147483647, -2147483647 - 1}) {
        const char* text = GetMessageText(id);
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ("?ERROR?", text) << id;
    }
}

TEST(MessageCatalog, KnownTexts)
{
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {1009, ""},
        {1010, ""},
        {6898, ""},
        {6899, ""},
        {1000, "システムの環境が異常です"},
        {2000, "A0 横"},
        {2027, "B6 縦"},
        {4008, "図面情報変更"},
        {5116, "図面情報変更"},
        {2050, "実線"},
        {5713, "実線"},
        {6072, "自由 "},
        {7000, "ﾚｲﾔ設定"},
        {7619, "このファイルのラスターデータは表示できません。"},
        {5001, "この図面は変更されています\n保存しますか？"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, GetMessageText(c.id)) << c.id;
    // Equal texts under different ids are separate entries.
    EXPECT_NE(GetMessageText(4008), GetMessageText(5116));
    EXPECT_NE(GetMessageText(2050), GetMessageText(5713));
}

TEST(MessageCatalog, TextsAreShiftJisBytes)
{
    // "横" is 89 A1; half-width katakana are single bytes; "表" has the trail byte 5C.
    EXPECT_EQ(0, std::memcmp(GetMessageText(2000), "A0 \x89\xA1", 6));
    EXPECT_EQ(0, std::memcmp(GetMessageText(7000), "\xDA\xB2\xD4", 3));
    EXPECT_EQ(0, std::memcmp(GetMessageText(4015), "\x95\x5C\x8E\xA6", 4));
    EXPECT_EQ(std::strlen("表示レイヤーの設定"), std::strlen(GetMessageText(4015)));
}

TEST(MessageCatalog, TrailingBlanksSurvive)
{
    const struct {
        int id;
        int blanks;
        const char* text;
    } cases[] = {
        {6072, 1, "自由 "},
        {6204, 2, "プロッタ出力:環境設定  "},
        {7194, 1, "アドレス取得失敗 "},
        {7207, 3, "グリッドの設定   "},
        {7221, 3, "このファイルは他のユーザによってロックされています\n保存できませんエラー   "},
        {7231, 1, "この図面フォーマットには対応していません "},
        {7237, 1, "これ以上ウィンドウを開けません "},
        {7243, 1, "シンボル情報が異常です "},
        {7271, 1, "ファイルが異常です。図面と認識できません。 "},
        {7274, 1, "ファイルの種類が判断できません "},
        {7275, 1, "ファイルの保存に失敗しました "},
        {7308, 1, "メモリが不足しています\n読込を中断しました "},
        {7386, 1, "現在、この図面フォーマットには対応していません "},
        {7482, 1, "図面ファイルが識別できません "},
        {7484, 1, "図面情報が異常です "},
        {7572, 1, "複数起動チェック "},
        {7598, 4, "名称を入力してください。    "},
        {7607, 1, "要素情報が異常です "},
    };
    std::set<int> expected;
    for (const auto& c : cases) {
        expected.insert(c.id);
        const std::string text = GetMessageText(c.id);
        EXPECT_EQ(c.text, text) << c.id;
        const size_t last = text.find_last_not_of(' ');
        EXPECT_EQ(static_cast<size_t>(c.blanks), text.size() - (last + 1)) << c.id;
    }
    // No other text ends in a blank.
    std::set<int> found;
    for (int i = 0; i < MessageCatalogCount; ++i) {
        const size_t n = std::strlen(MessageCatalog[i].text);
        if (n && MessageCatalog[i].text[n - 1] == ' ')
            found.insert(MessageCatalog[i].id);
    }
    EXPECT_EQ(expected, found);
}

TEST(MessageCatalog, LineFeedsAreSingleCharacters)
{
    const struct {
        int id;
        int lineFeeds;
    } cases[] = {
        {1008, 1}, {5001, 1}, {5125, 1}, {6501, 1}, {6622, 4}, {7102, 1}, {7105, 1}, {7116, 1}, {7118, 1},
        {7212, 1}, {7218, 1}, {7219, 1}, {7221, 1}, {7222, 1}, {7234, 2}, {7241, 2}, {7250, 1}, {7263, 1},
        {7307, 1}, {7308, 1}, {7310, 1}, {7316, 1}, {7326, 1}, {7387, 1}, {7398, 1}, {7514, 1},
    };
    std::set<int> expected;
    for (const auto& c : cases) {
        expected.insert(c.id);
        const std::string text = GetMessageText(c.id);
        int n = 0;
        for (char ch : text)
            n += ch == '\n';
        EXPECT_EQ(c.lineFeeds, n) << c.id;
    }
    std::set<int> found;
    for (int i = 0; i < MessageCatalogCount; ++i) {
        // A backslash only ever stands as the second byte of a double-byte character.
        const char* text = MessageCatalog[i].text;
        for (size_t k = 0; text[k]; ++k) {
            if (text[k] == '\\') {
                EXPECT_TRUE(DbcsIsTrailByte(text, k)) << MessageCatalog[i].id;
            }
        }
        EXPECT_EQ(nullptr, std::strchr(MessageCatalog[i].text, '\r')) << MessageCatalog[i].id;
        if (std::strchr(MessageCatalog[i].text, '\n'))
            found.insert(MessageCatalog[i].id);
    }
    EXPECT_EQ(expected, found);
    EXPECT_STREQ("DBとの連携があります｡DBの登録情報も削除されますがよろしいですか?\n\n「はい」図形、ＤＢの削除\n"
                 "「いいえ」図形のみ削除\n「キャンセル」削除処理中止",
                 GetMessageText(6622));
}

TEST(MessageCatalog, HostMessageAnswersAPointerIntoTheCatalogue)
{
    EXPECT_EQ(2547u, WM_CAD_GET_MESSAGE_TEXT);
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetMessageText(2000)), AnswerGetMessageText(0, 2000));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetMessageText(1009)), AnswerGetMessageText(123, 1009));
    EXPECT_STREQ("?ERROR?", reinterpret_cast<const char*>(AnswerGetMessageText(0, 1002)));
}
