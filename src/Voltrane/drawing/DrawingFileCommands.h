// Where the drawing files reach the rest of the program: the built-in file commands, the
// drawing-open host message and the backup clock of the main frame.
#pragma once

#include <windows.h>

// The built-in commands 4000 (new drawing), 4021 (drawing information), 4001 (open), 4002 (save as), 4012 (save), 4013 (delete files),
// 4027 (place a drawing) and 4051 (paste the copied drawing); 1 when the id is one of them.
int RunDrawingFileCommand(HWND context, int id);

// Before a paste: while the copy command is still writing its file ([COPY_SELECT] "FileWriting"
// of the settings file "CMDINI"), the user is asked whether to try again, three times at most.
// true when the file may be read.
bool WaitUntilCopyIsWritten(HWND owner);

// The built-in commands' log record (level 2, "System Cmd", the format filled with the id) and
// the clearing of the status bar's first text.
void LogCommand(const char* format, int id);
void ClearStatusText();

// Hands the backup clock and the drawing-saved flag to the main frame's services. Called once
// before the frame window is created.
void ConnectDrawingFiles();
