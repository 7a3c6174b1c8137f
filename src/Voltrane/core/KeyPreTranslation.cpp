#include "core/KeyPreTranslation.h"

#include "core/CadSystem.h"
#include "core/StartupSeams.h"
#include "mainframe/CadStatusBar.h"
#include "mainframe/MainAccelerator.h"

namespace {

// WM_USER code 3 of the status bar: one character for the number line (0 clears it).
void SendToNumberLine(HWND statusBar, int character)
{
    if (statusBar != nullptr) SendMessageA(statusBar, WM_USER, 3, static_cast<LPARAM>(character));
}

int CharacterStep(HWND statusBar, int character)
{
    if ((character >= '0' && character <= '9') || character == '-') {
        SendToNumberLine(statusBar, character);
        return 1;
    }
    if (character == '.') {
        // A decimal point alone starts no number: it goes on to translation and dispatch.
        if (statusBar == nullptr || !HasStatusBarInput(statusBar)) return 0;
        SendToNumberLine(statusBar, character);
        return 1;
    }
    return 0;
}

bool ModifierDown()
{
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0 || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0 ||
           (GetAsyncKeyState(VK_MENU) & 0x8000) != 0;
}

int KeyStep(HWND window, HWND statusBar, WPARAM key)
{
    if (ModifierDown()) return 0;
    if (seam::IsKeyCursorMode() || seam::IsInterruptJumpModeArmed()) {
        WORD command = 0;
        switch (key) {
        case VK_UP: command = kScrollUpCommand; break;
        case VK_DOWN: command = kScrollDownCommand; break;
        case VK_LEFT: command = kScrollLeftCommand; break;
        case VK_RIGHT: command = kScrollRightCommand; break;
        default: break;
        }
        if (command != 0) {
            SendMessageA(window, WM_COMMAND, command, 0);
            return 1;
        }
    }
    if (key == VK_DECIMAL || key == VK_OEM_PERIOD) return CharacterStep(statusBar, '.');
    return 0;
}

}  // namespace

int PreTranslateKeyFor(HWND window, HWND statusBar, const MSG* msg, CMainAccelerator* accelerator)
{
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)) return 0;
    const seam::ParameterPanelHandles& panel = seam::GetParameterPanelHandles();
    if (msg->hwnd != nullptr && (msg->hwnd == panel.openListBox || msg->hwnd == panel.droppedComboBox))
        return -1;
    if (msg->hwnd != nullptr && msg->hwnd == panel.editField) return 0;

    if (accelerator != nullptr && statusBar != nullptr && HasStatusBarInput(statusBar) &&
        accelerator->DispatchKey(window, msg, kTypedNumberAccelFlags)) {
        // The command has run and read the typed number; the line starts afresh.
        SendToNumberLine(statusBar, 0);
        return 1;
    }
    if (msg->message == WM_KEYDOWN) return KeyStep(window, statusBar, msg->wParam);
    return CharacterStep(statusBar, static_cast<int>(msg->wParam));
}

int PreTranslateKeyService(HWND mainWnd, MSG* msg, void* accelerator)
{
    return GetCadSystem().PreTranslateKey(mainWnd, msg, static_cast<CMainAccelerator*>(accelerator));
}

int CCadSystem::PreTranslateKey(HWND window, MSG* msg, CMainAccelerator* accelerator)
{
    return PreTranslateKeyFor(window, GetStatusBarWnd(), msg, accelerator);
}

int CCadSystem::TranslateAccel(HWND window, HACCEL table, MSG* msg)
{
    if (msg == nullptr) return 0;
    HWND edit = seam::GetParameterPanelHandles().editField;
    if (edit != nullptr && msg->hwnd == edit) return 0;
    return TranslateAcceleratorA(window, table, msg);
}
