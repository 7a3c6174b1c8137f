// The families of host messages that plug-in commands send the main window about views,
// drawings, fonts, databases, parameter panels, pages and configuration. Each family answers
// its own numbers and leaves every other message to the next map; what they need of the views,
// drawings and panels they ask of the host-service site.
#pragma once

#include <windows.h>

#include "EngineRecords.h"
#include "HostRecords.h"
#include "commands/CadCmd.h"

class CCadSysCmd;

// Views, windows and colours.
class CCadSysCmdView : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Drawings, elements and files.
class CCadSysCmdDrawing : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// The engine calls of the font service; tests put their own in.
struct FontServiceEngine {
    int(WINAPI* dicFunction)(int code, void* block);
    int(WINAPI* getFontNum)(int kind);
    int(WINAPI* getFontNm)(int kind, int index, char* out);
};
FontServiceEngine& GetFontServiceEngine();
// Null puts the engine's own calls back.
void SetFontServiceEngine(const FontServiceEngine* engine);

// Fonts and dictionaries: a pure translation between the plug-in's DicFunctionRecord and the
// engine's parameter block.
class CCadSysCmdFont : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
    static LRESULT Serve(int code, DicFunctionRecord* record);
};

// Databases, layers and the whole drawing.
class CCadSysCmdDb : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Parameter panels: every message is handed to the panel model.
class CCadSysCmdPbox : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Pages: one message, its sub-code in the word parameter.
class CCadSysCmdPage : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Configuration through the program's configuration I/O.
class CCadSysCmdConfig : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Zooms the active view to the rectangle of the two points: 1, or 0 (view unchanged) without an
// active view or when the rectangle or the view's client area is empty.
int ZoomViewToArea(const HostPoint& point1, const HostPoint& point2);

// Puts the seven families into the host-service object's slots.
void InstallHostServiceFamilies(CCadSysCmd& services);
