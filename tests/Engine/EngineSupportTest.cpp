// What the engine libraries share: the whole-file read with its limit, the replacing write that
// keeps the old file when it fails, and the cut on a character boundary.
#include "GTest.h"

#include <string>
#include <cstdint>
#include <cstring>
#include <vector>

#include "EngineFiles.h"
#include "EngineText.h"
#include "MemoryProbe.h"
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

// The probes answer by touching the memory: a page without access, a read-only page, a text that
// runs into a page without access, and ranges that wrap around the address space.
TEST(EngineSupport, MemoryProbesTellWhatCanBeReadAndWritten)
{
    const SIZE_T page = 4096;
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 3 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    char* readOnly = pages + page;
    char* noAccess = pages + 2 * page;
    std::memcpy(pages + page - 3, "ab", 3);
    std::memset(readOnly, 'x', page);  // no terminator up to the page without access
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(readOnly, page, PAGE_READONLY, &old));
    ASSERT_TRUE(VirtualProtect(noAccess, page, PAGE_NOACCESS, &old));

    struct Case {
        const char* what;
        const void* pointer;
        size_t size;
        bool badRead;
        bool badWrite;
    };
    const Case cases[] = {
        {"nothing at null", nullptr, 0, false, false},
        {"null", nullptr, 1, true, true},
        {"a writable page", pages, page, false, false},
        {"a read-only page", readOnly, page, false, true},
        {"into a page without access", readOnly + page - 1, 2, true, true},
        {"a page without access", noAccess, 1, true, true},
        {"across three pages", pages, 3 * page, true, true},
        {"wrapping around", reinterpret_cast<const void*>(~uintptr_t{0} - 1), 4, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(IsBadReadMemory(c.pointer, c.size), c.badRead);
        EXPECT_EQ(IsBadWriteMemory(const_cast<void*>(c.pointer), c.size), c.badWrite);
    }
    // The writable page keeps its bytes through a write probe.
    EXPECT_STREQ(pages + page - 3, "ab");

    EXPECT_FALSE(IsBadStringMemory(pages + page - 3, 1024));
    EXPECT_TRUE(IsBadStringMemory(nullptr, 1));
    EXPECT_FALSE(IsBadStringMemory(nullptr, 0));
    // A text without a terminator before the page without access: bad unless max stops it first.
    EXPECT_TRUE(IsBadStringMemory(noAccess - 4, 1024));
    EXPECT_FALSE(IsBadStringMemory(noAccess - 4, 4));
    VirtualFree(pages, 0, MEM_RELEASE);
}
