#include "view/InputScale.h"

#include <cmath>
#include <cstring>

#include "EngineRecords.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/MonitorHelpers.h"
#include "core/NumericInput.h"
#include "mainframe/MainFrame.h"
#include "view/PlaneTransform.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"
#include "commands/SystemCommandDispatcher.h"

namespace {

const char kClassName[] = "#inputscaledisp#";
// Two scales closer than this are the same scale; a scale below it is no scale at all.
const double kScaleNoise = 1e-21;
const int kElementScaledText = kElementFigureReference;
const int kElementThreePoint = kElementFigureHeader;

struct InputScaleState {
    double inputScale = 1.0;
    int enabled = 1;
    int refused = 0;
    HWND window = nullptr;
    HWND boundView = nullptr;
    void* boundDb = nullptr;
    HWND mainFrame = nullptr;
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;
    POINT position = {10, 10};
    bool positionPlaced = false;  // the monitor's work-area origin added once per run
};

InputScaleState& State()
{
    static InputScaleState state;
    return state;
}

double ReadDouble(const unsigned char* r, int offset)
{
    double v;
    std::memcpy(&v, r + offset, sizeof v);
    return v;
}

void WriteDouble(unsigned char* r, int offset, double v) { std::memcpy(r + offset, &v, sizeof v); }

void ScalePointAt(unsigned char* r, int offset, double f)
{
    WriteDouble(r, offset, ReadDouble(r, offset) * f);
    WriteDouble(r, offset + 8, ReadDouble(r, offset + 8) * f);
}

void ClearBinding()
{
    InputScaleState& s = State();
    s.inputScale = 1.0;
    s.window = nullptr;
    s.boundView = nullptr;
    s.boundDb = nullptr;
}

int UsesEnglish() { return GetCadSystem().config.LANGUAGE != 0; }

void FormatScale(double value, char* text, size_t size)
{
    FormatWithReals(text, size, "%g", value);
}

void SetInputScaleFromEdit(HWND combo, const char* text)
{
    State().inputScale = InputScaleFromText(text);
    if (!IsPlainScaleText(text)) {
        char shown[64];
        FormatScale(State().inputScale, shown, sizeof shown);
        ::SetWindowTextA(combo, shown);
    }
}

void FillCombos(HWND window, double drawingScale)
{
    HWND drawingCombo = ::GetDlgItem(window, kInputScaleDrawingCombo);
    HWND inputCombo = ::GetDlgItem(window, kInputScaleInputCombo);
    char text[64];
    FormatScale(drawingScale, text, sizeof text);
    ::SendMessageA(drawingCombo, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(drawingCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    ::SendMessageA(drawingCombo, CB_SETCURSEL, 0, 0);
    ::EnableWindow(drawingCombo, FALSE);

    std::vector<std::string> settingsList;
    GetScaleList(settingsList);
    int selected = 0;
    const std::vector<std::string> list = MergeScaleList(settingsList, drawingScale, text, &selected);
    ::SendMessageA(inputCombo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : list)
        ::SendMessageA(inputCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageA(inputCombo, CB_SETCURSEL, selected, 0);
    ::EnableWindow(inputCombo, IsPluginCommandRunning() ? FALSE : TRUE);
}

LRESULT CALLBACK InputScaleWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    InputScaleState& s = State();
    switch (message) {
    case WM_CREATE: {
        ::SetWindowTextA(window, UsesEnglish() ? "Drawing Scale" : "作画スケール設定");
        HWND drawingCombo = ::CreateWindowExA(0, "combobox", "", 0x40000002, 1, 1, 90, 180, window,
                                              reinterpret_cast<HMENU>(kInputScaleDrawingCombo),
                                              s.instance, nullptr);
        HWND inputCombo = ::CreateWindowExA(0, "combobox", "", 0x40200802, 1, 27, 90, 180, window,
                                            reinterpret_cast<HMENU>(kInputScaleInputCombo),
                                            s.instance, nullptr);
        for (HWND combo : {drawingCombo, inputCombo}) {
            if (s.font)
                ::SendMessageA(combo, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
            ::ShowWindow(combo, SW_SHOW);
        }
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(window, &ps);
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ oldFont = s.font ? ::SelectObject(dc, s.font) : nullptr;
        const char* drawText = UsesEnglish() ? "DrawScale" : "図面ｽｹｰﾙ設定";
        const char* inputText = UsesEnglish() ? "InpScale" : "作画ｽｹｰﾙ設定";
        ::TextOutA(dc, 95, 4, drawText, static_cast<int>(std::strlen(drawText)));
        ::TextOutA(dc, 95, 33, inputText, static_cast<int>(std::strlen(inputText)));
        if (oldFont)
            ::SelectObject(dc, oldFont);
        ::EndPaint(window, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kInputScaleInputCombo) {
            HWND combo = reinterpret_cast<HWND>(lParam);
            char text[104] = {};
            if (HIWORD(wParam) == CBN_EDITCHANGE) {
                ::GetWindowTextA(combo, text, 101);
                SetInputScaleFromEdit(combo, text);
            } else if (HIWORD(wParam) == CBN_CLOSEUP) {
                const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
                if (index >= 0 && ::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0) < 100) {
                    ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
                    s.inputScale = InputScaleFromText(text);
                }
            }
        }
        return 0;
    case WM_ACTIVATE:
        SetModelessDialogWnd(LOWORD(wParam) != WA_INACTIVE ? window : nullptr);
        break;
    case WM_CLOSE:
        ClearBinding();
        break;
    case WM_DESTROY: {
        RECT rect;
        if (::GetWindowRect(window, &rect)) {
            s.position.x = rect.left;
            s.position.y = rect.top;
        }
        if (s.window == window)
            ClearBinding();
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

double InputScaleFromText(const char* text)
{
    CTwoTermExpr expr;
    const double value = EvalTwoTermExpr(expr, text ? text : "");
    return std::isfinite(value) && value >= kScaleNoise ? value : 1.0;
}

int IsPlainScaleText(const char* text)
{
    for (const char* p = text; p && *p; ++p)
        if (!std::strchr("0123456789./", *p))
            return 0;
    return 1;
}

std::vector<std::string> MergeScaleList(const std::vector<std::string>& settingsList,
                                        double drawingScale, const std::string& drawingScaleText,
                                        int* selected)
{
    std::vector<std::string> out;
    int position = -1;
    for (const std::string& entry : settingsList) {
        if (entry.empty())
            break;
        CTwoTermExpr expr;
        const double value = EvalTwoTermExpr(expr, entry.c_str());
        if (std::fabs(value - drawingScale) < kScaleNoise)
            continue;
        if (position < 0 && value < drawingScale) {
            position = static_cast<int>(out.size());
            out.push_back(drawingScaleText);
        }
        out.push_back(entry);
    }
    if (position < 0) {
        position = static_cast<int>(out.size());
        out.push_back(drawingScaleText);
    }
    *selected = position;
    return out;
}

void ScaleElementRecordBy(unsigned char* record, double f)
{
    if (f == 1.0 || !(std::fabs(f) >= kScaleNoise) || !std::isfinite(f))
        return;
    uint16_t type;
    std::memcpy(&type, record, sizeof type);
    if (type == kElementThreePoint) {
        ScalePointAt(record, 11, f);
        ScalePointAt(record, 35, f);
        ScalePointAt(record, 51, f);
    } else if (type == kElementScaledText) {
        ScalePointAt(record, 57, f);
        WriteDouble(record, 33, ReadDouble(record, 33) * f);
    } else {
        const Transform2D scale = {f, 1.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0};
        TransformElementRecord(record, scale);
    }
}

double GetInputScale() { return State().inputScale; }
int IsInputScaleEnabled() { return State().enabled; }
void SetInputScaleEnabled(int enabled) { State().enabled = enabled ? 1 : 0; }
int IsInputScaleRefused() { return State().refused; }
void SetInputScaleRefused(int refused) { State().refused = refused ? 1 : 0; }
int IsInputScaleActive() { return State().enabled && State().window ? 1 : 0; }
HWND GetInputScaleWindow() { return State().window; }
void* GetInputScaleDb() { return State().boundDb; }

void BindInputScale(HWND view, void* db, double inputScale)
{
    State().boundView = view;
    State().boundDb = db;
    State().inputScale = inputScale;
}

double GetDbInputToDrawingFactor(void* db)
{
    const InputScaleState& s = State();
    if (!IsInputScaleActive() || !db || db != s.boundDb || !(s.inputScale >= kScaleNoise))
        return 1.0;
    return GetDrawingScale(db) / s.inputScale;
}

double GetDbDrawingToInputFactor(void* db)
{
    const InputScaleState& s = State();
    if (!IsInputScaleActive() || !db || db != s.boundDb)
        return 1.0;
    const double drawingScale = GetDrawingScale(db);
    if (!(drawingScale >= kScaleNoise))
        return 1.0;
    return s.inputScale / drawingScale;
}

double GetInputToDrawingFactor() { return GetDbInputToDrawingFactor(GetActiveDb()); }
double GetDrawingToInputFactor() { return GetDbDrawingToInputFactor(GetActiveDb()); }
double GetViewDrawingToInputFactor(HWND view) { return GetDbDrawingToInputFactor(GetViewDb(view)); }

namespace {

int ScalePointBy(double* point, double f)
{
    if (point) {
        point[0] *= f;
        point[1] *= f;
    }
    return 1;
}

int ScaleElementBy(unsigned char* record, double f)
{
    if (record)
        ScaleElementRecordBy(record, f);
    return 1;
}

}  // namespace

int ScalePointInputToDrawing(double* point) { return ScalePointBy(point, GetInputToDrawingFactor()); }
int ScalePointDrawingToInput(double* point) { return ScalePointBy(point, GetDrawingToInputFactor()); }
int ScaleViewPointInputToDrawing(HWND view, double* point)
{
    return ScalePointBy(point, GetDbInputToDrawingFactor(GetViewDb(view)));
}
int ScaleViewPointDrawingToInput(HWND view, double* point)
{
    return ScalePointBy(point, GetDbDrawingToInputFactor(GetViewDb(view)));
}
int ScaleElementInputToDrawing(unsigned char* record) { return ScaleElementBy(record, GetInputToDrawingFactor()); }
int ScaleElementDrawingToInput(unsigned char* record) { return ScaleElementBy(record, GetDrawingToInputFactor()); }
int ScaleViewElementInputToDrawing(HWND view, unsigned char* record)
{
    return ScaleElementBy(record, GetDbInputToDrawingFactor(GetViewDb(view)));
}
int ScaleViewElementDrawingToInput(HWND view, unsigned char* record)
{
    return ScaleElementBy(record, GetDbDrawingToInputFactor(GetViewDb(view)));
}

int RegisterInputScaleWindowClass(HINSTANCE instance, HWND mainFrame)
{
    InputScaleState& s = State();
    s.instance = instance;
    s.mainFrame = mainFrame;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = InputScaleWndProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(247));
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return 0;
    ClearBinding();
    if (!s.font)
        s.font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                               "ＭＳ ゴシック");
    return 1;
}

void DestroyInputScaleWindow()
{
    InputScaleState& s = State();
    if (s.window && ::IsWindow(s.window))
        ::DestroyWindow(s.window);
    ClearBinding();
    if (s.font) {
        ::DeleteObject(s.font);
        s.font = nullptr;
    }
}

int ShowInputScaleWindow()
{
    InputScaleState& s = State();
    HWND owner = s.mainFrame ? s.mainFrame : GetMainFrameWnd();
    if (s.refused) {
        if (UsesEnglish())
            ::MessageBoxA(owner, "This function cannot be used by a present command.", "Warning", MB_OK);
        else
            ::MessageBoxA(owner, "現在のコマンドではこの機能は利用できません", "警告", MB_OK);
        return 1;
    }
    if (HWND active = GetActiveView()) {
        s.boundView = active;
        s.boundDb = GetViewDb(active);
    }
    if (!s.boundView || !s.boundDb) {
        ClearBinding();
        return 1;
    }
    if (!s.positionPlaced && owner) {
        RECT area;
        if (GetWindowMonitorArea(owner, &area)) {
            s.position.x += area.left;
            s.position.y += area.top;
        }
        s.positionPlaced = true;
    }
    HWND boundView = s.boundView;
    void* boundDb = s.boundDb;
    HWND window = ::CreateWindowExA(0, kClassName, "", WS_POPUPWINDOW | WS_DLGFRAME, s.position.x,
                                    s.position.y, 205, 88, owner, nullptr, s.instance, nullptr);
    if (!window) {
        ClearBinding();
        return 1;
    }
    s.window = window;
    s.boundView = boundView;
    s.boundDb = boundDb;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    if (owner)
        ::SetActiveWindow(owner);
    const double drawingScale = GetDrawingScale(boundDb);
    FillCombos(window, drawingScale);
    s.inputScale = drawingScale;
    return 1;
}

void CloseInputScaleWindow()
{
    InputScaleState& s = State();
    HWND window = s.window;
    ClearBinding();
    if (window && ::IsWindow(window))
        ::DestroyWindow(window);
}

int ShowInputScaleWindowForView(HWND view)
{
    InputScaleState& s = State();
    if (!s.window)
        return 0;
    if (view && GetViewDb(view) == s.boundDb) {
        ::ShowWindow(s.window, SW_SHOWNOACTIVATE);
        ::EnableWindow(::GetDlgItem(s.window, kInputScaleInputCombo), IsPluginCommandRunning() ? FALSE : TRUE);
    } else {
        ::ShowWindow(s.window, SW_HIDE);
    }
    return 1;
}

int EnableInputScaleCombo(int enable)
{
    HWND combo = State().window ? ::GetDlgItem(State().window, kInputScaleInputCombo) : nullptr;
    if (!combo)
        return 0;
    ::EnableWindow(combo, enable ? TRUE : FALSE);
    return 1;
}

LRESULT HandleInputScaleMessage(WPARAM code, LPARAM lParam)
{
    // Sub-codes 12 and 13 point at a view and an element record.
    struct ViewElement {
        HWND view;
        unsigned char* record;
    };
    double* value = reinterpret_cast<double*>(lParam);
    unsigned char* record = reinterpret_cast<unsigned char*>(lParam);
    const ViewElement* pair = reinterpret_cast<const ViewElement*>(lParam);
    switch (code) {
    case 1:
        if (!IsInputScaleActive())
            ShowInputScaleWindow();
        return 1;
    case 2:
        if (IsInputScaleActive())
            CloseInputScaleWindow();
        return 1;
    case 3:
        return IsInputScaleActive();
    case 4:
        if (value)
            *value = GetInputToDrawingFactor();
        return 1;
    case 5:
        if (value)
            *value = GetDrawingToInputFactor();
        return 1;
    case 6:
        return ScaleElementInputToDrawing(record);
    case 7:
        return ScalePointInputToDrawing(value);
    case 8:
        return ScaleElementDrawingToInput(record);
    case 9:
        return ScalePointDrawingToInput(value);
    case 10:
        SetInputScaleRefused(1);
        return 1;
    case 11:
        SetInputScaleRefused(0);
        return 1;
    case 12:
        return pair ? ScaleViewElementDrawingToInput(pair->view, pair->record) : 1;
    case 13:
        return pair ? ScaleViewElementInputToDrawing(pair->view, pair->record) : 1;
    case 20:
        SetInputScaleEnabled(lParam != 0);
        return 0;
    default:
        return 0;
    }
}
