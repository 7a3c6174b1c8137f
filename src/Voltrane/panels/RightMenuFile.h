// The right-click menu file ("rightmenu.ini"): read once at start-up into one buffer of NUL-
// terminated strings that the popup walks every time it is built.
//
// Parsed form: an entry is its id in decimal and its caption; a separator is "SEPARATOR"; a group
// is "[POPUP]", its caption, its content and "[END]"; an empty string ends the sequence.
#pragma once

#include <cstddef>
#include <string>

constexpr size_t kRightMenuBufferSize = 65535;
// Lines are taken up to this many bytes; the rest of a longer line is dropped.
constexpr size_t kRightMenuLineBytes = 254;
// The id that marks an entry shown but inert.
constexpr long kRightMenuInertId = 99999;

// Parses the text of a menu file into buffer (size bytes). 1 when the whole file fitted; 0 when
// it did not: then the entries that fitted are kept, open groups are closed and the sequence is
// ended, so the buffer is always a complete parsed form (size must be at least 1).
int ParseRightMenuText(const std::string& text, char* buffer, size_t size);

// The program's buffer. Alloc: 1, or 0 when it could not be had. Load: 1 read, 0 when the file
// cannot be opened or did not fit (what fitted stays). Without a buffer Load answers 0.
int AllocRightMenuBuffer();
void FreeRightMenuBuffer();
int LoadRightMenuFile(const char* path);
// The parsed form, or null without a buffer.
const char* RightMenuParsedForm();

// Walks a parsed form (bounded by size), calling the visitor for each item in order.
struct RightMenuFileVisitor {
    virtual ~RightMenuFileVisitor() = default;
    virtual void Entry(long id, const char* caption) = 0;
    virtual void Separator() = 0;
    virtual void GroupBegin(const char* caption) = 0;
    virtual void GroupEnd() = 0;
};
void WalkRightMenuForm(const char* form, size_t size, RightMenuFileVisitor& visitor);
