// The program's one whole-file read: the bytes as they are, the platform's error for a missing
// file, and a refusal (with nothing read) above the size limit.
#include "GTest.h"

#include <string>

#include "TempFolder.h"
#include "core/WholeFileRead.h"

TEST(WholeFileRead, BytesErrorsAndTheLimit)
{
    TempFolder folder;
    const std::string bytes = std::string("a\0b\r\n", 5) + std::string(70000, 'x');
    ASSERT_TRUE(folder.Write("data.bin", bytes));

    std::string read = "stale";
    EXPECT_EQ(ReadWholeFile(folder.File("data.bin").c_str(), &read), 0u);
    EXPECT_EQ(read, bytes);

    EXPECT_EQ(ReadWholeFile(folder.File("none.bin").c_str(), &read), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(ReadWholeFile("", &read), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(ReadWholeFile(nullptr, &read), static_cast<DWORD>(ERROR_INVALID_NAME));

    EXPECT_EQ(ReadWholeFile(folder.File("data.bin").c_str(), &read, 1000), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(ReadWholeFile(folder.File("data.bin").c_str(), &read, bytes.size()), 0u);
}
