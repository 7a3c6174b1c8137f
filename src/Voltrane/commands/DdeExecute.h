// The execute strings other programs send through the DDE server ("TVEK", topic "System"),
// matched by prefix against a fixed table: open or activate a drawing, run a command, show or
// raise the main window, or hand a text to the command waiting for it.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr size_t kDdeTextSize = 264;            // the last "{DDEPUT(" string, whole
constexpr size_t kDdeFileNameSize = 640;        // the file of "{Open(" and "{FM9002("
constexpr size_t kDdeCommandArgumentSize = 260; // the argument of "{ExecCmd("

// What the entries need of the program; tests install their own.
class CDdeExecuteSite {
public:
    virtual ~CDdeExecuteSite() = default;
    virtual HWND MainWindow();
    virtual HWND MdiClient();
    // The drawing view showing the file, or none.
    virtual HWND FindView(const char* fileName);
    virtual HWND ActiveView();
    // Opens the drawing as the open command would, messages and all.
    virtual void OpenDrawing(HWND mainWindow, const char* fileName);
    // Posts WM_CAD_RUN_COMMAND with a copy of the argument that the command owns: a second
    // execute never changes the text of a command that has not run yet.
    virtual void PostRunCommand(int id, const char* argument);
    virtual void Pause(DWORD milliseconds);
};

CDdeExecuteSite& GetDdeExecuteSite();
void SetDdeExecuteSite(CDdeExecuteSite* site);  // null: the program's own

// Handler of WM_CAD_DDE_EXECUTE: the answer of the first entry whose prefix begins the text,
// 0 when none matches or the text is too long for the entry's buffer.
int RunDdeExecute(const char* text);

// The text of the last "{DDEPUT(", pending until the input wait of a command takes it.
int IsDdeTextPending();
void ClearDdeTextPending();
const char* GetDdeText();
// The file name of the last "{Open(" or "{FM9002(".
const char* GetDdeFileName();
