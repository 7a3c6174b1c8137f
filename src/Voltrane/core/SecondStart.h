// A second start of the program while one runs: the new process finds the running main frame
// by its window class and hands its command line over, or is refused by the single-instance
// semaphore; the running frame answers the hand-over.
#pragma once

#include <windows.h>

#include "WinKit/MessageMap.h"

class CMySemaphore;

// Service commands of the hand-over: a command line in a global atom, and an empty one.
constexpr WORD kHandOverCommandLineId = 1227;
constexpr WORD kHandOverEmptyId = 1228;
// WM_COPYDATA tag of a command line too long for a global atom (the text with its
// terminating zero).
constexpr ULONG_PTR kHandOverCopyDataTag = 1227;
// A global atom holds at most 255 bytes.
constexpr size_t kMaxAtomText = 255;
// The longest command line taken over WM_COPYDATA.
constexpr size_t kMaxHandOverText = 32767;

// Brings the running frame to the front and hands it the command line: WM_COMMAND 1228 for an
// empty line, 1227 with a global atom when it fits one, else WM_COPYDATA. 1 handed over,
// 0 without a frame.
int HandOverCommandLine(HWND runningFrame, const char* commandLine);

// The second-start and single-instance tests of the first start stage: 0 go on; 1 this start
// ends (handed over, refused, or the semaphore failed; the user has been told).
int CheckSecondStart(const char* commandLine, int multiBoot, CMySemaphore& semaphore);

// The running frame's side, chained into the main frame's message map: WM_COMMAND 1227 and
// 1228 and the WM_COPYDATA of a long command line end a running command and then open what
// the second start named (1228: a new empty drawing window).
class CSecondStartReceiver : public WinKit::CMessageMap {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// The same answers as plain calls: the text handed over is run as a command line.
void ReceiveHandedOverCommandLine(HWND frame, const char* text);
void ReceiveHandedOverEmptyLine(HWND frame);
