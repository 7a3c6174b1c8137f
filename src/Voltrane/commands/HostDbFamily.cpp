// Host messages for databases, layers and the whole drawing.
#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/CommandRunState.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"
#include "core/LocalSettings.h"

namespace {

constexpr int kMaxPage = 256;

// Copies a text field up to its terminating zero; the field's last byte always ends it.
template <size_t N>
void CopyTextField(char (&to)[N], const char (&from)[N])
{
    const size_t length = strnlen(from, N - 1);
    std::memcpy(to, from, length);
    to[length] = '\0';
}

// The database information, field by field: the texts up to their zero, the rest as it is.
void CopyDbInfoFields(DbInfoRecord& to, const DbInfoRecord& from)
{
    to.engine0 = from.engine0;
    CopyTextField(to.fileName, from.fileName);
    CopyTextField(to.fileType, from.fileType);
    std::memcpy(to.engine294, from.engine294, sizeof(to.engine294));
    CopyTextField(to.title, from.title);
    std::memcpy(to.engine1322, from.engine1322, sizeof(to.engine1322));
    to.created = from.created;
    to.updated = from.updated;
    std::memcpy(to.engine2121, from.engine2121, sizeof(to.engine2121));
    CopyTextField(to.drawingNumberText, from.drawingNumberText);
    CopyTextField(to.author, from.author);
    std::memcpy(to.engine3406, from.engine3406, sizeof(to.engine3406));
    CopyTextField(to.remarks, from.remarks);
    to.drawingWidth = from.drawingWidth;
    to.drawingHeight = from.drawingHeight;
    to.paperWidthMm = from.paperWidthMm;
    to.paperHeightMm = from.paperHeightMm;
    to.scale = from.scale;
    to.paperCode = from.paperCode;
    std::memcpy(to.engine3962, from.engine3962, sizeof(to.engine3962));
    to.originMode = from.originMode;
}

struct ActiveDrawing {
    HWND view = nullptr;
    PDBINFO* block = nullptr;
    void* db = nullptr;
};

ActiveDrawing GetActiveDrawing()
{
    CHostServiceSite& site = GetHostServiceSite();
    ActiveDrawing d;
    d.view = site.ActiveView();
    d.block = d.view ? site.ViewBlock(d.view) : nullptr;
    d.db = d.block ? d.block->engineDb : nullptr;
    return d;
}

int CurrentPage(void* db)
{
    return db ? static_cast<const EngineDbRecord*>(db)->pageState.currentPage : 0;
}

LRESULT ResetDb(void* db)
{
    // Only a database the engine holds is made again: a record it does not know is left alone.
    if (db == nullptr || !ZUriDeleteDB(db)) return 0;
    ZUriCreateDB(db);
    ZUriUndoFgSet(db, GetCommandHost().UndoSetting());
    return 1;
}

LRESULT GetDbInfo(DbInfoRecord* out)
{
    ActiveDrawing d = GetActiveDrawing();
    if (d.db == nullptr || out == nullptr) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof(info));
    if (!ZUriGetDBInfo(&info, d.db)) return 0;
    CopyDbInfoFields(*out, info);
    return 1;
}

LRESULT SetDbInfo(const DbInfoRecord* in)
{
    ActiveDrawing d = GetActiveDrawing();
    if (d.db == nullptr || in == nullptr) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof(info));
    if (!ZUriGetDBInfo(&info, d.db)) return 0;
    CopyDbInfoFields(info, *in);
    if (!ZUriSetDBInfo(&info, d.db)) return 0;
    CHostServiceSite& site = GetHostServiceSite();
    site.RefreshDrawingViews(d.view);
    site.SetDrawingModified(d.view);
    return 1;
}

bool IsLayer(INT_PTR layer) { return layer >= 0 && layer < kLayerCount; }

LRESULT GetLayerName(WPARAM raw, const CmdParamRecord* p)
{
    ActiveDrawing d = GetActiveDrawing();
    if (p == nullptr || !IsLayer(p->value1) || d.db == nullptr) return 0;
    const int page = CurrentPage(d.db);
    if (raw == 1) {
        const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, d.db));
        return info ? reinterpret_cast<LRESULT>(info->layers.names[p->value1]) : 0;
    }
    return GetHostServiceSite().GetActiveLayerName(page, static_cast<int>(p->value1), p->text, p->key);
}

LRESULT SetLayerName(const CmdParamRecord* p)
{
    ActiveDrawing d = GetActiveDrawing();
    if (p == nullptr || !IsLayer(p->value1) || d.db == nullptr) return 0;
    CHostServiceSite& site = GetHostServiceSite();
    const LRESULT result = site.SetActiveLayerName(CurrentPage(d.db), static_cast<int>(p->value1), p->text,
                                                   reinterpret_cast<const char*>(p->key));
    site.SendToolPanelCommand(MAKEWPARAM(200, 1));
    return result;
}

LRESULT LayerTable(WPARAM pagePlusOne, WORD* table)
{
    ActiveDrawing d = GetActiveDrawing();
    if (table == nullptr || d.db == nullptr) return 0;
    const long page = pagePlusOne == 0 ? CurrentPage(d.db) : static_cast<long>(pagePlusOne) - 1;
    if (page < 0 || page > kMaxPage) return 0;
    return GetHostServiceSite().CollectPageLayerUsage(d.view, table, static_cast<int>(page));
}

LRESULT LayerInfo(bool write, void* record)
{
    ActiveDrawing d = GetActiveDrawing();
    if (record == nullptr || d.db == nullptr) return 0;
    const int page = CurrentPage(d.db);
    if (!write) return ZUriGetLayerInfo(page, record, d.db);
    const LRESULT result = ZUriSetLayerInfo(page, record, d.db);
    GetHostServiceSite().RefreshToolPanel();
    return result;
}

LRESULT ViewUndo(const CmdParamRecord* p)
{
    if (p == nullptr || p->view == nullptr) return 0;
    CHostServiceSite& site = GetHostServiceSite();
    if (site.ViewBlock(p->view) == nullptr) return 0;
    if (p->mode != 0) site.SetDrawingModified(p->view);
    else site.ClearDrawingModified(p->view);
    return 1;
}

// Asks, then clears the whole drawing; elements on locked layers stay, and so do the pages then.
LRESULT ClearAll()
{
    ActiveDrawing d = GetActiveDrawing();
    if (d.db == nullptr) return 0;
    std::vector<void*> elements;
    bool anyLocked = false;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, d.db); e != nullptr; e = ZUriReadElement(e, 1, nullptr, d.db)) {
        if (QmIsLockLayer(e, d.db, nullptr)) anyLocked = true;
        else elements.push_back(e);
    }
    CCommandHost& host = GetCommandHost();
    std::string prompt = host.MessageText(5122) ? host.MessageText(5122) : "";
    if (anyLocked) prompt += "\n※ロックレイヤは消去しません。";
    if (host.ShowMessageBox(d.view, prompt.c_str(), "全消去設定", MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return 1;

    CHostServiceSite& site = GetHostServiceSite();
    site.SetDrawingModified(d.view);
    if (anyLocked) {
        for (void* e : elements) ZUriDeleteElement(e, d.db);
        return 1;
    }
    ZUriAllDeleteElement(d.db);
    ZUriClearUndoElement(d.db);
    ZUriClearDustMemory();
    std::vector<int> pages;
    for (int page = ZUriGetNextPage(0, nullptr, d.db); page > 0 && pages.size() <= kMaxPage;
         page = ZUriGetNextPage(page, nullptr, d.db))
        pages.push_back(page);
    for (int page : pages) site.DeletePage(d.view, page);
    site.SetAuxiliaryViewRefresh();
    return 1;
}

}  // namespace

BOOL CCadSysCmdDb::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                        DWORD mapId)
{
    if (mapId != 0) return FALSE;
    CHostServiceSite& site = GetHostServiceSite();
    const auto* p = reinterpret_cast<const CmdParamRecord*>(lParam);
    switch (uMsg) {
    case WM_CADDB_WINDOW_DB: {
        PDBINFO* block = lParam ? site.ViewBlock(reinterpret_cast<HWND>(lParam)) : nullptr;
        lResult = block ? reinterpret_cast<LRESULT>(block->engineDb) : 0;
        return TRUE;
    }
    case WM_CADDB_RESET_DB:
        lResult = ResetDb(reinterpret_cast<void*>(lParam));
        return TRUE;
    case WM_CADDB_NOP:
        lResult = 1;
        return TRUE;
    case WM_CADDB_HIGHLIGHT_COLOR:
        if (wParam == 1) {
            lResult = GetLocalSettingsLive().iHighlightColor;
        } else {
            GetCommandRunState().highlightColor = static_cast<int>(lParam);
            lResult = 1;
        }
        return TRUE;
    case WM_CADDB_GET_DB_INFO:
        lResult = GetDbInfo(reinterpret_cast<DbInfoRecord*>(lParam));
        return TRUE;
    case WM_CADDB_SET_DB_INFO:
        lResult = SetDbInfo(reinterpret_cast<const DbInfoRecord*>(lParam));
        return TRUE;
    case WM_CADDB_GET_LAYER_INFO:
    case WM_CADDB_SET_LAYER_INFO:
        lResult = LayerInfo(uMsg == WM_CADDB_SET_LAYER_INFO, reinterpret_cast<void*>(lParam));
        return TRUE;
    case WM_CADDB_GET_LAYER_NAME:
        lResult = GetLayerName(wParam, p);
        return TRUE;
    case WM_CADDB_SET_LAYER_NAME:
        lResult = SetLayerName(p);
        return TRUE;
    case WM_CADDB_SET_LAYER_TABLE:
        lResult = LayerTable(wParam, reinterpret_cast<WORD*>(lParam));
        return TRUE;
    case WM_CADDB_VIEW_UNDO:
        lResult = ViewUndo(p);
        return TRUE;
    case WM_CADDB_SET_UNDO_SWITCH:
        if (wParam != 1) {
            lResult = 0;
        } else {
            GetCommandRunState().undoRecording = static_cast<int>(lParam);
            lResult = 1;
        }
        return TRUE;
    case WM_CADDB_CLEAR_ALL:
        lResult = ClearAll();
        return TRUE;
    default:
        return FALSE;
    }
}
