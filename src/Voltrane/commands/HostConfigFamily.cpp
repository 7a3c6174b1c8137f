// The configuration messages pick their fields of the parameter record and call the
// configuration I/O, which bounds every text it writes to the sizes these messages promise
// (257 bytes, a file path 260).
#include <cstdio>
#include <cstdlib>

#include "HostMessages.h"
#include "commands/CommandRunState.h"
#include "commands/HostServiceFamilies.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"

namespace {

const char* Text(const void* pointer) { return static_cast<const char*>(pointer); }
const char* Text(INT_PTR value) { return reinterpret_cast<const char*>(value); }
char* Buffer(INT_PTR value) { return reinterpret_cast<char*>(value); }

// The pattern-save answer: only a library that serves it (its save flag) reads the entry.
LRESULT PatternSaveAnswer(WPARAM number)
{
    if (GetCommandRunState().saveFlag != 1) return 0;
    char key[24];
    std::snprintf(key, sizeof(key), "%ld", static_cast<long>(number));
    char value[257] = "";
    ReadSonotaString("PTNSAVE", key, "1", value);
    return std::atoi(value);
}

}  // namespace

BOOL CCadSysCmdConfig::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                            DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CADCFG_PTNSAVE:
        lResult = PatternSaveAnswer(wParam);
        return TRUE;
    case WM_CADCFG_GET_SYSTEM:
        lResult = reinterpret_cast<LRESULT>(&GetCadSystem());
        return TRUE;
    case WM_CADCFG_READ:
    case WM_CADCFG_WRITE:
    case WM_CADCFG_FILE_PATH:
    case WM_CADCFG_READ_SECTION:
    case WM_CADCFG_READ_CMDINI:
    case WM_CADCFG_WRITE_CMDINI:
    case WM_CADCFG_GET_PROFILE_STRING:
    case WM_CADCFG_WRITE_PROFILE_STRING:
        break;
    default:
        return FALSE;
    }

    lResult = 0;
    const auto* p = reinterpret_cast<const CmdParamRecord*>(lParam);
    if (p == nullptr) return TRUE;
    switch (uMsg) {
    case WM_CADCFG_READ:
        if (p->element == 0) return TRUE;
        lResult = ReadConfigString(p->text, Text(p->key), "", Buffer(p->element));
        break;
    case WM_CADCFG_WRITE:
        WriteConfigString(p->text, Text(p->key), Text(p->element));
        lResult = 1;
        break;
    case WM_CADCFG_FILE_PATH:
        if (p->text == nullptr) return TRUE;
        lResult = GetConfiguredFilePath(p->text, MAX_PATH, "CONFIG", Text(p->key), "");
        break;
    case WM_CADCFG_READ_SECTION:
        if (p->text == nullptr) return TRUE;
        lResult = ReadConfigString(Text(p->key), nullptr, "", p->text);
        break;
    case WM_CADCFG_READ_CMDINI:
        if (p->key == 0) return TRUE;
        lResult = ReadSonotaString(p->text, Text(p->first), Text(p->second), Buffer(p->key));
        break;
    case WM_CADCFG_WRITE_CMDINI:
        WriteSonotaString(p->text, Text(p->first), Text(p->key));
        lResult = 1;
        break;
    case WM_CADCFG_GET_PROFILE_STRING:
        if (p->key == 0 || p->element <= 0) return TRUE;
        lResult = VirtualGetPrivateProfileString(Text(p->first), Text(p->second), p->text, Buffer(p->key),
                                                 static_cast<DWORD>(p->element), Text(p->mode));
        break;
    case WM_CADCFG_WRITE_PROFILE_STRING:
        lResult = VirtualWritePrivateProfileString(Text(p->first), Text(p->second), p->text, Text(p->key));
        break;
    }
    return TRUE;
}
