// A fake site for the element services: views are made-up window handles, each owning a real
// engine database; messages, questions, sounds, redraws and modified marks are recorded, and the
// questions answer from a script.
#pragma once

#include "GTest.h"

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../../Engine/EngineFixture.h"
#include "DravikDb.h"
#include "commands/CommandRunState.h"
#include "commands/ElementMessages.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/InputEvent.h"

class FakeElementSite : public CElementServiceSite {
public:
    struct Message {
        std::string text;
        std::string caption;
    };
    struct Redraw {
        HWND view;
        int mode;
        void* what;
    };

    std::map<HWND, void*> databases;
    HWND active = nullptr;
    std::vector<Message> messages;
    std::vector<std::string> questions;
    std::deque<int> answers;
    std::vector<int> sounds;
    std::vector<Redraw> redraws;
    std::vector<HWND> modifiedViews;
    int activeModified = 0;
    int repaints = 0;
    std::vector<std::string> logs;
    HostPoint cursor{};
    double scale = 1.0;
    int currentPage = 0;
    std::map<HWND, double> inputFactors;

    const ElementServiceSettings& Settings() override { return settings; }
    HWND MainWindow() override { return nullptr; }
    HWND ActiveView() override { return active; }
    void* ViewDatabase(HWND view) override
    {
        auto it = databases.find(view);
        return it != databases.end() ? it->second : nullptr;
    }
    // The drawing block of a view: the engine reads the database record at offset 20.
    std::map<HWND, std::vector<uint8_t>> blocks;
    void* ViewDataBlock(HWND view) override
    {
        void* db = ViewDatabase(view);
        if (db == nullptr) return nullptr;
        std::vector<uint8_t>& block = blocks[view];
        block.assign(871, 0);
        std::memcpy(block.data() + 20, &db, sizeof db);
        return block.data();
    }
    HWND FindViewByDatabase(void* db) override
    {
        for (auto& entry : databases)
            if (entry.second == db) return entry.first;
        return nullptr;
    }
    double ViewModeScale(HWND) override { return scale; }
    void RedrawElementInViews(HWND view, int mode, void* element) override { redraws.push_back({view, mode, element}); }
    void RedrawMarkInViews(HWND view, int mode, void* mark) override { redraws.push_back({view, mode, mark}); }
    int DrawMarkInView(HWND view, int mode, void* mark) override
    {
        redraws.push_back({view, mode, mark});
        return 1;
    }
    void SetViewModified(HWND view) override { modifiedViews.push_back(view); }
    void SetActiveDrawingModified() override { ++activeModified; }
    void ShowElementCountAndRepaint(HWND) override { ++repaints; }
    int CurrentPage() override { return currentPage; }
    double InputScaleFactor(HWND view) override
    {
        auto it = inputFactors.find(view);
        return it != inputFactors.end() ? it->second : 1.0;
    }
    HostPoint CursorWorldPoint() override { return cursor; }
    void FocusView(HWND) override {}
    std::vector<std::string> opened;
    int openAnswer = 2;
    std::map<std::string, HWND> files;
    std::vector<HWND> activated, closed;
    int untouchedClosed = 0;
    std::vector<int> keepCommand;
    HWND FindViewByFileName(const char* path) override
    {
        auto it = files.find(path);
        return it != files.end() ? it->second : nullptr;
    }
    int OpenDrawingFile(const char* path) override
    {
        opened.push_back(path);
        return openAnswer;
    }
    void ActivateView(HWND v) override { activated.push_back(v); }
    void CloseViewByCommand(HWND v) override { closed.push_back(v); }
    void CloseUntouchedViews() override { ++untouchedClosed; }
    void SetKeepCommandOnClose(int on) override { keepCommand.push_back(on); }
    int ShowMessage(const char* text, const char* caption, UINT) override
    {
        messages.push_back({text, caption});
        return IDOK;
    }
    int AskYesNoCancel(const char* question) override
    {
        questions.push_back(question);
        if (answers.empty()) return IDCANCEL;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void AlertSound(int kind) override { sounds.push_back(kind); }
    void WriteLog(int, const char*, const char* text) override { logs.push_back(text); }
};

// A figure-group header of one line member (box and origin as given in the record).
inline void* MakeFigureHeader(void* db, FigureHeaderRecord header = FigureHeaderRecord{})
{
    SetHeader(header.header, kElementFigureHeader);
    void* h = ZUriCreateFgroupHead(&header, db);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriAppendMemberElement(&line, h, db);
    return h;
}

// An unscaled, unturned instance record of a figure group.
inline FigureReferenceRecord MakeInstanceRecord()
{
    FigureReferenceRecord ref{};
    SetHeader(ref.header, kElementFigureReference);
    ref.scaleX = ref.scaleY = 1;
    return ref;
}

// A one-line text in the stroke font, base point 1 at (x, y).
inline TextRecord MakeVectorText(const char* text, double x, double y)
{
    TextRecord t{};
    SetHeader(t.header, kElementText);
    t.header[13] = 1;
    t.height = 10;
    t.widthRatio = 1;
    std::strncpy(t.font, "VectorFont", sizeof t.font - 1);
    t.x = x, t.y = y;
    t.text = text;
    t.nz = 1;
    return t;
}

inline HWND FakeView(int n) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7000 + n)); }

// One drawing view with its engine database, active, behind a fake site installed for the test.
class ElementServiceTest : public ::testing::Test {
protected:
    FakeElementSite site;
    TestDb drawing;
    HWND view = FakeView(1);

    void SetUp() override
    {
        ASSERT_TRUE(drawing.created);
        site.databases[view] = drawing.db();
        site.active = view;
        SetElementServiceSite(&site);
        CommandRunState& run = GetCommandRunState();
        run.pageCheckMessage = 1;
        run.highlightColor = 0;
        run.undoRecording = 1;
        run.undoBeginSuppressed = 0;
        GetElementServiceState() = ElementServiceState{};
    }
    void TearDown() override { SetElementServiceSite(nullptr); }

    // Pages whose elements may be edited (page 0 is after the database is made).
    void AllowPage(int page) { drawing.record.pageState.detectMask[page / 32] |= 1u << (page % 32); }

    void* Append(const ElementRecord& record) { return ZUriAppendElement(&record, drawing.db()); }

    static LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        bool handled = false;
        const LRESULT result = CCadSysCmdElement::Answer(message, wParam, lParam, handled);
        EXPECT_TRUE(handled) << "message " << message;
        return result;
    }
    static LRESULT Send(UINT message, WPARAM wParam, CmdParamRecord& param)
    {
        return Send(message, wParam, reinterpret_cast<LPARAM>(&param));
    }
    CmdParamRecord ViewParam() const
    {
        CmdParamRecord p{};
        p.view = view;
        return p;
    }
    int ElementCount() { return ZUriGetElmNum(drawing.db()); }
};
