// Settings   writes a value that changes with every run under [TestPlugin] Probe (2598), reads it
//            back (2569), asks the font count and the first font's name (2671 with 23 and 24)
//            and the pattern-save answer of pattern 7 (2633); the caption then reads
//            "Settings wrote V read V fonts N first [NAME] ptnsave P".
// MakeDrawing makes a drawing (VyMAKE_DB), sets its title to "E2E title" (VySET_DB_HEAD), reads
//            the drawing colours (VyGetDrawColor), appends a line and clears the drawing (2327,
//            which asks first); the caption then reads
//            "MakeDrawing title E2E title colours C cleared R elements E", or
//            "MakeDrawing no drawing".
// ExportPdf PATH asks the host to run its export plug-in (2665, sub-code 5) with "PATH
//            /c:PDF保存"; the caption then reads "ExportPdf R" with the host's answer.
// Ask MSG REUSE QUESTION asks the host's yes/no prompt (MSG 2544 or 2545, the reuse flag,
//            the rest of the text as the question); the caption then reads "Ask MSG answer R".
#include "HostServiceCommands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "Dravik.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"

namespace {

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 && (name[length] == '\0' || name[length] == ' ');
}

LRESULT Send(HWND host, UINT message, WPARAM wParam, const void* record)
{
    return SendMessageA(host, message, wParam, reinterpret_cast<LPARAM>(record));
}

int Settings(HWND host)
{
    char written[32];
    std::snprintf(written, sizeof written, "%lu", static_cast<unsigned long>(GetTickCount()));
    char section[] = "TestPlugin";
    CmdParamRecord p = {};
    p.text = section;
    p.key = reinterpret_cast<INT_PTR>("Probe");
    p.element = reinterpret_cast<INT_PTR>(written);
    Send(host, WM_CADCFG_WRITE, 0, &p);
    char read[260] = {};
    p.element = reinterpret_cast<INT_PTR>(read);
    Send(host, WM_CADCFG_READ, 0, &p);

    DicFunctionRecord count = {};
    Send(host, WM_CAD_FONT_SERVICE, 23, &count);
    char first[64] = {};
    DicFunctionRecord name = {};
    name.value8 = 0;
    name.value682 = reinterpret_cast<INT_PTR>(first);
    Send(host, WM_CAD_FONT_SERVICE, 24, &name);
    const LRESULT patternSave = SendMessageA(host, WM_CADCFG_PTNSAVE, 7, 0);

    char text[512];
    std::snprintf(text, sizeof text, "Settings wrote %s read %s fonts %d first [%s] ptnsave %ld", written, read,
                  count.value8, first, static_cast<long>(patternSave));
    SetWindowTextA(host, text);
    return 1;
}

int MakeDrawing(HWND host)
{
    void* db = VyMAKE_DB();
    if (db == nullptr) {
        SetWindowTextA(host, "MakeDrawing no drawing");
        return 0;
    }
    DbInfoRecord info = {};
    VyGET_DB_HEAD(&info);
    std::snprintf(info.title, sizeof info.title, "E2E title");
    VySET_DB_HEAD(&info);
    DbInfoRecord back = {};
    VyGET_DB_HEAD(&back);

    int colours[257] = {};
    const int coloursRead = VyGetDrawColor(colours);

    LineRecord line = {};
    ElementRecord header = {};
    header.type = kElementLine;
    header.colour = 2;
    std::memcpy(&line, &header, sizeof line.header);
    line.x1 = -50, line.x2 = 50;
    ZUriAppendElement(&line, db);
    const LRESULT cleared = SendMessageA(host, WM_CADDB_CLEAR_ALL, 0, 0);

    char text[512];
    std::snprintf(text, sizeof text, "MakeDrawing title %s colours %d cleared %ld elements %d", back.title,
                  coloursRead, static_cast<long>(cleared), ZUriGetElmNum(db));
    SetWindowTextA(host, text);
    return 1;
}

}  // namespace

namespace {

int ExportPdf(HWND host, const char* name)
{
    const char* path = name + std::strlen("ExportPdf");
    while (*path == ' ') ++path;
    const std::string text = std::string(path) + " /c:PDF保存";
    const LRESULT answer = SendMessageA(host, WM_CAD_FILE_SERVICE, 5, reinterpret_cast<LPARAM>(text.c_str()));
    SetWindowTextA(host, ("ExportPdf " + std::to_string(answer)).c_str());
    return 1;
}

}  // namespace

namespace {

int Ask(HWND host, const char* name)
{
    unsigned message = 0;
    int reuse = 0;
    int used = 0;
    if (std::sscanf(name, "Ask %u %d %n", &message, &reuse, &used) < 2) return -1;
    CmdParamRecord record = {};
    record.value1 = reuse;
    record.value2 = reinterpret_cast<INT_PTR>(name + used);
    const LRESULT answer = Send(host, message, 0, &record);
    SetWindowTextA(host, ("Ask " + std::to_string(message) + " answer " + std::to_string(answer)).c_str());
    return 1;
}

}  // namespace

int RunHostServiceCommand(HWND host, const char* name)
{
    if (name == nullptr) return -2;
    if (Is(name, "Ask")) return Ask(host, name);
    if (Is(name, "ExportPdf")) return ExportPdf(host, name);
    if (Is(name, "Settings")) return Settings(host);
    if (Is(name, "MakeDrawing")) return MakeDrawing(host);
    return -2;
}
