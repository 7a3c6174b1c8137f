// Drawing windows of the running program, as the end-to-end tests open and find them.
#pragma once

#include <windows.h>

#include <string>

// Asks the frame for an empty drawing window (WM_CADDB_NEW_WINDOW) and returns the drawing
// window that came of it, or null when the program opened none. The catalogue must hold the
// test plug-in's Echo command as 5990: its trace marks when the request has been handled.
HWND OpenEmptyDrawingWindow(HWND frame);

// The drawing windows shown in the frame's MDI client; -1 when the frame has no MDI client.
int DrawingWindowCount(HWND frame);

class ProgramProcess;

// Closes the program's main window and answers "No" to every save question of a modified
// drawing; true once the program has ended (it is killed otherwise).
bool CloseProgramWithoutSaving(HWND frame, ProgramProcess& program);

// A message sent to the program's window, waiting at most 10 seconds; its answer (0 on timeout).
LRESULT SendToProgram(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// A drawing file made by the engine: count lines on layer 0. false when it was not written.
bool WriteDrawing(const std::string& path, int count);

struct PDBINFO;
struct DbInfoRecord;

// The drawing block of a view of the program (window long 0), read from the program's memory
// the way a debugger would; false when it could not be read.
bool ReadViewBlock(DWORD processId, HWND view, PDBINFO* block);
// The element count of the block's drawing, read from the engine's information block; -1 when
// it could not be read.
int DrawingElementCount(DWORD processId, const PDBINFO& block);
// The drawing information record of the block's drawing (the engine's), read likewise.
bool ReadDrawingInfo(DWORD processId, const PDBINFO& block, DbInfoRecord* info);
// The colour the block's drawing paints colour index `index` in, read likewise.
bool ReadDrawingColour(DWORD processId, const PDBINFO& block, int index, COLORREF* colour);

// The title kept in a drawing file, read through the engine; empty when it cannot be loaded.
std::string TitleOfFile(const std::string& path);
// The element count of a drawing file, read through the engine; -1 when it cannot be loaded.
int ElementsOfFile(const std::string& path);

// "名前を付けて保存" (4002) of the active drawing with the path typed into the save dialog, as a
// user does it; false when no save dialog came. The write itself follows on the program's time.
bool SaveActiveDrawingAs(ProgramProcess& program, HWND frame, const std::string& path);
