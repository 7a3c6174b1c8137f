// What the engine libraries share: the whole-file read with its limit, the replacing write that
// keeps the old file when it fails, and the cut on a character boundary.
#include "GTest.h"

#include <string>
#include <vector>

#include "EngineFiles.h"
#include "EngineText.h"
#include "TempFolder.h"

TEST(EngineSupport, ReplacingWriteAndWholeFileRead)
{
    TempFolder folder;
    const std::string path = folder.File("drawing.bin");
    const std::vector<uint8_t> bytes = {0, 1, 2, 0xFF, 'a'};
    EXPECT_EQ(EngineSupport::WriteFileReplacing(path.c_str(), bytes.data(), bytes.size()), 0u);
    std::vector<uint8_t> read = {9};
    EXPECT_EQ(EngineSupport::ReadWholeFile(path.c_str(), read, 100), 0u);
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(EngineSupport::ReadWholeFile(path.c_str(), read, 4), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_TRUE(read.empty());
    EXPECT_NE(EngineSupport::ReadWholeFile(folder.File("none.bin").c_str(), read, 100), 0u);

    // A write into a folder that does not exist fails and leaves nothing behind.
    const std::string lost = folder.File("no folder\\drawing.bin");
    EXPECT_NE(EngineSupport::WriteFileReplacing(lost.c_str(), bytes.data(), bytes.size()), 0u);
    EXPECT_EQ(GetFileAttributesA(lost.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(EngineSupport::WriteFileReplacing(nullptr, bytes.data(), 1), static_cast<DWORD>(ERROR_INVALID_NAME));
    // The old file stays when nothing replaced it.
    EXPECT_EQ(folder.Read("drawing.bin"), std::string(bytes.begin(), bytes.end()));
}

TEST(EngineSupport, WholeCharactersAndLeadBytes)
{
    EXPECT_TRUE(EngineSupport::IsLeadByte(0x81));
    EXPECT_TRUE(EngineSupport::IsLeadByte(0xFC));
    EXPECT_FALSE(EngineSupport::IsLeadByte(0xA0));
    EXPECT_FALSE(EngineSupport::IsLeadByte('a'));
    const char text[] = "a\x93\xfa\x96\x7b";  // "a" and two double-byte characters
    EXPECT_EQ(EngineSupport::WholeCharactersIn(text, 5), 5u);
    EXPECT_EQ(EngineSupport::WholeCharactersIn(text, 4), 3u);
    EXPECT_EQ(EngineSupport::WholeCharactersIn(text, 2), 1u);
    EXPECT_EQ(EngineSupport::WholeCharactersIn(text, 0), 0u);
}
