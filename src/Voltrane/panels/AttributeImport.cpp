#include "panels/AttributeImport.h"

#include <windows.h>

#include <cstdio>

#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "panels/AttrSettingsDialog.h"
#include "view/ViewServices.h"

namespace {

const char kSection[] = "AttrSettings";

}  // namespace

int CheckImportedAttributes(const ElementRecord& e, std::string* list)
{
    int bad = 0;
    // Layers are numbered 0 to 1023.
    if (e.layer > 1023) bad |= kBadLayer;
    if (e.colour == 0 || e.colour > 256) bad |= kBadColour;
    if (e.lineType >= 32) bad |= kBadLineType;
    if (e.lineWidth >= 16) bad |= kBadWidth;
    if (list != nullptr) {
        char text[96] = {};
        int used = 0;
        const struct {
            int bit;
            const char* format;
            int value;
        } parts[] = {{kBadLayer, "レイヤ:%d ", e.layer},
                     {kBadColour, "色:%d ", e.colour},
                     {kBadLineType, "線種:%d ", e.lineType},
                     {kBadWidth, "線幅:%d ", e.lineWidth}};
        for (const auto& p : parts)
            if (bad & p.bit) used += std::snprintf(text + used, sizeof text - used, p.format, p.value);
        *list = text;
        while (!list->empty() && list->back() == ' ') list->pop_back();
    }
    return bad;
}

int ImportElementAttributes(const ElementRecord* element, int* setLayer, const std::string& iniPath)
{
    if (element == nullptr) return 0;
    std::string list;
    if (CheckImportedAttributes(*element, &list) != 0) {
        char text[160];
        std::snprintf(text, sizeof text, "属性値(%s)が異常で取り込めません。", list.c_str());
        MessageBoxA(GetMainFrameWnd(), text, "エラー", MB_ICONERROR);
        return 0;
    }
    const std::string path = iniPath.empty() ? GetLocalSettingsIniPath(false, false) : iniPath;
    if (GetPrivateProfileIntA(kSection, "ViewDialog", 0, path.c_str()) != 0) {
        int check = static_cast<int>(GetPrivateProfileIntA(kSection, "DlgChkLay", 1, path.c_str()));
        if (RunAttrSettingsDialog(*element, &check) != IDOK) {
            if (setLayer != nullptr) *setLayer = check;
            return 0;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%d", check);
        WritePrivateProfileStringA(kSection, "DlgChkLay", text, path.c_str());
        if (HWND panel = GetToolPanelWindow()) PostMessageA(panel, WM_COMMAND, MAKEWPARAM(3311, 1), 0);
        if (setLayer != nullptr) *setLayer = check;
        return 1;
    }
    if (setLayer != nullptr) *setLayer = static_cast<int>(GetPrivateProfileIntA(kSection, "SetLayer", 0, path.c_str()));
    return 1;
}
