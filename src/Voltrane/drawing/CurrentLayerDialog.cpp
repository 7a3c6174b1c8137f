#include "drawing/CurrentLayerDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "DravikDb.h"
#include "WinKit/AppModule.h"
#include "WinKit/MessageLoop.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/MonitorHelpers.h"
#include "dialogs/DialogBase.h"
#include "drawing/PageOperations.h"
#include "view/ViewServices.h"

namespace {

constexpr int kLayerList = 1136;
constexpr int kPageCaption = 1812;
constexpr int kMinListHeight = 100;
const char kEmptyLine[] = "1    レイヤ 1";

EngineDbRecord* ActiveDatabase()
{
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    return block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
}

class CLayerSetCurrDlg : public CDialogBase<CLayerSetCurrDlg>,
                         public WinKit::CMessageFilter,
                         public WinKit::CIdleHandler {
public:
    enum { IDD = 246 };

    WK_BEGIN_MSG_MAP(CLayerSetCurrDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_COMMAND_ID_HANDLER(kLayerList, OnListCommand)
        WK_COMMAND_ID_HANDLER(IDOK, OnClose)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CLayerSetCurrDlg>)
    WK_END_MSG_MAP()

    ~CLayerSetCurrDlg() override { Unregister(); }

    BOOL PreTranslateMessage(MSG* msg) override { return m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, msg); }
    BOOL OnIdle() override { return FALSE; }

    int FillLayerList()
    {
        std::vector<std::string> lines;
        int selected = -1;
        std::string caption;
        if (BuildCurrentLayerLines(ActiveDatabase(), lines, &selected, &caption) != 0) return -1;
        SetDlgItemTextA(m_hWnd, kPageCaption, caption.c_str());
        ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : lines) ::SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        if (selected >= 0) ::SendMessageA(m_list, LB_SETCURSEL, selected, 0);
        return 0;
    }

    void Unregister()
    {
        if (!m_registered) return;
        if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
            loop->RemoveMessageFilter(this);
            loop->RemoveIdleHandler(this);
        }
        m_registered = false;
    }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(247))) {
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        m_list = GetDlgItem(kLayerList);
        RECT window, client, item;
        ::GetWindowRect(m_hWnd, &window);
        m_initialWidth = window.right - window.left;
        m_initialHeight = window.bottom - window.top;
        ::GetClientRect(m_hWnd, &client);
        ItemRect(IDCANCEL, &item);
        m_closeRight = client.right - item.left;
        m_closeBottom = client.bottom - item.top;
        ItemRect(kLayerList, &item);
        m_listRight = client.right - item.right;
        m_listBottom = client.bottom - item.bottom;
        FillLayerList();
        if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
            loop->AddMessageFilter(this);
            loop->AddIdleHandler(this);
            m_registered = true;
        }
        handled = FALSE;  // the dialog base centres and colours it
        return TRUE;
    }

    void ItemRect(int id, RECT* rect)
    {
        ::GetWindowRect(GetDlgItem(id), rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
    }

    LRESULT OnListCommand(WORD code, WORD, HWND, BOOL&)
    {
        if (code != LBN_SELCHANGE) return 0;
        EngineDbRecord* db = ActiveDatabase();
        const int page = db ? db->pageState.currentPage : 0;
        if (db == nullptr || ZUriGetDbInfoPtr(page, db) == nullptr) return 0;
        const LRESULT index = ::SendMessageA(m_list, LB_GETCURSEL, 0, 0);
        char line[300] = "";
        if (index == LB_ERR || ::SendMessageA(m_list, LB_GETTEXTLEN, index, 0) >= static_cast<LRESULT>(sizeof line))
            return 0;
        ::SendMessageA(m_list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line));
        const int layer = LayerOfCurrentLayerLine(line);
        if (layer >= 0) GetCadSystem().SetCurrentLayer(page, layer);
        return 0;
    }

    LRESULT OnClose(WORD, WORD, HWND, BOOL&)
    {
        ::ShowWindow(m_hWnd, SW_HIDE);
        if (HWND panel = GetToolPanelWindow()) {
            ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(200, 100), 0);
            ::SendMessageA(panel, WM_USER, 0, 0);
        }
        return 0;
    }

    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_initialWidth > 0) {
            info->ptMinTrackSize.x = m_initialWidth / 2;
            info->ptMinTrackSize.y = m_initialHeight / 2;
        }
        RECT area;
        if (GetWindowMonitorArea(m_hWnd, &area)) {
            info->ptMaxTrackSize.x = area.right - area.left;
            info->ptMaxTrackSize.y = area.bottom - area.top;
        }
        return 0;
    }

    LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        if (m_list == nullptr) return 0;
        const int width = LOWORD(lParam), height = HIWORD(lParam);
        RECT item;
        ItemRect(IDCANCEL, &item);
        ::SetWindowPos(GetDlgItem(IDCANCEL), nullptr, width - m_closeRight, height - m_closeBottom, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER);
        ItemRect(kLayerList, &item);
        const int listHeight = std::max(kMinListHeight, static_cast<int>(height - m_listBottom - item.top));
        ::SetWindowPos(m_list, nullptr, 0, 0, width - m_listRight - item.left, listHeight, SWP_NOMOVE | SWP_NOZORDER);
        HWND caption = GetDlgItem(kPageCaption);
        ItemRect(kPageCaption, &item);
        ::SetWindowPos(caption, nullptr, 0, 0, width - m_listRight - item.left, item.bottom - item.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::InvalidateRect(caption, nullptr, TRUE);
        return 0;
    }

    HWND m_list = nullptr;
    int m_closeRight = 0, m_closeBottom = 0, m_listRight = 0, m_listBottom = 0;
    int m_initialWidth = 0, m_initialHeight = 0;
    bool m_registered = false;
};

std::unique_ptr<CLayerSetCurrDlg> g_dialog;

}  // namespace

int BuildCurrentLayerLines(void* db, std::vector<std::string>& lines, int* selected, std::string* caption)
{
    lines.clear();
    if (selected) *selected = -1;
    auto* record = static_cast<EngineDbRecord*>(db);
    if (record == nullptr) return -1;
    const int page = record->pageState.currentPage;
    auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
    if (info == nullptr) return -1;
    if (caption != nullptr) {
        char text[300];
        if (info->record.title[0] != '\0')
            std::snprintf(text, sizeof text, "ﾍﾟｰｼﾞ:%s", info->record.title);
        else
            std::snprintf(text, sizeof text, "ﾍﾟｰｼﾞ:%d", page);
        *caption = text;
    }
    uint16_t usage[kLayerMaskWords] = {};
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    if (block != nullptr && block->engineDb == db) CollectPageLayerUsage(nullptr, usage, -1);
    for (int n = 0; n < kLayerCount; ++n) {
        const char* name = info->layers.names[n];
        const bool used = (usage[n / 16] >> (n % 16)) & 1u;
        if (name == nullptr && !used) continue;
        char line[300];
        if (name != nullptr && name[0] != '\0')
            std::snprintf(line, sizeof line, "%-4d %s", n + 1, name);
        else
            std::snprintf(line, sizeof line, "%-4d レイヤ %d", n + 1, n + 1);
        if (n == info->layers.currentLayer && selected) *selected = static_cast<int>(lines.size());
        lines.push_back(line);
    }
    if (lines.empty()) {
        lines.push_back(kEmptyLine);
        if (selected) *selected = 0;
    }
    return 0;
}

int LayerOfCurrentLayerLine(const char* line)
{
    if (line == nullptr) return -1;
    char digits[5] = {};
    std::strncpy(digits, line, 4);
    return std::atoi(digits) - 1;
}

HWND ShowCurrentLayerDialog(HWND parent)
{
    if (!g_dialog) {
        auto dialog = std::make_unique<CLayerSetCurrDlg>();
        if (dialog->Create(parent) == nullptr) return nullptr;
        g_dialog = std::move(dialog);
    } else {
        g_dialog->FillLayerList();
    }
    ::ShowWindow(g_dialog->m_hWnd, SW_SHOW);
    return g_dialog->m_hWnd;
}

void RefreshCurrentLayerDialog()
{
    if (g_dialog) g_dialog->FillLayerList();
}

void HideCurrentLayerDialog()
{
    if (g_dialog) ::ShowWindow(g_dialog->m_hWnd, SW_HIDE);
}

HWND GetCurrentLayerDialogWindow() { return g_dialog ? g_dialog->m_hWnd : nullptr; }

void DestroyCurrentLayerDialog()
{
    if (!g_dialog) return;
    g_dialog->Unregister();
    if (g_dialog->m_hWnd != nullptr) ::DestroyWindow(g_dialog->m_hWnd);
    g_dialog.reset();
}

// ---- the program's input layer ----

void CCadSystem::SetCurrentLayer(int page, int layer)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    auto* db = block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
    if (db == nullptr || !IsPageNumber(page) || !IsLayerNumber(layer)) return;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
    if (info == nullptr) return;
    db->pageState.currentPage = page;
    info->layers.currentLayer = layer;
    block->currentLayer = static_cast<int16_t>(layer);
    currentPage = page;
    currentLayer = layer;
}
