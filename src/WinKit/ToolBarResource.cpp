#include "WinKit/ToolBarResource.h"

#include <commctrl.h>

namespace WinKit {

namespace {

const char kImageListProperty[] = "WinKit.ToolBarImages";

}  // namespace

bool LoadToolBarResource(HINSTANCE instance, UINT resourceId, ToolBarResourceData& data)
{
    if (instance == nullptr) instance = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
    if (info == nullptr) return false;
    DWORD size = SizeofResource(instance, info);
    HGLOBAL global = LoadResource(instance, info);
    const WORD* words = global ? static_cast<const WORD*>(LockResource(global)) : nullptr;
    if (words == nullptr || size < 4 * sizeof(WORD) || words[0] != 1) return false;
    WORD count = words[3];
    if (size < (4u + count) * sizeof(WORD)) return false;
    data.imageWidth = words[1];
    data.imageHeight = words[2];
    data.items.assign(words + 4, words + 4 + count);
    return true;
}

HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, DWORD style, UINT controlId,
                             HINSTANCE instance)
{
    if (instance == nullptr) instance = GetModuleHandleA(nullptr);
    ToolBarResourceData data;
    if (!LoadToolBarResource(instance, resourceId, data)) return nullptr;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return nullptr;
    BITMAP bm = {};
    GetObjectA(bitmap, sizeof bm, &bm);

    HWND toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 100, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                                   instance, nullptr);
    if (toolBar == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    SendMessageA(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolBar, TB_SETBITMAPSIZE, 0, MAKELONG(data.imageWidth, data.imageHeight));
    SendMessageA(toolBar, TB_SETBUTTONSIZE, 0, MAKELONG(data.imageWidth + 7, data.imageHeight + 7));

    int images = 0;
    for (WORD id : data.items) if (id != 0) ++images;
    if (bm.bmBitsPixel > 4) {
        UINT flags = (bm.bmBitsPixel == 32 ? ILC_COLOR32 : ILC_COLOR24 | ILC_MASK);
        HIMAGELIST list = ImageList_Create(data.imageWidth, data.imageHeight, flags, images, 1);
        if (list != nullptr) {
            if (bm.bmBitsPixel == 32) {
                ImageList_Add(list, bitmap, nullptr);
            } else {
                ImageList_AddMasked(list, bitmap, RGB(192, 192, 192));
            }
            SendMessageA(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
            SetPropA(toolBar, kImageListProperty, list);
        }
        DeleteObject(bitmap);
    } else {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(bitmap)};
        SendMessageA(toolBar, TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&add));
    }

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (WORD id : data.items) {
        TBBUTTON button = {};
        if (id == 0) {
            button.iBitmap = 8;
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = id;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    if (!buttons.empty())
        SendMessageA(toolBar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(toolBar, TB_AUTOSIZE, 0, 0);
    return toolBar;
}

void DestroyToolBarCtrl(HWND toolBar)
{
    if (toolBar == nullptr || !IsWindow(toolBar)) return;
    HIMAGELIST list = static_cast<HIMAGELIST>(RemovePropA(toolBar, kImageListProperty));
    DestroyWindow(toolBar);
    if (list != nullptr) ImageList_Destroy(list);
}

}  // namespace WinKit
