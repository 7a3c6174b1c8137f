// The drawing-file list: blocks of 101 entries that never move, selection, folder scans and
// the display texts cut on character boundaries.
#include "GTest.h"

#include <string>

#include "TempFolder.h"
#include "drawing/FileListCache.h"

namespace {

TEST(FileListCache, BlocksOf101EntriesThatStayInPlace)
{
    FreeFileList();
    EXPECT_EQ(GetFileListCount(), 0);
    for (int i = 0; i < 101; ++i) ASSERT_EQ(AddFileListEntry(("C:\\d\\" + std::to_string(i) + ".tcf").c_str()), 1);
    EXPECT_EQ(GetFileListBlockCount(), 1);
    EngineDbRecord* first = GetFileListEntryDb(0);
    ASSERT_EQ(AddFileListEntry("C:\\d\\101.tcf"), 1);
    EXPECT_EQ(GetFileListBlockCount(), 2);
    EXPECT_EQ(GetFileListCount(), 102);
    EXPECT_EQ(GetFileListEntryDb(0), first) << "entries never move";
    EXPECT_STREQ(GetFileListEntryPath(101), "C:\\d\\101.tcf");
    EXPECT_STREQ(GetFileListEntryPath(102), "");
    EXPECT_EQ(GetFileListEntryDb(102), nullptr);
    // Selection.
    EXPECT_EQ(ToggleFileListEntry(5), 0);
    EXPECT_EQ(IsFileListEntrySelected(5), 1);
    EXPECT_EQ(ToggleFileListEntry(5), 1);
    EXPECT_EQ(IsFileListEntrySelected(5), 0);
    EXPECT_EQ(ToggleFileListEntry(500), 0);
    FreeFileList();
    EXPECT_EQ(GetFileListCount(), 0);
    FreeFileList();
    EXPECT_EQ(GetFileListCount(), 0);
}

TEST(FileListCache, LongPathsAreCutOnACharacterBoundary)
{
    FreeFileList();
    std::string path = "C:\\" + std::string(265, 'a') + "図面.tcf";
    AddFileListEntry(path.c_str());
    const std::string stored = GetFileListEntryPath(0);
    EXPECT_EQ(stored.size(), 268u) << "the double-byte character that would not fit whole is left out";
    FreeFileList();
}

TEST(FileListCache, FolderScanSkipsFolders)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("a.tcf", "x"));
    ASSERT_TRUE(folder.Write("b.tcf", "y"));
    ASSERT_TRUE(folder.Write("c.dxf", "z"));
    CreateDirectoryA(folder.File("d.tcf").c_str(), nullptr);
    FreeFileList();
    EXPECT_EQ(BuildFileList(folder.Path().c_str(), "*.tcf"), 1);
    EXPECT_EQ(GetFileListCount(), 2);
    BuildFileList(folder.Path().c_str(), "*.nothing");
    EXPECT_EQ(GetFileListCount(), 2);
    FreeFileList();
    RemoveDirectoryA(folder.File("d.tcf").c_str());
}

TEST(FileListCache, DisplayTexts)
{
    EXPECT_STREQ(FileNamePart("C:\\図面\\表.tcf"), "表.tcf") << "表 ends in 0x5C";
    EXPECT_STREQ(FileNamePart("plan.tcf"), "plan.tcf");
    EXPECT_EQ(ShortenText(10, "plan.tcf"), "plan.tcf");
    // 12 bytes: "ab" and five double-byte characters; width 10 cuts at or after 8 bytes.
    EXPECT_EQ(ShortenText(10, "ab図面図面図"), "ab図面図..");
    EXPECT_EQ(ShortenText(10, "a図面図面図x"), "a図面図面..") << "never splits a character";
    char text[] = "ab図面";
    EXPECT_EQ(TruncateText(text, 3), -1);
    EXPECT_STREQ(text, "ab");
    char fits[] = "ab";
    EXPECT_EQ(TruncateText(fits, 3), 0);
}

}  // namespace

#include "drawing/ThumbnailList.h"

namespace {

TEST(ThumbnailList, GridFitsTheScreenWithAtLeastOneCell)
{
    ThumbnailGrid grid = ComputeThumbnailGrid(1280, 1024, 16, 20);
    EXPECT_EQ(grid.columns, (1280 - 16 - 20) / 184);
    EXPECT_EQ(grid.rows, (1024 - 20 - 96) / 152);
    grid = ComputeThumbnailGrid(200, 100, 16, 20);
    EXPECT_EQ(grid.columns, 1);
    EXPECT_EQ(grid.rows, 1);
}

TEST(ThumbnailList, TopRowStaysWithinTheEntries)
{
    const ThumbnailGrid grid{5, 4};
    // 25 entries in 5 columns and 4 rows: the top row goes from 0 to 2.
    EXPECT_EQ(ClampThumbnailTopRow(1, 25, grid), 1);
    EXPECT_EQ(ClampThumbnailTopRow(2, 25, grid), 2);
    EXPECT_EQ(ClampThumbnailTopRow(7, 25, grid), 2);
    EXPECT_EQ(ClampThumbnailTopRow(-3, 25, grid), 0);
    // Entries that fit: the top row stays 0.
    EXPECT_EQ(ClampThumbnailTopRow(1, 20, grid), 0);
    EXPECT_EQ(ClampThumbnailTopRow(1, 3, grid), 0);
}

}  // namespace

TEST(ThumbnailList, SelectionMarksAreThirteenPixelBitmapsWithATickOnTheSecond)
{
    int ink[2] = {};
    for (int i = 0; i < 2; ++i) {
        HBITMAP mark = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(239 + i));
        ASSERT_NE(mark, nullptr) << 239 + i;
        BITMAP info = {};
        GetObjectA(mark, sizeof info, &info);
        EXPECT_EQ(13, info.bmWidth);
        EXPECT_EQ(13, info.bmHeight);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, mark);
        for (int y = 2; y < 11; ++y)
            for (int x = 2; x < 11; ++x) ink[i] += GetPixel(dc, x, y) == RGB(0, 0, 0) ? 1 : 0;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(mark);
    }
    EXPECT_EQ(0, ink[0]) << "the mark that is not ticked is empty inside";
    EXPECT_GT(ink[1], 5) << "the ticked mark holds a tick";
}
