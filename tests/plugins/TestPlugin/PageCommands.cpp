// PagesMake  makes page 1 under the drawing, page 2 under page 1 and page 3 under the drawing
//            (WM_CADPAGE 5), titles them "一", "二", "三" (8 and 9) and tries page 300; the
//            caption then reads "PagesMake R1 R2 R3 bad B" with the host's answers.
// PagesList  the pages 1..8 that exist (4) with their titles (8), the current page (0) and the
//            space (16); the caption then reads "PagesList 1:一 2:二 3:三 current C space S".
#include "PageCommands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"

namespace {

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 && (name[length] == '\0' || name[length] == ' ');
}

LRESULT Page(HWND host, int subCode, CmdParamRecord* record)
{
    return SendMessageA(host, WM_CADPAGE, subCode, reinterpret_cast<LPARAM>(record));
}

LRESULT Create(HWND host, int page, int parent)
{
    CmdParamRecord p = {};
    p.second = page;
    p.element = parent;
    return Page(host, CADPAGE_CREATE, &p);
}

void SetTitle(HWND host, int page, const char* title)
{
    DbInfoRecord info = {};
    CmdParamRecord p = {};
    p.second = page;
    p.text = reinterpret_cast<char*>(&info);
    if (Page(host, CADPAGE_GET_INFO, &p) != 1) return;
    std::snprintf(info.title, sizeof info.title, "%s", title);
    Page(host, CADPAGE_SET_INFO, &p);
}

int PagesMake(HWND host)
{
    const LRESULT one = Create(host, 1, 0), two = Create(host, 2, 1), three = Create(host, 3, 0);
    const LRESULT bad = Create(host, 300, 0);
    SetTitle(host, 1, "一");
    SetTitle(host, 2, "二");
    SetTitle(host, 3, "三");
    char text[128];
    std::snprintf(text, sizeof text, "PagesMake %ld %ld %ld bad %ld", static_cast<long>(one), static_cast<long>(two),
                  static_cast<long>(three), static_cast<long>(bad));
    SetWindowTextA(host, text);
    return 1;
}

int PagesList(HWND host)
{
    std::string text = "PagesList";
    for (int page = 1; page <= 8; ++page) {
        if (SendMessageA(host, WM_CADPAGE, CADPAGE_CHECK, page) == 0) continue;
        DbInfoRecord info = {};
        CmdParamRecord p = {};
        p.second = page;
        p.text = reinterpret_cast<char*>(&info);
        Page(host, CADPAGE_GET_INFO, &p);
        text += " " + std::to_string(page) + ":" + info.title;
    }
    const LRESULT current = SendMessageA(host, WM_CADPAGE, CADPAGE_GET_CURRENT, 0);
    const LRESULT space = SendMessageA(host, WM_CADPAGE, CADPAGE_GET_SPACE, 0);
    text += " current " + std::to_string(current) + " space " + std::to_string(space);
    SetWindowTextA(host, text.c_str());
    return 1;
}

}  // namespace

int RunPageCommand(HWND host, const char* name)
{
    if (Is(name, "PagesMake")) return PagesMake(host);
    if (Is(name, "PagesList")) return PagesList(host);
    return -2;
}
