// Undo and redo of the active drawing. The engine records every change in its undo list; the
// program closes a step where a command begins one, keeps as many steps as the undo depth says,
// and replays a step backward (undo) or forward (redo), erasing and redrawing what it touches.
#pragma once

#include <windows.h>

int BeginUndoStep();
int UndoLastStep();
int RedoLastStep();
// The database's undo list (null: the active drawing's); 1 also when there is none.
int ClearUndo(void* database);
int CanUndo();
int CanRedo();
