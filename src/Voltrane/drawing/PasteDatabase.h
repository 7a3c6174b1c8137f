// The program-wide paste database: the drawing that paste-from-file, placing and external
// references load, with one mark holding all its elements. It is emptied before every load
// and at shut-down.
#pragma once

#include <windows.h>

// The engine record of the paste database (397 bytes), valid while PasteDbValid() is 1.
void* GetPasteDb();
int PasteDbValid();
void* GetPasteMark();
void FreePasteDb();

// Loads a file of an engine format into the paste database with up to two attempts (a newer
// format version after the user's "Yes"); 1 loaded cleanly, 0 after the message was shown.
// info (4223 bytes) and layers (19844 bytes) receive the drawing's information when given.
int LoadDrawingByType(const char* path, int type, HWND owner, void* info, void* layers);
// Empties the paste database and loads the file by its type, engine formats or import
// plug-ins; marks every element. 1 loaded, 0 not.
int LoadFileIntoPasteDb(HWND owner, const char* path, void* info, void* layers);
