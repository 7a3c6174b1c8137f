// A drawing saved as PDF and read back, as a user does it in the program: "PDF保存" from the
// menu, the save dialog with its "設定" button and a typed name, then "PDF読込" with the file
// and the import dialog's page.
#include "GTest.h"

#include <hpdf.h>

#include <functional>
#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>AddLineCircle;線と円,5993,TestPlugin.dll /C:AddLineCircle</item>\n"
    "<item>PDF保存;PDF保存,7805,Velloc.dll,</item>\n"
    "<item>PDF読込;PDF読込,7806,Velloc.dll,</item>\n"
    "<item>SavePdfOption;PDF保存設定,7807,Velloc.dll,</item>\n"

    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

constexpr int kSavePdf = 7805, kLoadPdf = 7806;
constexpr int kNameCombo = 1148;        // the common dialog's file name field
constexpr int kSettingsButton = 6091;   // "設定" in the save dialog's extension
constexpr int kScaleField = 1031, kPageList = 1037;  // in the import dialog
const char kImportCaption[] = "図面情報の作成（各種設定後 [OK] ｸﾘｯｸしてください。）";

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50))
        if (condition()) return true;
    return condition();
}

HWND WaitForDialog(ProgramProcess& program, const std::string& caption)
{
    HWND found = nullptr;
    WaitFor([&] {
        found = nullptr;
        for (HWND w = FindWindowA("#32770", nullptr); w != nullptr; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == program.ProcessId() && IsWindowVisible(w) && Caption(w) == caption) found = w;
        }
        return found != nullptr;
    });
    return found;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

// A control anywhere inside the dialog (the plug-in's part is a dialog of its own inside it).
HWND Descendant(HWND dialog, int id)
{
    ChildSearch search = {id, nullptr};
    EnumChildWindows(dialog, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The captions of the program's visible top-level windows, for a failure message.
std::string ShownWindows(ProgramProcess& program)
{
    std::string shown;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == program.ProcessId() && IsWindowVisible(w)) shown += "[" + Caption(w) + "]";
    }
    return shown;
}

void TypeName(HWND dialog, const std::string& path)
{
    SendMessageA(GetDlgItem(dialog, kNameCombo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

void Press(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

bool Gone(HWND window) { return WaitFor([window] { return !IsWindow(window) || !IsWindowVisible(window); }); }

int VisibleDrawingWindows(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    int count = 0;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) ++count;
    return count;
}

// Starts the program and has the test plug-in put a line and a circle into a new drawing window;
// the main window, or null when any step failed.
HWND StartWithLineAndCircle(ProgramProcess& program)
{
    if (!program.Start()) return nullptr;
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    if (frame == nullptr || OpenEmptyDrawingWindow(frame) == nullptr) return nullptr;
    PostMessageA(frame, WM_COMMAND, 5993, 0);
    return WaitForCaption(frame, "AddLineCircle 2", 10000) ? frame : nullptr;
}

}  // namespace

TEST(PdfRoad, ADrawingSavedAsPdfFromTheMenuIsReadBackAsANewDrawing)
{
    TempFolder folder;
    const std::string pdf = folder.File("plan.pdf");
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    ProgramProcess program;
    HWND frame = StartWithLineAndCircle(program);
    ASSERT_NE(frame, nullptr) << "no drawing window with the test plug-in's line and circle";

    // "PDF保存": the save dialog, whose "設定" opens the export options.
    PostMessageA(frame, WM_COMMAND, kSavePdf, 0);
    HWND save = WaitForDialog(program, "ファイルの保存");
    ASSERT_NE(save, nullptr) << "no save dialog";
    HWND settings = Descendant(save, kSettingsButton);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(IsWindowVisible(settings));
    Press(settings);
    HWND options = WaitForDialog(program, "PDF保存設定");
    ASSERT_NE(options, nullptr) << "\"設定\" did not open the export options";
    Press(GetDlgItem(options, IDCANCEL));
    ASSERT_TRUE(Gone(options));

    TypeName(save, pdf);
    Press(GetDlgItem(save, IDOK));
    ASSERT_TRUE(Gone(save));
    std::string bytes;
    EXPECT_TRUE(WaitFor([&] {
        bytes = folder.Read("plan.pdf");
        return bytes.size() > 8 && bytes.find("%%EOF") != std::string::npos;
    })) << "no PDF written to " << pdf;
    EXPECT_EQ(0u, bytes.find("%PDF-1.5"));
    EXPECT_NE(std::string::npos, bytes.find("/OCProperties")) << "the layers are not optional content";

    // "PDF読込": the file, then the import dialog's page; a new drawing window opens with the
    // line and the circle.
    const int before = VisibleDrawingWindows(frame);
    PostMessageA(frame, WM_COMMAND, kLoadPdf, 0);
    HWND open = WaitForDialog(program, "ファイルの読込");
    ASSERT_NE(open, nullptr) << "no open dialog";
    TypeName(open, pdf);
    Press(GetDlgItem(open, IDOK));
    HWND import = WaitForDialog(program, kImportCaption);
    ASSERT_NE(import, nullptr) << "no import dialog; shown: " << ShownWindows(program);
    Press(GetDlgItem(import, IDOK));
    ASSERT_TRUE(Gone(import));
    ASSERT_TRUE(WaitFor([&] { return VisibleDrawingWindows(frame) == before + 1; })) << "no drawing window came";

    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    HWND child = reinterpret_cast<HWND>(SendToProgram(client, WM_MDIGETACTIVE));
    HWND view = FindWindowExA(child, nullptr, "RiririView", nullptr);
    PDBINFO block{};
    int elements = -1;
    EXPECT_TRUE(WaitFor([&] {
        elements = ReadViewBlock(program.ProcessId(), view, &block) ? DrawingElementCount(program.ProcessId(), block) : -1;
        return elements >= 2;
    })) << "elements read back: " << elements;
    EXPECT_EQ(2, elements) << "the line and the circle, each read back as one element";
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

namespace {

// A PDF of two A4 pages made with the PDF library: one line on the first, three on the second.
bool WriteTwoPagePdf(const TempFolder& folder, const char* name)
{
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    if (pdf == nullptr) return false;
    for (int lines : {1, 3}) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetSize(page, HPDF_PAGE_SIZE_A4, HPDF_PAGE_PORTRAIT);
        for (int i = 0; i < lines; ++i) {
            HPDF_Page_MoveTo(page, 100, 100 + 50.0f * i);
            HPDF_Page_LineTo(page, 300, 100 + 50.0f * i);
            HPDF_Page_Stroke(page);
        }
    }
    std::string bytes;
    if (HPDF_SaveToStream(pdf) == HPDF_OK) {
        bytes.resize(HPDF_GetStreamSize(pdf));
        HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
        HPDF_ReadFromStream(pdf, reinterpret_cast<HPDF_BYTE*>(&bytes[0]), &size);
        bytes.resize(size);
    }
    HPDF_Free(pdf);
    return !bytes.empty() && folder.Write(name, bytes);
}

// The drawing information of the active drawing window's drawing, read from the program.
bool ActiveDrawing(ProgramProcess& program, HWND frame, DbInfoRecord* info, int* elements)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    HWND child = reinterpret_cast<HWND>(SendToProgram(client, WM_MDIGETACTIVE));
    HWND view = FindWindowExA(child, nullptr, "RiririView", nullptr);
    PDBINFO block{};
    if (!ReadViewBlock(program.ProcessId(), view, &block)) return false;
    *elements = DrawingElementCount(program.ProcessId(), block);
    return ReadDrawingInfo(program.ProcessId(), block, info);
}

}  // namespace

TEST(PdfRoad, TheImportDialogsPageAndScaleChooseWhatIsReadAndHowLarge)
{
    TempFolder folder;
    ASSERT_TRUE(WriteTwoPagePdf(folder, "two.pdf"));
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    ProgramProcess program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);
    // The import is offered while a drawing is open.
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);

    PostMessageA(frame, WM_COMMAND, kLoadPdf, 0);
    HWND open = WaitForDialog(program, "ファイルの読込");
    ASSERT_NE(open, nullptr) << "no open dialog";
    TypeName(open, folder.File("two.pdf"));
    Press(GetDlgItem(open, IDOK));
    HWND import = WaitForDialog(program, kImportCaption);
    ASSERT_NE(import, nullptr) << "no import dialog; shown: " << ShownWindows(program);

    // The second page from the page list, and the scale typed into the scale field.
    HWND pages = GetDlgItem(import, kPageList);
    ASSERT_TRUE(IsWindowVisible(pages)) << "a PDF of two pages offers its pages";
    EXPECT_EQ(2, SendToProgram(pages, CB_GETCOUNT));
    SendToProgram(pages, CB_SETCURSEL, 1);
    SendToProgram(import, WM_COMMAND, MAKEWPARAM(kPageList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(pages));
    HWND scale = GetDlgItem(import, kScaleField);
    SendMessageA(scale, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1/100"));
    SendToProgram(import, WM_COMMAND, MAKEWPARAM(kScaleField, CBN_EDITUPDATE), reinterpret_cast<LPARAM>(scale));
    Press(GetDlgItem(import, IDOK));
    ASSERT_TRUE(Gone(import));

    DbInfoRecord info{};
    int elements = -1;
    EXPECT_TRUE(WaitFor([&] { return ActiveDrawing(program, frame, &info, &elements) && elements == 3; }))
        << "elements of the new drawing: " << elements;
    EXPECT_DOUBLE_EQ(0.01, info.scale) << "the drawing takes the scale 1/100";
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

TEST(PdfRoad, APluginCommandHasTheHostRunTheExportPlugin)
{
    TempFolder folder;
    const std::string pdf = folder.File("exported.pdf");
    // The test plug-in's command names the file; the host runs "PDF保存" of the catalogue with it.
    const std::string xml = std::string(kCatalogue).insert(std::string(kCatalogue).find("</data>"),
                                                           "<item>ExportPdf;出力,5994,TestPlugin.dll /C:ExportPdf " + pdf +
                                                               "</item>\n");
    CatalogueSwap catalogue{xml};
    ASSERT_TRUE(catalogue.Written());
    ProgramProcess program;
    HWND frame = StartWithLineAndCircle(program);
    ASSERT_NE(frame, nullptr) << "no drawing window with the test plug-in's line and circle";

    PostMessageA(frame, WM_COMMAND, 5994, 0);
    ASSERT_TRUE(WaitFor([&] { return Caption(frame).rfind("ExportPdf ", 0) == 0; })) << Caption(frame);
    const std::string bytes = folder.Read("exported.pdf");
    EXPECT_EQ(0u, bytes.find("%PDF-1.5")) << "no PDF written by the export plug-in";
    EXPECT_NE(std::string::npos, bytes.find("%%EOF"));
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}
