#include "dialogs/YesNoPrompt.h"

#include <windows.h>

#include "mainframe/MainFrame.h"

// Until the prompt at the pointer is built, a plain message box asks the same question.
int AskYesNoCancelAtCursor(int*, int*, const char* caption)
{
    const char* text = caption != nullptr && caption[0] != '\0' ? caption : "よろしいですか？";
    return MessageBoxA(GetMainFrameWnd(), text, "確認", MB_YESNOCANCEL | MB_ICONQUESTION);
}
