// Where the drawing files reach the rest of the program: the built-in file commands, the
// drawing-open host message and the backup clock of the main frame.
#pragma once

#include <windows.h>

// The built-in commands 4000 (new drawing), 4021 (drawing information), 4001 (open), 4002 (save as), 4012 (save), 4013 (delete files),
// 4027 (place a drawing) and 4051 (paste the copied drawing); 1 when the id is one of them.
int RunDrawingFileCommand(HWND context, int id);

// Hands the backup clock and the drawing-saved flag to the main frame's services. Called once
// before the frame window is created.
void ConnectDrawingFiles();
