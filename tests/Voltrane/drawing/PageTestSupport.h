// A drawing for the page and layer tests: an engine database shown by hidden view windows
// behind a host-service site, and a command host whose message boxes answer as scripted.
#pragma once

#include <windows.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"

struct TestDrawing {
    EngineDbRecord record{};
    TestDrawing() { ZUriCreateDB(&record); }
    ~TestDrawing() { ZUriDeleteDB(&record); }
    TestDrawing(const TestDrawing&) = delete;
    TestDrawing& operator=(const TestDrawing&) = delete;
    void* db() { return &record; }
};

class TestViewSite : public CHostServiceSite {
public:
    ~TestViewSite() override
    {
        for (auto& view : views) DestroyWindow(view.first);
    }

    HWND AddView(TestDrawing& drawing, int width = 820, int height = 420, const char* windowClass = "STATIC")
    {
        RECT frame = {0, 0, width, height};
        AdjustWindowRect(&frame, WS_POPUP, FALSE);
        HWND window = CreateWindowA(windowClass, "", WS_POPUP, 0, 0, frame.right - frame.left,
                                    frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        auto block = std::make_unique<PDBINFO>();
        std::memset(block.get(), 0, sizeof(PDBINFO));
        block->engineDb = &drawing.record;
        block->mode0.scale = block->mode1.scale = block->mode2.scale = 1.0;
        views[window] = std::move(block);
        if (active == nullptr) active = window;
        return window;
    }

    HWND ActiveView() override { return active; }
    PDBINFO* ViewBlock(HWND view) override
    {
        auto found = views.find(view);
        return found == views.end() ? nullptr : found->second.get();
    }
    int ViewsOfDrawing(HWND view, HWND* out, int capacity) override
    {
        PDBINFO* block = ViewBlock(view);
        if (block == nullptr) return 0;
        int count = 0;
        out[count++] = view;
        for (auto& other : views)
            if (other.first != view && other.second->engineDb == block->engineDb && count < capacity)
                out[count++] = other.first;
        return count;
    }
    void RepaintView(HWND) override { ++repaints; }
    void SetDrawingModified(HWND view) override
    {
        if (PDBINFO* block = ViewBlock(view)) block->modified = 1;
    }

    std::map<HWND, std::unique_ptr<PDBINFO>> views;
    HWND active = nullptr;
    int repaints = 0;
};

class ScriptedCommandHost : public CCommandHost {
public:
    HWND MainWindow() override { return nullptr; }
    int ShowMessageBox(HWND, const char* text, const char* caption, UINT type) override
    {
        messages.push_back(text ? text : "");
        captions.push_back(caption ? caption : "");
        types.push_back(type);
        return answer;
    }
    int ShowErrorMessage(const char* text) override
    {
        messages.push_back(text ? text : "");
        return IDOK;
    }
    void WriteLog(int, const char*, const char*) override {}

    std::vector<std::string> messages, captions;
    std::vector<UINT> types;
    int answer = IDOK;
};

// A copy of the engine's record of the page, empty when the page does not exist.
inline std::unique_ptr<EnginePageRecord> ReadTestPage(void* db, int page)
{
    auto record = std::make_unique<EnginePageRecord>();
    if (!ZUriGetPage(page, record.get(), db)) return nullptr;
    return record;
}

// Appends a line of the kind given on a layer and page; the element.
inline void* AppendTestElement(void* db, int type, int layer, int page, double x = 0)
{
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = static_cast<uint16_t>(type);
    header->layer = static_cast<uint16_t>(layer);
    header->page = page;
    header->colour = 1;
    line.x1 = x, line.y1 = 0, line.x2 = x + 10, line.y2 = 5;
    return ZUriAppendElement(&line, db);
}

// ---- dialogs driven as a user drives them ----
#include <functional>

#include "OwnWindows.h"

// Handles every message already in this thread's queue (clicks and keys posted to a dialog).
inline void DrainMessages()
{
    MSG msg;
    for (int guard = 0; guard < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct DialogScript {
    std::string caption;
    std::function<void(HWND)> script;
};

inline std::vector<DialogScript>& PendingDialogScripts()
{
    static std::vector<DialogScript> pending;
    return pending;
}

// The first pending script gets its dialog once it shows; a dialog it leaves shown is cancelled.
inline void CALLBACK RunPendingDialogScript(HWND, UINT, UINT_PTR id, DWORD)
{
    std::vector<DialogScript>& pending = PendingDialogScripts();
    if (pending.empty()) {
        KillTimer(nullptr, id);
        return;
    }
    HWND dialog = FindOwnWindow("#32770", pending.front().caption.c_str());
    if (dialog == nullptr || !IsWindowVisible(dialog)) return;
    auto script = std::move(pending.front().script);
    pending.erase(pending.begin());
    script(dialog);
    // (An ended dialog is hidden at once.)
    if (IsWindowVisible(dialog)) SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

// Runs what opens the modal dialog of that caption while the script answers it; false when the
// dialog never showed. Scripts may nest: a script's own call answers the dialog it opens.
inline bool RunDialogScript(const char* caption, std::function<void(HWND)> script, const std::function<void()>& open)
{
    std::vector<DialogScript>& pending = PendingDialogScripts();
    const size_t before = pending.size();
    pending.insert(pending.begin(), {caption, std::move(script)});
    UINT_PTR timer = SetTimer(nullptr, 0, 50, RunPendingDialogScript);
    open();
    KillTimer(nullptr, timer);
    const bool shown = pending.size() == before;
    if (!shown) pending.erase(pending.begin());
    return shown;
}
