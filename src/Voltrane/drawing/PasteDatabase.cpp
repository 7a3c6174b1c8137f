#include "drawing/PasteDatabase.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/PluginModules.h"
#include "core/MessageCatalog.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/DrawingFileType.h"
#include "drawing/DrawingOpen.h"

namespace {

constexpr int kMessageNewerVersion = 1008;
constexpr size_t kLayerBlockBytes = 19844;

EngineDbRecord g_pasteDb;
int g_pasteValid = 0;
void* g_pasteMark = nullptr;

bool CreatePasteDb()
{
    FreePasteDb();
    if (ZUriCreateDB(&g_pasteDb) != 1) return false;
    g_pasteValid = 1;
    return true;
}

void MarkEverything()
{
    g_pasteMark = ZUriCreateMark(&g_pasteDb);
    if (g_pasteMark == nullptr) return;
    ElementRecord element;
    for (void* e = ZUriReadElement(nullptr, 0, &element, &g_pasteDb); e != nullptr;
         e = ZUriReadElement(e, 1, &element, &g_pasteDb))
        ZUriSetMark(e, g_pasteMark);
}

}  // namespace

void* GetPasteDb() { return &g_pasteDb; }
int PasteDbValid() { return g_pasteValid; }
void* GetPasteMark() { return g_pasteMark; }

void FreePasteDb()
{
    if (g_pasteValid) ZUriDeleteDB(&g_pasteDb);
    std::memset(&g_pasteDb, 0, sizeof g_pasteDb);
    g_pasteValid = 0;
    g_pasteMark = nullptr;
}

int LoadDrawingByType(const char* path, int type, HWND owner, void* info, void* layers)
{
    if (!IsEngineFileType(type)) return 0;
    uint32_t input = 0;
    int result = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        uint32_t flags = input;
        const int loaded = type == kFileTypeOtcf ? ZUriLoadFileOfCWU(path, &g_pasteDb, &flags)
                                                 : ZUriLoadFileOfCWX(path, &g_pasteDb, &flags);
        if (loaded == 1) {
            const char* message = LoadFlagMessage(flags, LoadMessageOrder::PasteLoaded, type == kFileTypeTcf);
            if (message != nullptr) {
                WriteSystemLog(0, "Error", "%s %s", path, message);
                ShowSettingsMessage(owner, message, "ERROR", MB_OK | MB_ICONERROR);
            }
            result = message == nullptr ? 1 : 0;
            break;
        }
        if (attempt == 0 && flags == kLoadFlagNewerVersion) {
            if (ShowSettingsMessage(owner, GetMessageText(kMessageNewerVersion), "LoadingError",
                                    MB_YESNO | MB_ICONQUESTION) != IDYES)
                break;
            input = kLoadFlagNewerVersion;
        } else if (attempt == 1) {
            WriteSystemLog(0, "Error", "%s %s", path, GetMessageText(1004));
            ShowSettingsMessage(owner, GetMessageText(1004), "ERROR", MB_OK | MB_ICONERROR);
        }
    }
    auto* block = static_cast<DbInfoBlock*>(g_pasteDb.info);
    if (result == 1 && block != nullptr) {
        if (info != nullptr) std::memcpy(info, &block->record, sizeof(DbInfoRecord));
        if (layers != nullptr) std::memcpy(layers, &block->layers, kLayerBlockBytes);
    }
    return result;
}

int LoadFileIntoPasteDb(HWND owner, const char* path, void* info, void* layers)
{
    if (!CreatePasteDb()) return 0;
    const int type = GetDrawingFileType(path);
    int loaded = 0;
    if (IsEngineFileType(type)) {
        loaded = LoadDrawingByType(path, type, owner, info, layers);
    } else if (type != kFileTypePdf && type != kFileTypeTif && ImportCommandOfType(type) != 0) {
        loaded = LoadFileThroughPlugin(ImportCommandOfType(type), path, &g_pasteDb, info, layers);
    } else {
        ShowSettingsMessage(owner, "図面ファイルが識別できません", "ERROR", MB_OK | MB_ICONERROR);
    }
    if (loaded != 1) return 0;
    MarkEverything();
    g_pasteValid = 1;
    return 1;
}
