// The command "PDF保存" in batch use: Velloc.dll's StartCmdEx with a drawing database as the
// context, as a stand-alone converter calls it.
#include "GTest.h"

#include <string>
#include <vector>

#include "CadPdf/CadPdfOut.h"
#include "CadPdf/SavePdf.h"
#include "EngineBinding.h"
#include "MessageBoxAnswerer.h"
#include "ExportFixture.h"
#include "QmCadDocument.h"

namespace {

using StartCmdExFn = int(WINAPI*)(HWND, const char*, void*);

// The plug-in as a stand-alone converter binds it: Velloc.dll by name, StartCmdEx by name.
StartCmdExFn LoadStartCmdEx()
{
    char folder[MAX_PATH] = {};
    GetProgramFolder(folder, sizeof folder);
    HMODULE velloc = LoadLibraryA((std::string(folder) + "Velloc.dll.so").c_str());
    return velloc != nullptr ? reinterpret_cast<StartCmdExFn>(GetProcAddress(velloc, "StartCmdEx")) : nullptr;
}

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
    EXPECT_EQ(answerer.Count(), 0) << answerer.LastText();
    const ToolResult check = RunTool("qpdf --check '" + out.UnixPath("batch.pdf") + "'");
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST(SavePdfBatch, TheCommandWritesTheFixtureAsTheWriterDoes)
{
    StartCmdExFn start = LoadStartCmdEx();
    ASSERT_NE(start, nullptr);
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    BuildLayeredFixture(drawing);
    {
        MessageBoxAnswerer answerer;
        const std::string line = out.WindowsPath("out.pdf") + " /OD /c:PDF保存";
        EXPECT_EQ(start(nullptr, line.c_str(), drawing.db()), 0);
        EXPECT_EQ(answerer.Count(), 0) << answerer.LastText();
    }
    QmCadDocument document(nullptr);
    document.database = drawing.db();
    RecordedMessages messages;
    CadPdfOut writer(&document, &messages);
    ASSERT_EQ(writer.Export(out.WindowsPath("writer.pdf").c_str()), 0);

    const std::string command = out.UnixPath("out.pdf"), direct = out.UnixPath("writer.pdf");
    const ToolResult check = RunTool("qpdf --check '" + command + "'");
    EXPECT_EQ(check.exitCode, 0) << check.output;
    // What a viewer draws and the layers it lists are the writer's, element for element (the
    // tools name the file they read: that name is left out of the comparison).
    const auto withoutName = [](std::string text, const std::string& name) {
        for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) text.erase(at, name.size());
        return text;
    };
    const std::string traced = withoutName(RunTool("mutool trace '" + command + "'").output, command);
    EXPECT_GT(CountOccurrences(traced, "<stroke_path"), 20u);
    EXPECT_TRUE(traced == withoutName(RunTool("mutool trace '" + direct + "'").output, direct))
        << "the command's drawing differs from the writer's";
    const std::string layers = withoutName(RunTool("mutool draw -Y -o /dev/null '" + command + "'").output, command);
    EXPECT_NE(layers.find(u8"layer 1 (on): 壁"), std::string::npos) << layers;
    EXPECT_EQ(layers, withoutName(RunTool("mutool draw -Y -o /dev/null '" + direct + "'").output, direct));
}

TEST(SavePdfBatch, FailureIsNeitherZeroNorNotStarted)
{
    StartCmdExFn start = LoadStartCmdEx();
    ASSERT_NE(start, nullptr);
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.Add(LineElement(0, 0, 100, 50));
    {
        MessageBoxAnswerer answerer;
        const std::string line = out.WindowsPath("no-such-folder\\batch.pdf") + " /OD /c:PDF保存";
        const int result = start(nullptr, line.c_str(), drawing.db());
        EXPECT_NE(result, 0);
        EXPECT_NE(result, -1);
        EXPECT_EQ(answerer.Count(), 1);
        EXPECT_EQ(answerer.LastText().rfind("PDF変換中にエラーが発生しました。", 0), 0u) << answerer.LastText();
        EXPECT_EQ(answerer.LastCaption(), "エラー");
    }

    // An empty drawing: the no-data message, and no file.
    ExportDrawing empty;
    MessageBoxAnswerer second;
    const std::string emptyLine = out.WindowsPath("empty.pdf") + " /OD /c:PDF保存";
    EXPECT_EQ(start(nullptr, emptyLine.c_str(), empty.db()), kSavePdfNotWritten);
    EXPECT_EQ(GetFileAttributesA(out.WindowsPath("empty.pdf").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(second.LastText(), "PDFを保存するデータがありません。");
}

}  // namespace

