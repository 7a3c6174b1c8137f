#include "drawing/MarginListDialogs.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/NumericInput.h"
#include "core/SettingsMessage.h"
#include "dialogs/DialogBase.h"

namespace {

enum {
    kList = 1500,
    kDelete = 1000,
    kNew = 1001,
    kImport = 1003,
    kExport = 1004,
    kNameEdit = 1300,
    kFirstMarginEdit = 1305,
};

const char kMgnFilter[] = "マージン ファイル (*.mgn)\0*.mgn\0すべてのファイル (*.*)\0*.*\0";

std::string ButtonText(HWND dialog, int id)
{
    char text[128] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The ".mgn" open or save dialog; false when cancelled.
bool AskMarginFilePath(HWND owner, bool save, std::string& path)
{
    char file[260] = {};
    char title[256] = {};
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = kMgnFilter;
    request.nFilterIndex = 1;
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrFileTitle = title;
    request.nMaxFileTitle = sizeof title;
    // "mgn", so that an exported file shows under the import filter.
    request.lpstrDefExt = "mgn";
    request.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_CREATEPROMPT | OFN_HIDEREADONLY |
                    (save ? OFN_OVERWRITEPROMPT : 0);
    const BOOL ok = save ? ::GetSaveFileNameA(&request) : ::GetOpenFileNameA(&request);
    if (!ok) return false;
    path = file;
    return true;
}

class CMarginListNewDlg : public CDialogBase<CMarginListNewDlg> {
public:
    enum { IDD = 214 };
    using Base = CDialogBase<CMarginListNewDlg>;

    WK_BEGIN_MSG_MAP(CMarginListNewDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    CMarginData preset;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::SendDlgItemMessageA(m_hWnd, kNameEdit, EM_LIMITTEXT, kMarginNameBytes, 0);
        ::SetDlgItemTextA(m_hWnd, kNameEdit, preset.name.c_str());
        for (int i = 0; i < CMarginData::kMarginCount; ++i) {
            ::SendDlgItemMessageA(m_hWnd, kFirstMarginEdit + i, EM_LIMITTEXT, 5, 0);
            char text[64];
            FormatDouble(text, sizeof text, preset.margins[i], 15, 1);
            ::SetDlgItemTextA(m_hWnd, kFirstMarginEdit + i, text);
        }
        handled = FALSE;  // the base's WM_INITDIALOG runs too
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        char text[256] = {};
        ::GetDlgItemTextA(m_hWnd, kNameEdit, text, sizeof text);
        const std::string name = text;
        std::string margins[CMarginData::kMarginCount];
        for (int i = 0; i < CMarginData::kMarginCount; ++i) {
            ::GetDlgItemTextA(m_hWnd, kFirstMarginEdit + i, text, sizeof text);
            margins[i] = text;
        }
        int bad = 0;
        if (ReadNewMarginEntries(m_hWnd, name, margins, preset, &bad) == 0) {
            ::SetFocus(GetDlgItem(bad));
            return 0;
        }
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }
};

// The list box is the view of the store: line i shows preset i, so every preset keeps its
// full values whatever the list's two decimals show.
class CMarginListDlg : public CDialogBase<CMarginListDlg> {
public:
    enum { IDD = 213 };
    using Base = CDialogBase<CMarginListDlg>;

    WK_BEGIN_MSG_MAP(CMarginListDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnSelect)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kDelete, OnDelete)
        WK_COMMAND_ID_HANDLER(kNew, OnNew)
        WK_COMMAND_ID_HANDLER(kImport, OnImport)
        WK_COMMAND_ID_HANDLER(kExport, OnExport)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    CMarginData chosen;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::SendDlgItemMessageA(m_hWnd, kList, LB_SETITEMHEIGHT, 0, 16);
        if (m_store.Load() == -2) {
            // Not a preset file of this program: it stays as it is, and so does the list.
            m_fileWritable = false;
            const std::string text = "\"" + m_store.path + "\" はマージン データのファイルではないため、変更しません。";
            ShowSettingsMessage(m_hWnd, text.c_str(), "マージン枠パターン選択", MB_OK | MB_ICONWARNING);
        }
        for (const CMarginData& preset : m_store.presets) AddLine(preset);
        handled = FALSE;  // the base's WM_INITDIALOG runs too
        return 0;
    }

    LRESULT OnSelect(WORD, WORD, HWND, BOOL&)
    {
        const int index = Selected();
        if (index < 0) {
            ShowSettingsMessage(m_hWnd, "項目が選択されていません", ButtonText(m_hWnd, IDOK).c_str(), MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        chosen = m_store.presets[index];
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }

    LRESULT OnDelete(WORD, WORD, HWND, BOOL&)
    {
        const int index = Selected();
        if (index < 0) {
            ShowSettingsMessage(m_hWnd, GetMessageText(7420), GetMessageText(7416), MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        if (ShowSettingsMessage(m_hWnd, GetMessageText(7418), "削除", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
        m_store.presets.erase(m_store.presets.begin() + index);
        ::SendDlgItemMessageA(m_hWnd, kList, LB_DELETESTRING, index, 0);
        SaveStore();
        return 0;
    }

    LRESULT OnNew(WORD, WORD, HWND, BOOL&)
    {
        CMarginData preset;
        if (RunMarginListNewDlg(::GetActiveWindow(), preset) != IDOK) return 0;
        m_store.presets.push_back(preset);
        AddLine(preset);
        SaveStore();
        return 0;
    }

    LRESULT OnImport(WORD, WORD, HWND, BOOL&)
    {
        std::string path;
        if (!AskMarginFilePath(m_hWnd, false, path)) return 0;
        const size_t before = m_store.presets.size();
        if (ImportMarginFile(m_store, path.c_str()) == -2) {
            ShowSettingsMessage(m_hWnd, "マージン データのファイルではありません", ButtonText(m_hWnd, kImport).c_str(),
                                MB_OK | MB_ICONINFORMATION);
        }
        if (m_store.presets.size() == before) return 0;
        for (size_t i = before; i < m_store.presets.size(); ++i) AddLine(m_store.presets[i]);
        SaveStore();
        return 0;
    }

    LRESULT OnExport(WORD, WORD, HWND, BOOL&)
    {
        const int index = Selected();
        if (index < 0) {
            ShowSettingsMessage(m_hWnd, "書き出す項目が選択されていません", ButtonText(m_hWnd, kExport).c_str(),
                                MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        std::string path;
        if (!AskMarginFilePath(m_hWnd, true, path)) return 0;
        if (ExportMarginPreset(m_store.presets[index], path.c_str()) != 0) {
            const std::string text = "\"" + path + "\" に書き出せませんでした";
            ShowSettingsMessage(m_hWnd, text.c_str(), ButtonText(m_hWnd, kExport).c_str(), MB_OK | MB_ICONWARNING);
        }
        return 0;
    }

    int Selected() const
    {
        const LRESULT index = ::SendDlgItemMessageA(m_hWnd, kList, LB_GETCURSEL, 0, 0);
        return index >= 0 && static_cast<size_t>(index) < m_store.presets.size() ? static_cast<int>(index) : -1;
    }

    void AddLine(const CMarginData& preset)
    {
        std::string line;
        FormatMarginListLine(preset, line);
        ::SendDlgItemMessageA(m_hWnd, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }

    // Written only after a change, at full precision; an unrecognised file is never replaced.
    void SaveStore()
    {
        if (m_fileWritable) m_store.Save();
    }

    CMargin m_store;
    bool m_fileWritable = true;
};

}  // namespace

int ReadNewMarginEntries(HWND owner, const std::string& name, const std::string margins[CMarginData::kMarginCount],
                         CMarginData& preset, int* badControl)
{
    char cut[kMarginNameBytes + 1];
    DbcsCopyN(cut, sizeof cut, name.c_str(), name.size());
    if (cut[0] == '\0') {
        ShowSettingsMessage(owner, "登録名称を入力してください", "確認", MB_OK | MB_ICONINFORMATION);
        *badControl = kNameEdit;
        return 0;
    }
    // The file separates its fields by commas and never quotes a name.
    if (std::strchr(cut, ',') != nullptr) {
        ShowSettingsMessage(owner, "登録名称に \",\" は使えません", "確認", MB_OK | MB_ICONINFORMATION);
        *badControl = kNameEdit;
        return 0;
    }
    double values[CMarginData::kMarginCount];
    for (int i = 0; i < CMarginData::kMarginCount; ++i) {
        if (CheckMarginText(owner, margins[i].c_str(), &values[i]) == 0) {
            *badControl = kFirstMarginEdit + i;
            return 0;
        }
    }
    preset.Set(cut, values);
    return 1;
}

int ImportMarginFile(CMargin& store, const char* path)
{
    return ReadMarginFile(path, store.presets, nullptr);
}

int ExportMarginPreset(const CMarginData& preset, const char* path)
{
    return WriteMarginFile(path, std::vector<CMarginData>{preset}, nullptr);
}

int RunMarginListDlg(HWND parent, CMarginData& chosen)
{
    CMarginListDlg dialog;
    const INT_PTR result = dialog.DoModal(parent);
    if (result == IDOK) chosen = dialog.chosen;
    return result == IDOK ? IDOK : IDCANCEL;
}

int RunMarginListNewDlg(HWND parent, CMarginData& preset)
{
    CMarginListNewDlg dialog;
    const INT_PTR result = dialog.DoModal(parent);
    if (result == IDOK) preset = dialog.preset;
    return result == IDOK ? IDOK : IDCANCEL;
}
