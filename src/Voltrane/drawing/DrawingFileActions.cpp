#include "drawing/DrawingFileActions.h"
#include "drawing/PageDialogRecords.h"

#include <cstdio>
#include <cstring>

#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/DrawingFileType.h"
#include "drawing/DrawingOpen.h"
#include "drawing/PasteDatabase.h"

namespace {

constexpr WPARAM kPlaceCommand = 5950;

bool English() { return GetCadSystem().config.LANGUAGE != 0; }

std::string JoinFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

}  // namespace

int SplitDialogFileList(const char* buffer, std::vector<std::string>& paths)
{
    paths.clear();
    if (buffer == nullptr || buffer[0] == '\0') return -1;
    std::vector<std::string> texts;
    for (const char* p = buffer; *p != '\0'; p += std::strlen(p) + 1) texts.emplace_back(p);
    if (texts.size() == 1) {
        paths.push_back(texts[0]);
        return 0;
    }
    for (size_t i = 1; i < texts.size(); ++i) paths.push_back(JoinFolder(texts[0], texts[i]));
    return 0;
}

void OpenChosenFiles(HWND owner, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        const int type = GetDrawingFileType(path.c_str());
        if (IsEngineFileType(type) || type == kFileTypeTif) {
            OpenDrawingFile(owner, path.c_str());
        } else if (int command = ImportCommandOfType(type)) {
            // DXF files go to the DWG import, which reads both.
            StartPluginCommand(type == kFileTypeDxf ? 5105 : command, path.c_str());
        } else {
            char text[400];
            std::snprintf(text, sizeof text, "%s\nファイルは、図面と認識できません。", path.c_str());
            ShowSettingsMessage(owner, text, "ERROR", MB_OK | MB_ICONERROR);
        }
    }
}

void DeleteChosenFiles(HWND owner, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (DeleteFileA(path.c_str())) continue;
        char text[600];
        if (English()) std::snprintf(text, sizeof text, "File could not be deleted.\n[%s]", path.c_str());
        else std::snprintf(text, sizeof text, "ファイルの削除に失敗しました\n[%s]\nファイルが使用中か、読取専用になっている可能性があります。", path.c_str());
        ShowSettingsMessage(owner, text, "ERR", MB_OK | MB_ICONWARNING);
    }
    ShowSettingsMessage(owner, English() ? "File Delete Ok" : "ファイルの削除が終了しました。", "", MB_OK);
}

bool PlaceChosenFile(HWND owner, const std::string& path)
{
    WriteSystemLog(2, "System Cmd", "ファイルを開く ファイル名:%s", path.c_str());
    if (LoadFileIntoPasteDb(owner, path.c_str(), nullptr, nullptr) != 1) return false;
    HWND main = GetMainFrameWnd();
    UpdateWindow(main);
    PostMessageA(main, WM_COMMAND, kPlaceCommand, 0);
    return true;
}

// The chosen files join the page manager's list as external-reference pages.
void AttachChosenFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        if (!AddExternalReferencePage(path.c_str())) break;
}
