// The parameter block a plug-in hands to the host library before every command
// (VySetPara2): 32 words, then the jump buffer through which the library can abandon the
// running command. Word 29 is the module instance of the current command, word 30 the
// plug-in's module instance; the other words belong to the host library.
#pragma once

#include <setjmp.h>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct HostParamBlock {
    uint32_t words[32];
    // Armed by the plug-in with setjmp right after VySetPara2; the library jumps to it with
    // the value 1 when it abandons the command.
    jmp_buf jump;
};
#pragma pack(pop)

static_assert(offsetof(HostParamBlock, words) == 0, "HostParamBlock words at 0");
static_assert(offsetof(HostParamBlock, jump) == 128, "HostParamBlock jump buffer at 128");

constexpr int kHostParamCommandModuleWord = 29;
constexpr int kHostParamPluginModuleWord = 30;
