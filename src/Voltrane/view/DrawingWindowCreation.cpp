#include "view/DrawingWindowCreation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "mainframe/MainFrame.h"
#include "mainframe/PaperFit.h"
#include "view/RiririFrame.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

int g_untitledCounter = 0;
int g_creating = 0;

DbInfoRecord& ScratchInfo()
{
    static DbInfoRecord info;
    return info;
}

}  // namespace

int& UntitledDrawingCounter() { return g_untitledCounter; }
int IsCreatingDrawingWindow() { return g_creating; }

HWND CreateRovOdidov(HWND, int noTitle, const RECT* rectA, const RECT* rectB)
{
    if (IsViewTableFull()) return nullptr;
    HWND client = GetMdiClientWnd();
    if (client == nullptr) return nullptr;
    NextDrawingId();
    g_creating = 1;
    RECT rect;
    if (rectB != nullptr) rect = *rectB;
    else if (rectA != nullptr) rect = *rectA;
    else GetClientRect(client, &rect);

    auto* frame = new CRiririFrame;
    HWND frameWindow = frame->CreateEx(client, &rect, nullptr);
    if (frameWindow == nullptr) {
        delete frame;  // never bound to a window: nothing else owns it
        g_creating = 0;
        return nullptr;
    }
    HWND view = frame->View();
    if (view == nullptr) {
        DestroyWindow(frameWindow);  // the frame deletes itself with its window
        g_creating = 0;
        return nullptr;
    }
    AddViewToTable(view);
    char title[300];
    if (!noTitle) {
        ++g_untitledCounter;
        std::snprintf(title, sizeof title, "%s%d", GetMessageText(5100), g_untitledCounter);
        SetWindowTextA(frameWindow, title);
    }
    ShowWindow(frameWindow, SW_SHOW);

    PDBINFO* block = GetViewBlock(view);
    if (block != nullptr && block->engineDb != nullptr) {
        DbInfoRecord& info = ScratchInfo();
        std::memset(&info, 0, sizeof info);
        ZUriGetDBInfo(&info, block->engineDb);
        const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
        if (setup.bPaperOrg) {
            RECT viewClient;
            GetClientRect(view, &viewClient);
            PaperFit fit;
            if (FitPaperToView(viewClient.right, viewClient.bottom, setup.bScTestBtn, info.drawingWidth,
                               info.drawingHeight, &fit)) {
                for (ViewModeInfo* mode : {&block->mode0, &block->mode1, &block->mode2}) {
                    *mode = ViewModeInfo{fit.offsetX, fit.offsetY, fit.scale};
                }
            }
            info.originMode = 1;
        }
        std::snprintf(title, sizeof title, "%s%d", GetMessageText(5100), g_untitledCounter);
        DbcsCopy(info.title, sizeof info.title, title);
        ZUriSetDBInfo(&info, block->engineDb);
    }
    g_creating = 0;
    NotifyToolPanelDrawingChanged();
    // The window became active while it was being made, before it was in the view table: the
    // tool panel's refresh of that activation found no active view and showed empty texts.
    RefreshToolPanelAttributes();
    RefreshToolPanelPaperAndScale();
    return view;
}

int OpenEmptyDrawingWindow(HWND mainWindow)
{
    HWND view = CreateRovOdidov(mainWindow, 0, nullptr, nullptr);
    if (view == nullptr) {
        WriteSystemLogText(0, "Error", "これ以上ウィンドウを開けません");
        return 1;
    }
    FitViewToPaper();
    PDBINFO* block = GetViewBlock(view);
    if (block != nullptr && block->engineDb != nullptr) {
        DbInfoRecord& info = ScratchInfo();
        std::memset(&info, 0, sizeof info);
        ZUriGetDBInfo(&info, block->engineDb);
        if (info.originMode != 0) block->mode1 = block->mode2 = block->mode0;
    }
    return 1;
}

namespace {

// The further view shared by command 4025 and the service commands 1203 and 1213: a new window
// on the source view's database (never a copy of its record), captioned, fitted to the paper;
// the new view, or null.
HWND MakeFurtherView(HWND mainWindow, HWND active, HWND* sourceOut)
{
    HWND sourceView = FindViewByFileName(nullptr, active);
    *sourceOut = sourceView;
    PDBINFO* source = GetViewBlock(sourceView);
    if (source == nullptr || source->engineDb == nullptr) return nullptr;

    HWND view = CreateRovOdidov(mainWindow, 1, nullptr, nullptr);
    if (view == nullptr) return nullptr;
    auto* frame = static_cast<CRiririFrame*>(WinKit::CWindowImplRoot::FromHandle(GetParent(view)));
    PDBINFO* block = GetViewBlock(view);
    if (frame == nullptr || block == nullptr) return nullptr;
    // The new window shares the source's database: its own empty one goes first, so that no
    // database is left without an owner.
    frame->Database().Free();
    const int number = source->viewNumber + 1;
    std::memcpy(block, source, sizeof(PDBINFO));
    block->viewNumber = number;
    block->severalViews = 1;
    source->severalViews = 1;

    DbInfoRecord& info = ScratchInfo();
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    if (source->fileName[0] != '\0' || info.title[0] != '\0') {
        UpdateViewTitle(view, block->engineDb, number);
        UpdateViewTitle(sourceView, source->engineDb, source->viewNumber);
    } else {
        char caption[300] = {};
        GetWindowTextA(GetParent(sourceView), caption, sizeof caption);
        const char* untitled = GetMessageText(5100);
        const char* at = std::strstr(caption, untitled);
        const int untitledNumber = at ? std::atoi(at + std::strlen(untitled)) : 0;
        char text[300];
        for (int pass = 0; pass < 2; ++pass) {
            const int shown = pass == 0 ? number : source->viewNumber;
            if (untitledNumber == 0) std::snprintf(text, sizeof text, "%s : %d", untitled, shown);
            else std::snprintf(text, sizeof text, "%s%d : %d", untitled, untitledNumber, shown);
            SetWindowTextA(GetParent(pass == 0 ? view : sourceView), text);
        }
    }
    FitViewToPaper();
    if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, 5, GetViewElementCount(view));
    return view;
}

}  // namespace

int OpenFurtherDrawingView(HWND mainWindow)
{
    HWND active = GetActiveView();
    if (active == nullptr || IsViewLocked()) return 0;
    RECT frameRect;
    HWND activeFrame = GetParent(active);
    GetWindowRect(activeFrame, &frameRect);
    if (frameRect.right - frameRect.left < 100 || frameRect.bottom - frameRect.top < 100) return 0;
    HWND sourceView = nullptr;
    HWND view = MakeFurtherView(mainWindow, active, &sourceView);
    if (view == nullptr) return 0;

    HWND client = GetMdiClientWnd();
    RECT rect = frameRect;
    POINT topLeft = {rect.left, rect.top}, bottomRight = {rect.right, rect.bottom};
    ScreenToClient(client, &topLeft);
    ScreenToClient(client, &bottomRight);
    if (topLeft.y < 0) topLeft.y = 0;
    const int width = bottomRight.x - topLeft.x, height = bottomRight.y - topLeft.y;
    if (width >= height) {
        SetWindowPos(GetParent(sourceView), nullptr, topLeft.x, topLeft.y, width / 2, height, SWP_NOZORDER | SWP_NOCOPYBITS);
        SetWindowPos(GetParent(view), nullptr, topLeft.x + width / 2, topLeft.y, width / 2, height, SWP_NOZORDER | SWP_NOCOPYBITS);
    } else {
        SetWindowPos(GetParent(sourceView), nullptr, topLeft.x, topLeft.y, width, height / 2, SWP_NOZORDER | SWP_NOCOPYBITS);
        SetWindowPos(GetParent(view), nullptr, topLeft.x, topLeft.y + height / 2, width, height / 2, SWP_NOZORDER | SWP_NOCOPYBITS);
    }
    return 1;
}

int OpenFurtherDrawingViewVariant(HWND mainWindow, char variant)
{
    HWND active = GetActiveView();
    if (active == nullptr || IsViewLocked()) return 0;
    HWND sourceView = nullptr;
    HWND view = MakeFurtherView(mainWindow, active, &sourceView);
    if (view == nullptr) return 0;
    if (variant == 'A') {
        if (PDBINFO* block = GetViewBlock(view)) block->pageLayout = 0;
    }
    return 1;
}
