// The temporary database: one engine database, made on the drawing information of one drawing
// window (the base window) and painted by that window's view over its drawing, for previews and
// construction elements of plug-in commands. Besides it, plug-ins may bind databases of their
// own to drawing windows (overlay bindings) that the views paint too.
#pragma once

#include <windows.h>

#include "EngineRecords.h"
#include "HostRecords.h"

// WM_CAD_TEMP_DB: the operation code at P+16, the variant in wParam.
LRESULT TempDbOperation(WPARAM wParam, CmdParamRecord* param);

EngineDbRecord* GetTempDb();
int CreateTempDb(HWND window);
int DeleteTempDb();
int IsTempDbCreated();
HWND TempDbBaseWindow();
int IsTempDbBaseDb(void* database);

int AddTempDbBinding(void* database, HWND window);
int RemoveTempDbBinding(void* database);
int ClearTempDbBindings();
void* FindTempDbBindingFirst(void* database);
void* FindTempDbBindingNext(void* database);

// A drawing window closes: the temporary database based on it goes, and so do its bindings.
void OnDrawingWindowClosed(HWND window);
// The program ends: the temporary database is deleted.
void ReleaseTempDb();
