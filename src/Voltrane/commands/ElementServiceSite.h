// What the element services need of the drawing views and the drawings: the active view and its
// engine database, the view that shows a database or a file, redraws, modified marks, the
// cursor, questions and messages to the user. The services never reach a view themselves, so
// they run the same on a real drawing window and in a test that hands them its own databases.
//
// The default site answers as the program does while no drawing window is open: no active
// view, no database, nothing to redraw; messages go through the command host.
#pragma once

#include <windows.h>

#include <string>

#include "HostRecords.h"

// Settings the services read. The default site fills them from the program's loaded settings
// whenever they are asked for; the values below are those of a site that sets none.
struct ElementServiceSettings {
    int language = 0;          // LANGUAGE: nonzero = English messages
    int pointScale = 0;        // POINTSCALEFG: mark sizes follow the placement scale
    int elementHitForward = 0; // bElmHit: pick candidates first to last
    int undoDepth = 5;         // iUndoCount
    int openClosesUntouched = 0;  // CMDFILEOPN_NOZUMEN
    std::string drawingFolder; // ZUMENDIR
    std::string soundFile;     // WAV, relative to the program folder
    std::string yesNoText;     // YESNOMSG
};

class CElementServiceSite {
public:
    virtual ~CElementServiceSite() = default;

    virtual HWND MainWindow();
    virtual HWND ActiveView();
    // The engine database of a view, and the drawing block the engine's searches take.
    virtual void* ViewDatabase(HWND view);
    virtual void* ViewDataBlock(HWND view);
    virtual HWND FindViewByDatabase(void* database);
    virtual HWND FindViewByFileName(const char* path);
    // 0, 1 or 2, and the scale of that view mode (pixels per drawing unit).
    virtual int ViewMode(HWND view);
    virtual double ViewModeScale(HWND view);
    // The view refreshes its database's placement flag from its view mode.
    virtual void RefreshPlacementFlag(HWND view);

    // Redraw modes: 0 erase, -1 draw, -2 draw in every view of the drawing, 2 draw in this view.
    virtual void RedrawElementInViews(HWND view, int mode, void* element);
    virtual void RedrawMarkInViews(HWND view, int mode, void* mark);
    virtual int DrawMarkInView(HWND view, int colour, void* mark);
    virtual void SetViewModified(HWND view);
    virtual void SetActiveDrawingModified();
    // After an undo step: the element count to the status bar and the whole view repainted.
    virtual void ShowElementCountAndRepaint(HWND view);
    virtual void EraseRubberBand(HWND view);

    // The active drawing's current page and the drawing-to-input factor of a view (1: none).
    virtual int CurrentPage();
    virtual double InputScaleFactor(HWND view);

    // The cursor in drawing units (grid or loupe as the input wait would take it).
    virtual HostPoint CursorWorldPoint();
    virtual void FocusView(HWND view);

    // Drawings by file name.
    virtual int OpenDrawingFile(const char* path);
    virtual void ActivateView(HWND view);
    virtual void CloseViewByCommand(HWND view);
    virtual void CloseUntouchedViews();
    // Keeps the running command alive while views close (cleared by message 2670).
    virtual void SetKeepCommandOnClose(int on);

    // The user: messages, the question at the cursor (IDYES, IDNO or IDCANCEL), sounds, log.
    virtual int ShowMessage(const char* text, const char* caption, UINT type);
    virtual int AskYesNoCancel(const char* question);
    virtual void AlertSound(int kind);
    virtual void WriteLog(int level, const char* title, const char* text);

    // The settings as they stand now: the default reads the program's loaded settings into
    // `settings` first; a test site answers `settings` as it set them.
    virtual const ElementServiceSettings& Settings();
    ElementServiceSettings settings;
};

CElementServiceSite& GetElementServiceSite();
// Tests install their own site; null restores the default.
void SetElementServiceSite(CElementServiceSite* site);
