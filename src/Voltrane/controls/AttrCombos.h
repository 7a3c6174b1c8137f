// The tool panel's attribute pickers (colour, line type, line width, start and end mark): a
// painted child window that on a click opens an owner-drawn combo box whose list drops open
// at once; and the owner-drawn width and end-mark list boxes of the attribute dialogs.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/MessageMap.h"
#include "WinKit/Window.h"
#include "controls/LineAttrLists.h"

// The control id of the combo box inside a list window, and the mark the picker writes into
// the list window's first window long once it has made it.
constexpr int kAttrComboBoxId = 100;
constexpr LONG kAttrListReady = 100;

class CAttrComboBase;

// The drop-down list window a picker opens; it builds and drops its combo box itself and
// destroys itself when the combo box closes.
class CAttrComboListBase : public WinKit::CWindowImplRoot {
public:
    HWND m_combo = nullptr;
    CAttrComboBase* m_owner = nullptr;

    WK_BEGIN_MSG_MAP(CAttrComboListBase)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    WK_END_MSG_MAP()

    virtual HWND CreateList(HWND parent, const RECT& rect) = 0;

protected:
    virtual void Bind() {}
    virtual void AddItems() = 0;
    virtual void PaintRow(const DRAWITEMSTRUCT& item, bool selected) = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
};

class CAttrComboBase : public WinKit::CWindowImplRoot {
public:
    std::string m_faceName{"ＭＳ ゴシック"};

    virtual int& CurrentRow() = 0;
    virtual int& Flags() = 0;

    WK_BEGIN_MSG_MAP(CAttrComboBase)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_ENABLE, OnEnable)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_USER, OnListClosed)
        WK_MESSAGE_HANDLER(WM_USER + 1, OnReload)
        WK_MESSAGE_HANDLER(WM_USER + 2, OnSetRow)
        WK_MESSAGE_HANDLER(WM_USER + 3, OnGetRow)
        WK_MESSAGE_HANDLER(WM_USER + 4, OnSetFlags)
    WK_END_MSG_MAP()

protected:
    virtual void FillRows() {}
    virtual void BeforeOpen() {}
    virtual LRESULT Reload() { return 0; }
    // The number painted; negative: none.
    virtual int NumberShown() { return CurrentRow(); }
    virtual void PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled) = 0;
    virtual CAttrComboListBase& List() = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnEnable(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnListClosed(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnReload(UINT, WPARAM, LPARAM, BOOL&) { return Reload(); }
    LRESULT OnSetRow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetRow(UINT, WPARAM, LPARAM, BOOL&) { return CurrentRow(); }
    LRESULT OnSetFlags(UINT, WPARAM, LPARAM, BOOL&);
};

// ---- the four lists ----
class CLineColorComboList : public WinKit::CWindowImpl<CLineColorComboList, CAttrComboListBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    LineColorList* m_list = nullptr;
    HWND CreateList(HWND parent, const RECT& rect) override;

protected:
    void Bind() override;
    void AddItems() override;
    void PaintRow(const DRAWITEMSTRUCT& item, bool selected) override;
};

class CLineEndTypeComboList : public WinKit::CWindowImpl<CLineEndTypeComboList, CAttrComboListBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    LineEndTypeList* m_list = nullptr;
    int m_side = 0;
    HWND CreateList(HWND parent, const RECT& rect) override;

protected:
    void AddItems() override;
    void PaintRow(const DRAWITEMSTRUCT& item, bool selected) override;
};

class CLineTypeComboList : public WinKit::CWindowImpl<CLineTypeComboList, CAttrComboListBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    LineTypeList* m_list = nullptr;
    HWND CreateList(HWND parent, const RECT& rect) override;

protected:
    void AddItems() override;
    void PaintRow(const DRAWITEMSTRUCT& item, bool selected) override;
};

class CLineWidthComboList : public WinKit::CWindowImpl<CLineWidthComboList, CAttrComboListBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    LineWidthList* m_list = nullptr;
    HWND CreateList(HWND parent, const RECT& rect) override;

protected:
    void AddItems() override;
    void PaintRow(const DRAWITEMSTRUCT& item, bool selected) override;
};

// ---- the four pickers ----
class CLineColorCombo : public WinKit::CWindowImpl<CLineColorCombo, CAttrComboBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    LineColorList m_rows;
    CLineColorComboList m_dropList;
    ~CLineColorCombo() override { FreeLineColorRows(m_rows); }
    int& CurrentRow() override { return m_rows.currentRow; }
    int& Flags() override { return m_rows.flags; }

protected:
    void FillRows() override { FillLineColorRows(m_rows); }
    LRESULT Reload() override { return 1; }
    int NumberShown() override;
    void PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled) override;
    CAttrComboListBase& List() override;
};

class CLineEndTypeCombo : public WinKit::CWindowImpl<CLineEndTypeCombo, CAttrComboBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    LineEndTypeList m_rows;
    CLineEndTypeComboList m_dropList;
    int m_side = 0;  // set by the owner before the window is made: 0 start, 1 end
    ~CLineEndTypeCombo() override { FreeLineEndTypeRows(m_rows); }
    int& CurrentRow() override { return m_rows.currentRow; }
    int& Flags() override { return m_rows.flags; }

protected:
    void FillRows() override { ParseLineEndTypeRows(m_rows, nullptr, 0); }
    void PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled) override;
    CAttrComboListBase& List() override;
};

class CLineTypeCombo : public WinKit::CWindowImpl<CLineTypeCombo, CAttrComboBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    LineTypeList m_rows;
    CLineTypeComboList m_dropList;
    ~CLineTypeCombo() override { FreeLineTypeRows(m_rows); }
    int& CurrentRow() override { return m_rows.currentRow; }
    int& Flags() override { return m_rows.flags; }

protected:
    void FillRows() override { ParseLineTypeRows(m_rows, nullptr, 0); }
    void BeforeOpen() override { ParseLineTypeRows(m_rows, nullptr, 0); }
    void PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled) override;
    CAttrComboListBase& List() override;
};

class CLineWidthCombo : public WinKit::CWindowImpl<CLineWidthCombo, CAttrComboBase> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }
    LineWidthList m_rows;
    CLineWidthComboList m_dropList;
    int& CurrentRow() override { return m_rows.currentRow; }
    int& Flags() override { return m_rows.flags; }

protected:
    void PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled) override;
    CAttrComboListBase& List() override;
};

// ---- owner-drawn list boxes of the attribute dialogs ----

// The reflected forms of the owner-draw messages that a dialog sends back to its control.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

// The shared behaviour: 24-pixel items, painted when drawn entirely or when the selection
// changes; comparing answers 0. The owner subclasses an existing list box with the object.
class CAttrListBoxBase : public WinKit::CWindowImplRoot {
public:
    int m_fixedRow = -1;       // -1: every item shows its own row
    COLORREF m_background = 0xFFFFFF;

    WK_BEGIN_MSG_MAP(CAttrListBoxBase)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(kReflectBase + WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(kReflectBase + WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_COMPAREITEM, OnCompareItem)
        WK_MESSAGE_HANDLER(kReflectBase + WM_COMPAREITEM, OnCompareItem)
    WK_END_MSG_MAP()

    // Paints one item into its rectangle (also called by the owner's own drawing).
    void DrawItem(const DRAWITEMSTRUCT& item);

protected:
    virtual void PaintItem(HDC dc, const RECT& r, int row, bool selected) = 0;

private:
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnCompareItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
};

class CLineWidthListBox : public CAttrListBoxBase {
public:
    LineWidthList* m_list = nullptr;

protected:
    void PaintItem(HDC dc, const RECT& r, int row, bool selected) override;
};

class CLineEndTypeListBox : public CAttrListBoxBase {
public:
    LineEndTypeList* m_list = nullptr;
    int m_side = 0;

protected:
    void PaintItem(HDC dc, const RECT& r, int row, bool selected) override;
};
