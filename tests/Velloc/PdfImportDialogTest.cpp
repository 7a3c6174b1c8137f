#include "GTest.h"

#include "CadPdf/CadPdfInDlg.h"
#include "CadPdf/PdfImportConverter.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "MessageBoxAnswerer.h"
#include "PdfImportFakes.h"
#include "QmCadDocument.h"

#include <cstring>

namespace {

// The new drawing's database and the dialog made on it without a modal loop, its template
// taken from the plug-in library.
struct DialogRun
{
    EngineDbRecord record{};
    QmCadDocument document;
    DbInfoRecord* info = nullptr;
    std::vector<PdfPageInfo> pages;
    std::unique_ptr<CadPdfInDlg> dialog;

    DialogRun(uint16_t paperCode, double width, double height, double scale)
    {
        ZUriCreateDB(&record);
        document.database = &record;
        info = &static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &record))->record;
        info->paperCode = paperCode;
        info->paperWidthMm = width;
        info->paperHeightMm = height;
        info->scale = scale;
        info->drawingWidth = width / scale;
        info->drawingHeight = height / scale;
        std::strcpy(info->title, "図面");
    }
    ~DialogRun()
    {
        if (dialog && dialog->m_hWnd) DestroyWindow(dialog->m_hWnd);
        dialog.reset();
        ZUriDeleteDB(&record);
    }
    HWND Open(int pageCount, int pageIndex = 0)
    {
        static HMODULE plugin = LoadLibraryA((TestProgramFolder() + "Velloc.dll.so").c_str());
        dialog.reset(new CadPdfInDlg(&document, pageCount, pageIndex, &pages));
        return dialog->CreateIn(plugin, nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(dialog->m_hWnd, id); }
    std::string Text(int id) const
    {
        char text[256] = {};
        GetWindowTextA(Item(id), text, sizeof text);
        return text;
    }
    void Choose(int id, int index)
    {
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
};

}  // namespace

TEST(EvaluateNumberText, NumbersAndOneOperator)
{
    struct Case { const char* text; double value; };
    const Case cases[] = {{"1/100", 0.01}, {"1 / 100", 0.01}, {"50", 50}, {"-5", -5}, {"3:4", 0}, {"1/0", 0},
                          {"2*3", 6}, {"1.5+2", 3.5}, {"", 0}, {"7-2-1", 5}, {"abc", 0}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(c.value, EvaluateNumberText(c.text)) << c.text;
}

TEST(PdfImportDialog, OpensOnTheRecordsPaperAndFollowsTheChoice)
{
    DialogRun run(0x8014, 210, 297, 0.02);  // A4 portrait, 1/50
    ASSERT_NE(nullptr, run.Open(1));
    EXPECT_EQ("A4", [&] { char t[16] = {}; SendMessageA(run.Item(IDC_PDFIN_PAPER), CB_GETLBTEXT, run.Selection(IDC_PDFIN_PAPER), (LPARAM)t); return std::string(t); }());
    EXPECT_EQ(1, run.Selection(IDC_PDFIN_DIRECTION));
    EXPECT_EQ("1/50", run.Text(IDC_PDFIN_SCALE));
    EXPECT_EQ("図面", run.Text(IDC_PDFIN_NAME));
    EXPECT_FALSE(IsWindowEnabled(run.Item(IDC_PDFIN_PAPER_WIDTH)));
    EXPECT_FALSE(GetWindowLongA(run.Item(IDC_PDFIN_PAGE), GWL_STYLE) & WS_VISIBLE);  // one page: no page list
    run.Choose(IDC_PDFIN_PAPER, 12);                             // B5
    EXPECT_EQ("182", run.Text(IDC_PDFIN_PAPER_WIDTH));
    EXPECT_EQ("257", run.Text(IDC_PDFIN_PAPER_HEIGHT));
    EXPECT_EQ("9100", run.Text(IDC_PDFIN_DRAWING_WIDTH));
    ASSERT_TRUE(run.dialog->StoreChoices());
    EXPECT_EQ(0x8025, run.info->paperCode);
    EXPECT_DOUBLE_EQ(182, run.info->paperWidthMm);
    EXPECT_DOUBLE_EQ(257 / 0.02, run.info->drawingHeight);
    EXPECT_EQ(-1, run.dialog->pageIndex);
}

TEST(PdfImportDialog, AFreePaperIsEditableAndZeroSizesAreRefused)
{
    DialogRun run(0, 100, 50, 0.02);
    ASSERT_NE(nullptr, run.Open(1));
    EXPECT_EQ(CadPdfInDlg::kOtherPaperRow, run.dialog->GetPaperRow());
    EXPECT_FALSE(IsWindowEnabled(run.Item(IDC_PDFIN_DIRECTION)));
    EXPECT_TRUE(IsWindowEnabled(run.Item(IDC_PDFIN_PAPER_WIDTH)));
    SetWindowTextA(run.Item(IDC_PDFIN_PAPER_WIDTH), "0");
    {
        MessageBoxAnswerer answer;  // the dialog under test is not shown: it is not answered
        EXPECT_FALSE(run.dialog->StoreChoices());
        EXPECT_EQ(1, answer.Count());
        EXPECT_NE(std::string::npos, answer.LastText().find("正しい用紙サイズを入力してください。"));
    }
    EXPECT_EQ("0", run.Text(IDC_PDFIN_PAPER_WIDTH));
    SetWindowTextA(run.Item(IDC_PDFIN_SCALE), "1/0");
    {
        MessageBoxAnswerer answer;
        EXPECT_FALSE(run.dialog->StoreChoices());
        EXPECT_EQ(1, answer.Count());
        EXPECT_NE(std::string::npos, answer.LastText().find("正しいスケールを入力してください。"));
    }
    // The drawing sizes follow the paper sizes as they are typed, at the scale then shown.
    SetWindowTextA(run.Item(IDC_PDFIN_SCALE), "1 / 10");
    SetWindowTextA(run.Item(IDC_PDFIN_PAPER_WIDTH), "120");
    SetWindowTextA(run.Item(IDC_PDFIN_PAPER_HEIGHT), "50");
    ASSERT_TRUE(run.dialog->StoreChoices());
    EXPECT_DOUBLE_EQ(0.1, run.info->scale);
    EXPECT_DOUBLE_EQ(1200, run.info->drawingWidth);
    EXPECT_EQ(0, run.info->paperCode);
}

TEST(PdfImportDialog, ChoosingAPageTakesItsPaperAndScale)
{
    DialogRun run(0x8014, 210, 297, 0.02);
    run.pages = {{210, 297, 0, 0, 0.02}, {420, 297, 0, 0, 0.02}, {841, 594, 0, 0, 0.02}};
    ASSERT_NE(nullptr, run.Open(3, 0));
    ASSERT_TRUE(GetWindowLongA(run.Item(IDC_PDFIN_PAGE), GWL_STYLE) & WS_VISIBLE);
    run.Choose(IDC_PDFIN_PAGE, 1);  // A3 landscape
    EXPECT_EQ(0x0013, run.info->paperCode);
    EXPECT_EQ(0, run.Selection(IDC_PDFIN_DIRECTION));
    EXPECT_EQ("1/50", run.Text(IDC_PDFIN_SCALE));
    run.Choose(IDC_PDFIN_PAGE, 2);  // A1
    EXPECT_EQ("1/100", run.Text(IDC_PDFIN_SCALE));
    ASSERT_TRUE(run.dialog->StoreChoices());
    EXPECT_EQ(2, run.dialog->pageIndex);
}
