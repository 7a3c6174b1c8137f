// The yes/no prompts shown at the mouse pointer: the questions of host messages 2544 and 2545
// and of the host services, with the placement rules beside the pointer and the answers.
#pragma once

#include <windows.h>

// Asks the question of the prompt with Yes, No and Cancel. useSaved and position carry the
// caller's remembered placement in and out; a null or empty caption keeps the template's.
// 6 for Yes, 2 for Cancel, and for No 1001, 1803 or 7; -1 when no prompt could be shown.
int AskYesNoCancelAtCursor(int* useSaved, int position[2], const char* caption);

// Host message 2544: the question in the status bar and the "YesNo0" prompt at the pointer;
// reuse 1 places it where the previous one was. 1 for Yes, 0 for No.
int AskYesNoAtCursor(int reuse, const char* question);
// Host message 2545: 1 for Yes, 2 for Cancel, 0 for No.
int AskYesNoCancelQuestion(int reuse, const char* question);

// ---- the rules, without windows ----
// The process-wide prompt state: the pointer before a prompt, the pointer position the last
// "YesNo0" was placed from, and the reuse flag of the current prompt.
struct YesNoPromptState {
    POINT pointer = {0, 0};
    POINT lastYesNo0 = {0, 0};
    int reuse = 0;
};
YesNoPromptState& GetYesNoPromptState();

// The top-left corner of "YesNo0" for the pointer p (or the remembered one when reuse is 1,
// else p is remembered); monitorRight is the right edge of the monitor area at the pointer.
POINT PlaceYesNo0(POINT pointer, int reuse, POINT* remembered, int monitorRight);
// The placement of the Yes/No/Cancel and one-button prompts: the saved position when useSaved
// is set, else beside the pointer inside the monitor's right and bottom (the chosen place is
// then saved and useSaved set).
POINT PlacePromptAtCursor(POINT pointer, int* useSaved, POINT* saved, int monitorRight, int monitorBottom);
// The answer of message 2544 for an end code: 0 for No (7) and for a prompt that could not be
// shown, else 1.
int YesNoAnswerOf(INT_PTR endCode);
// The answer of message 2545: 1 Yes (6), 2 Cancel (2 and a prompt that could not be shown),
// 0 otherwise (No).
int YesNoCancelAnswerOf(INT_PTR endCode);
