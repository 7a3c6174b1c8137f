// The command "PDF保存" in batch use: Velloc.dll's StartCmdEx with a drawing database as the
// context, as a stand-alone converter calls it.
#include "GTest.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "CadPdf/SavePdf.h"
#include "CommandEntry.h"
#include "CommandRegistry.h"
#include "ExportFixture.h"

namespace {

using StartCmdExFn = int (*)(HWND, const char*, void*);

// StartCmdEx of the plug-in is this call with the plug-in's registry (VellocEntry.cpp); the
// plug-in's library is linked into the test, so the command runs in this process.
int StartCmdExInProcess(HWND host, const char* line, void* context)
{
    if (PluginCommands().Find("PDF保存") == nullptr) RegisterCommands();
    return RunCommandEntry(PluginCommands(), host, line, context);
}

StartCmdExFn LoadStartCmdEx() { return &StartCmdExInProcess; }

// Presses OK on every message box of this process, as a user would, and keeps their texts.
class MessageBoxAnswerer {
public:
    // A Win32 thread: only threads the platform made may call window functions.
    MessageBoxAnswerer() : m_thread(CreateThread(nullptr, 0, &MessageBoxAnswerer::Run, this, 0, nullptr)) {}
    ~MessageBoxAnswerer()
    {
        m_stop = true;
        if (m_thread != nullptr) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
        }
    }
    std::vector<std::string> Texts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_texts;
    }

private:
    static BOOL CALLBACK FindStatic(HWND child, LPARAM out)
    {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextLengthA(child) > 0) {
            *reinterpret_cast<HWND*>(out) = child;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM self)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char cls[32] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (process != GetCurrentProcessId() || lstrcmpA(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
        HWND text = nullptr;
        EnumChildWindows(window, FindStatic, reinterpret_cast<LPARAM>(&text));
        char buffer[1024] = {};
        if (text != nullptr) GetWindowTextA(text, buffer, sizeof buffer);
        auto* answerer = reinterpret_cast<MessageBoxAnswerer*>(self);
        {
            std::lock_guard<std::mutex> lock(answerer->m_mutex);
            answerer->m_texts.push_back(buffer);
        }
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    static DWORD WINAPI Run(void* self)
    {
        static_cast<MessageBoxAnswerer*>(self)->Loop();
        return 0;
    }
    void Loop()
    {
        while (!m_stop) {
            EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }

    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::string> m_texts;
    HANDLE m_thread;
};

TEST(SavePdfBatch, OutputPathDropsEveryOdAndTrims)
{
    struct Case {
        const char* parameters;
        const char* path;
    };
    const Case cases[] = {
        {"out.pdf /OD", "out.pdf"},
        {"/OD out.pdf /OD", "out.pdf"},
        {" out.pdf ", " out.pdf "},        // nothing removed: blanks kept
        {"a/ODb.pdf", "ab.pdf"},
        {"図面/OD.pdf", "図面.pdf"},
        {"out.pdf /od", "out.pdf /od"},    // case-sensitive
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(BatchOutputPath(c.parameters), c.path) << c.parameters;
}

TEST(SavePdfBatch, WritesTheDrawingAndAnswersZero)
{
    StartCmdExFn start = LoadStartCmdEx();
    ASSERT_NE(start, nullptr);
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.NameLayer(0, "壁");
    drawing.Add(LineElement(0, 0, 100, 50));
    const std::string line = "/OD " + out.WindowsPath("batch.pdf") + " /OD /c:PDF保存";
    MessageBoxAnswerer answerer;
    EXPECT_EQ(start(nullptr, line.c_str(), drawing.db()), 0);
    for (const std::string& text : answerer.Texts()) ADD_FAILURE() << "message: " << text;
    const ToolResult check = RunTool("qpdf --check '" + out.UnixPath("batch.pdf") + "'");
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST(SavePdfBatch, FailureIsNeitherZeroNorNotStarted)
{
    StartCmdExFn start = LoadStartCmdEx();
    ASSERT_NE(start, nullptr);
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.Add(LineElement(0, 0, 100, 50));
    MessageBoxAnswerer answerer;
    const std::string line = out.WindowsPath("no-such-folder\\batch.pdf") + " /OD /c:PDF保存";
    const int result = start(nullptr, line.c_str(), drawing.db());
    EXPECT_NE(result, 0);
    EXPECT_NE(result, -1);
    const std::vector<std::string> texts = answerer.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("PDF変換中にエラーが発生しました。", 0), 0u) << texts[0];

    // An empty drawing: the no-data message, and no file.
    ExportDrawing empty;
    MessageBoxAnswerer second;
    const std::string emptyLine = out.WindowsPath("empty.pdf") + " /OD /c:PDF保存";
    EXPECT_EQ(start(nullptr, emptyLine.c_str(), empty.db()), kSavePdfNotWritten);
    EXPECT_EQ(GetFileAttributesA(out.WindowsPath("empty.pdf").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

