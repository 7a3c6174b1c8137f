#include "panels/ButtonImageSets.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cstdio>

#include "core/LocalSettings.h"
#include "core/ProgramPaths.h"

namespace {

// Below this width a panel may take the smaller images.
constexpr int kLowResolutionLimit = 1680;
constexpr int kSmallScreenLimit = 1280;

bool SmallImages(int screenWidth, int lowResolution)
{
    return lowResolution > 0 && screenWidth < kLowResolutionLimit;
}

}  // namespace

ButtonImageSets& GetButtonImageSets()
{
    static ButtonImageSets sets;
    return sets;
}

std::string ButtonImageFileName(const std::string& folder, int set, int image, int screenWidth, int lowResolution)
{
    const char* format = "%s\\%02d%d.bmp";
    if (SmallImages(screenWidth, lowResolution))
        format = screenWidth <= kSmallScreenLimit ? "%s\\%02d%d_s.bmp" : "%s\\%02d%d_m.bmp";
    char name[MAX_PATH * 2];
    std::snprintf(name, sizeof name, format, folder.c_str(), set, image);
    return name;
}

SIZE ButtonImageSize(int screenWidth, int lowResolution)
{
    if (SmallImages(screenWidth, lowResolution)) return screenWidth <= kSmallScreenLimit ? SIZE{59, 17} : SIZE{64, 19};
    return SIZE{76, 32};
}

void FreeButtonImageSets()
{
    ButtonImageSets& sets = GetButtonImageSets();
    for (HIMAGELIST& list : sets.lists) {
        if (list != nullptr) ImageList_Destroy(list);
        list = nullptr;
    }
    sets.processed = 0;
    sets.width = 76;
    sets.height = 32;
}

void LoadButtonImageSets(const std::string& folder, int screenWidth, int lowResolution)
{
    FreeButtonImageSets();
    ButtonImageSets& sets = GetButtonImageSets();
    const std::string dir = folder.empty() ? GetExeDir() + "\\Images\\Button1" : folder;
    for (int set = 0; set < kButtonImageSetCount; ++set) {
        std::string names[4];
        bool complete = true;
        for (int image = 0; image < 4 && complete; ++image) {
            names[image] = ButtonImageFileName(dir, set, image + 1, screenWidth, lowResolution);
            complete = PathFileExistsA(names[image].c_str()) != FALSE;
        }
        ++sets.processed;
        if (!complete) continue;
        // A file that does not load as a bitmap leaves the whole set empty.
        HBITMAP bitmaps[4] = {};
        bool loaded = true;
        for (int image = 0; image < 4 && loaded; ++image) {
            bitmaps[image] = static_cast<HBITMAP>(
                LoadImageA(nullptr, names[image].c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
            loaded = bitmaps[image] != nullptr;
        }
        HIMAGELIST list = nullptr;
        bool stop = false;
        if (loaded) {
            const SIZE size = ButtonImageSize(screenWidth, lowResolution);
            sets.width = size.cx;
            sets.height = size.cy;
            list = ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 2, 0);
            stop = list == nullptr;
        }
        for (HBITMAP bitmap : bitmaps) {
            if (bitmap == nullptr) continue;
            if (list != nullptr) ImageList_AddMasked(list, bitmap, RGB(255, 255, 255));
            DeleteObject(bitmap);
        }
        if (stop) return;
        sets.lists[set] = list;
    }
}

void LoadButtonImageSets()
{
    LoadButtonImageSets(std::string(), GetSystemMetrics(SM_CXSCREEN), GetLocalSettingsLive().iCmdPanelTypeLowResoW);
}

int GetButtonImageWidth() { return GetButtonImageSets().width; }
int GetButtonImageHeight() { return GetButtonImageSets().height; }

HIMAGELIST GetButtonImageList(int set)
{
    const ButtonImageSets& sets = GetButtonImageSets();
    if (set < 0 || set >= kButtonImageSetCount || set >= sets.processed) return nullptr;
    return sets.lists[set];
}
