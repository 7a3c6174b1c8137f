// The command "PDF読込": asks for the file (or takes it from the parameters), makes the new
// drawing, opens the PDF with the import converter, lets the user choose the page and converts
// it, then finishes or closes the new drawing window.
#include "CadPdf/LoadPdf.h"

#include "CadPdf/PdfImportConverter.h"
#include "CadPdf/PdfImportHost.h"
#include "HostLibrary.h"
#include "ProgressLine.h"
#include "QmCadDocument.h"
#include "VellocModule.h"

#include <windows.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char kConvertFailed[] = "図面情報に異常があるため読み込めませんでした。";
const char kConvertCaption[] = "PDF読み込み";
const char kPathTooLong[] = "ファイルのパスが長すぎるため読み込めません。";

void TrimBlanks(std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Removes every occurrence of the option; true when there was one.
bool RemoveOption(std::string& text, const char* option)
{
    bool found = false;
    for (size_t at = text.find(option); at != std::string::npos; at = text.find(option)) {
        text.erase(at, std::strlen(option));
        found = true;
    }
    return found;
}

}  // namespace

int TakePageOption(std::string& text)
{
    const size_t at = text.find("/PG:");
    if (at == std::string::npos) return 0;
    std::string digits;
    for (size_t i = at + 4; i < text.size() && text[i] != ' '; ++i) {
        if (text[i] >= '0' && text[i] <= '9') digits.push_back(text[i]);
        text[i] = ' ';
    }
    RemoveOption(text, "/PG:");
    TrimBlanks(text);
    if (digits.empty()) return 0;
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    if (digits.size() - first > 9) return INT_MAX;  // no such page; the conversion refuses it
    return std::atoi(digits.c_str() + first);
}

int CLoadPdf::Run()
{
    std::string text = ParameterText();
    m_flag = 0;
    int pageIndex = 0;
    std::string path;
    const HWND owner = OwnerWindow();
    if (Context() != nullptr) {
        pageIndex = TakePageOption(text);
        if (RemoveOption(text, "/OD")) m_flag |= 1;
        TrimBlanks(text);
        path = text;
    } else {
        m_flag |= 1;
        path = text.empty() ? ChoosePdfFile() : text;
        if (path.empty()) return 0;
    }
    if (path.size() >= MAX_PATH) {
        MessageBoxA(owner, kPathTooLong, kConvertCaption, MB_OK | MB_ICONWARNING);
        return -1;
    }

    QmCadDocument document(owner);
    if (Context() != nullptr) {
        document.createdDatabase = Context();
        document.database = Context();
    } else if (document.CreateDatabase() == -1) {
        return -1;
    }
    if (owner != nullptr) HostLib::VySTOP_UNDO();

    PdfImportHost host;
    PdfImportConverter converter(&document, host.Services());
    int result = 0;
    bool closeWindow = false;
    bool cancelled = false;
    int pageCount = 0;
    if (converter.OpenPdf(path) != 0) {
        // The new drawing window goes as after a cancel: nothing was read into it.
        result = -1;
        closeWindow = true;
    } else {
        pageCount = converter.PageCount();
        if (m_flag & 1) {
            const HCURSOR cursor = GetCursor();
            int chosen = pageIndex;
            if (ShowPdfImportDialog(converter.PageTable(), &chosen, &document, pageCount) != 1) {
                cancelled = true;
                closeWindow = true;
            } else if (chosen >= 0 && chosen != pageIndex) {
                pageIndex = chosen;
                converter.SelectPage(pageIndex);
            }
            SetCursor(cursor);
        } else if (pageIndex > 0) {
            converter.SelectPage(pageIndex);
        }
        if (!cancelled) {
            if (owner != nullptr && HostLib::VyGetActiveCadWnd() == nullptr) {
                result = -1;  // nowhere to convert into
            } else {
                const double scale = document.GetDrawingScale();
                int converted = -1;
                if (scale > 0) {
                    converter.unitFactor = 1.0 / (scale * 72.0 / 25.4);
                    if (owner != nullptr) BeginProgress("読込中", path.c_str());
                    converted = converter.ConvertPage(pageIndex);
                }
                if (converted != 0) {
                    MessageBoxA(owner, kConvertFailed, kConvertCaption, MB_OK);
                    closeWindow = true;
                    result = -1;
                } else if (owner != nullptr) {
                    ReapplyActiveDbHead();
                }
            }
        }
    }
    if (owner != nullptr) {
        ShowProgress("");
        HostLib::VySetZumenFg(0);
        if (closeWindow) {
            const HWND view = HostLib::VyGetActiveCadWnd();
            if (view != nullptr && GetParent(view) != nullptr) SendMessageA(GetParent(view), WM_CLOSE, 0, 0);
        } else {
            HostLib::VySTART_UNDO();
        }
    }
    HostLib::VyUNLOCK_DB();
    HostLib::VyCmdParaSave();
    if (result == 0 && !cancelled && pageCount > 0) result = pageCount;
    if (!converter.MessageText().empty())
        MessageBoxA(owner, converter.MessageText().c_str(), "確認", MB_OK);
    return result;
}
