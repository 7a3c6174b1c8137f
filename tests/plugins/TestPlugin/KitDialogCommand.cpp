// KitDialog shows dialog 300 of the plug-in's own resources, which places the program's
// "NPush", "PPush", "cmdcolorclass", "cmdltermsclass" and "cmdlayerclass" by name. It loads
// 256 colour rows into the colour field and, when the field reports a closed list, traces
// "KitDialog colour N" with the row the field answers and closes; a closed layer list traces
// "KitDialog layer P L" with the page and layer the layer field answers and closes.
// "KitDialog drawing" reloads the colour field from the active drawing instead of loading its
// own rows.
#include "KitDialogCommand.h"

#include <cstdio>
#include <cstring>

#include "HostMessages.h"

namespace {

// The colour field's list layout: current row, 257 colours, 257 numbers, count, flags.
struct ColourRows {
    int currentRow;
    int colours[257];
    int numbers[257];
    int count;
    int flags;
};

HWND g_host = nullptr;
// "KitDialog drawing": the colour field reloads from the active drawing instead.
bool g_fromDrawing = false;

void Trace(const char* text)
{
    SetWindowTextA(g_host, text);
    SendMessageA(g_host, WM_CAD_WRITE_LOG, 2, reinterpret_cast<LPARAM>(text));
}

INT_PTR CALLBACK KitDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        static ColourRows rows;
        std::memset(&rows, 0, sizeof rows);
        for (int r = 0; r < 256; ++r) {
            rows.numbers[r] = r + 1;
            rows.colours[r] = static_cast<int>(RGB(r, 255 - r, (r * 7) & 0xFF));
        }
        rows.count = 256;
        const LRESULT loaded =
            SendDlgItemMessageA(dialog, 101, WM_USER + 1, 0, g_fromDrawing ? 0 : reinterpret_cast<LPARAM>(&rows));
        char text[64];
        std::snprintf(text, sizeof text, "KitDialog shown %ld row %ld", static_cast<long>(loaded),
                      static_cast<long>(SendDlgItemMessageA(dialog, 101, WM_USER + 3, 0, 0)));
        Trace(text);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == 101 && HIWORD(wParam) == 1) {
            char text[64];
            std::snprintf(text, sizeof text, "KitDialog colour %ld",
                          static_cast<long>(SendDlgItemMessageA(dialog, 101, WM_USER + 3, 0, 0)));
            Trace(text);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == 103 && HIWORD(wParam) == 1) {
            char text[64];
            std::snprintf(text, sizeof text, "KitDialog layer %ld %ld",
                          static_cast<long>(SendDlgItemMessageA(dialog, 103, WM_USER + 4, 0, 0)),
                          static_cast<long>(SendDlgItemMessageA(dialog, 103, WM_USER + 3, 0, 0)));
            Trace(text);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            Trace(LOWORD(wParam) == IDOK ? "KitDialog OK" : "KitDialog cancel");
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

int RunKitDialogCommand(HWND host, const char* name)
{
    if (std::strncmp(name, "KitDialog", 9) != 0) return -2;
    g_host = host;
    g_fromDrawing = std::strstr(name, "drawing") != nullptr;
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&RunKitDialogCommand), &self);
    const INT_PTR result = DialogBoxParamA(self, MAKEINTRESOURCEA(300), host, KitDialogProc, 0);
    if (result == -1) Trace("KitDialog not shown");
    return 1;
}
