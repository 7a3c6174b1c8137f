#include "drawing/LayerPatternDialog.h"

#include <string>

#include "core/CadSystem.h"
#include "dialogs/DialogBase.h"
#include "drawing/LayerPatternFile.h"

namespace {

constexpr int kNames = 403, kName = 404, kPreview = 407;
constexpr int kLoad = 400, kSave = 401, kDelete = 1000, kImport = 405, kExport = 406;

class CLayerDataFileDlg : public CDialogBase<CLayerDataFileDlg> {
public:
    enum { IDD = 227 };
    explicit CLayerDataFileDlg(CLayerPageList& list) : m_list(list) {}

    WK_BEGIN_MSG_MAP(CLayerDataFileDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(IDOK, OnEnd)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnEnd)
        WK_COMMAND_ID_HANDLER(kLoad, OnLoad)
        WK_COMMAND_ID_HANDLER(kSave, OnSave)
        WK_COMMAND_ID_HANDLER(kNames, OnNames)
        WK_COMMAND_ID_HANDLER(kImport, OnImportExport)
        WK_COMMAND_ID_HANDLER(kExport, OnImportExport)
        WK_COMMAND_ID_HANDLER(kDelete, OnDelete)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CLayerDataFileDlg>)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::SendMessageA(GetDlgItem(kName), EM_LIMITTEXT, kPatternNameSize - 1, 0);
        Relist();
        for (int id : {kSave, kDelete})
            ::SetWindowLongA(GetDlgItem(id), GWL_STYLE, ::GetWindowLongA(GetDlgItem(id), GWL_STYLE) | BS_OWNERDRAW);
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (wParam == kSave) DrawColorButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        handled = FALSE;
        return 0;
    }

    void Relist()
    {
        HWND names = GetDlgItem(kNames);
        ::SendMessageA(names, LB_RESETCONTENT, 0, 0);
        SetDlgItemTextA(m_hWnd, kName, "");
        SetDlgItemTextA(m_hWnd, kPreview, "");
        CLayerPatternFile file;
        file.ConvertOlderFormat();
        for (const std::string& name : file.ListNames())
            ::SendMessageA(names, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }

    std::string Selected()
    {
        HWND names = GetDlgItem(kNames);
        const LRESULT line = ::SendMessageA(names, LB_GETCURSEL, 0, 0);
        if (line < 0) return std::string();
        char text[64] = "";
        if (::SendMessageA(names, LB_GETTEXTLEN, line, 0) >= static_cast<LRESULT>(sizeof text)) return std::string();
        ::SendMessageA(names, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text));
        return text;
    }

    LRESULT OnEnd(WORD, WORD id, HWND, BOOL&)
    {
        EndDialog(id == IDOK ? 1 : 2);
        return 0;
    }

    LRESULT OnLoad(WORD, WORD, HWND, BOOL&)
    {
        const std::string name = Selected();
        if (ApplyPatternToTree(m_hWnd, m_list, name.c_str())) EndDialog(1);
        return 0;
    }

    LRESULT OnSave(WORD, WORD, HWND, BOOL&)
    {
        char name[64] = "";
        GetDlgItemTextA(m_hWnd, kName, name, sizeof name);
        if (SaveLayerPattern(m_hWnd, m_list, name)) Relist();
        return 0;
    }

    LRESULT OnDelete(WORD, WORD, HWND, BOOL&)
    {
        const std::string name = Selected();
        if (!name.empty()) DeleteLayerPattern(m_hWnd, name.c_str());
        Relist();
        return 0;
    }

    LRESULT OnImportExport(WORD, WORD id, HWND, BOOL&)
    {
        const bool exportFile = id == kExport;
        if (ImportExportLayerPatternFile(m_hWnd, exportFile) && !exportFile) Relist();
        return 0;
    }

    LRESULT OnNames(WORD, WORD, HWND, BOOL&)
    {
        const std::string name = Selected();
        if (name.empty()) return 0;
        CLayerPatternFile file;
        std::string preview = PatternPreviewText(file, name.c_str());
        // The static shows line breaks as CR LF.
        std::string shown;
        for (char c : preview) {
            if (c == '\n') shown += '\r';
            shown += c;
        }
        SetDlgItemTextA(m_hWnd, kPreview, shown.c_str());
        return 0;
    }

    CLayerPageList& m_list;
};

}  // namespace

INT_PTR RunLayerPatternDialog(HWND owner, CLayerPageList& list)
{
    CLayerDataFileDlg dialog(list);
    return dialog.DoModal(owner);
}
