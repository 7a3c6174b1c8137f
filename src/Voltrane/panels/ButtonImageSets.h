// The bitmap faces of the command-panel buttons: up to ten image sets read once at start from
// "Images\Button1" of the program folder, shared by every command button of the run.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

constexpr int kButtonImageSetCount = 10;

struct ButtonImageSets {
    HIMAGELIST lists[kButtonImageSetCount] = {};
    int width = 76;
    int height = 32;
    int processed = 0;  // sets looked at, used or not
};

ButtonImageSets& GetButtonImageSets();

// The file name of image 1 to 4 of a set in the folder, in the form the screen width and the
// low-resolution switch ("iCmdPanelTypeLowResoW") choose.
std::string ButtonImageFileName(const std::string& folder, int set, int image, int screenWidth, int lowResolution);
// The image size the same two values choose.
SIZE ButtonImageSize(int screenWidth, int lowResolution);

// Builds the table from the folder (the program's "Images\Button1" for an empty one) for the
// screen width; every list held before is destroyed first. Sets whose four files are not all
// there stay empty.
void LoadButtonImageSets(const std::string& folder, int screenWidth, int lowResolution);
// The program's start: its own folder, screen and per-user switch.
void LoadButtonImageSets();
void FreeButtonImageSets();
int GetButtonImageWidth();
int GetButtonImageHeight();
// The image list of a set, or null when the set is absent or out of range.
HIMAGELIST GetButtonImageList(int set);
