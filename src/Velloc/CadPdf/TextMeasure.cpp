// Measurements of Windows fonts on the active drawing window, for the text code.
#include <cstring>

#include "CadPdf/FontExchangeTable.h"
#include "HostLibrary.h"

namespace {

constexpr size_t kMaxFaceNameBytes = LF_FACESIZE - 1;  // 31

// The font the text code measures: height 1000, width 500, Shift-JIS; null when the face name
// does not fit LOGFONT whole (a cut name would measure another font).
HFONT CreateMeasureFont(const char* faceName)
{
    if (faceName == nullptr || std::strlen(faceName) > kMaxFaceNameBytes) return nullptr;
    LOGFONTA font = {};
    font.lfHeight = 1000;
    font.lfWidth = 500;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = 0x30;
    std::strcpy(font.lfFaceName, faceName);
    return CreateFontIndirectA(&font);
}

// The device context of the active drawing window (the screen's while there is none), with
// the face selected into it, released again at the end of the scope.
class MeasureContext {
public:
    explicit MeasureContext(const char* faceName)
    {
        // The window first: the host call may abandon the command, and nothing is held yet.
        m_window = HostLib::VyGetActiveCadWnd();
        m_font = CreateMeasureFont(faceName);
        if (m_font == nullptr) return;
        m_dc = GetDC(m_window);
        if (m_dc != nullptr) m_previous = SelectObject(m_dc, m_font);
    }
    ~MeasureContext()
    {
        if (m_dc != nullptr) {
            SelectObject(m_dc, m_previous);
            ReleaseDC(m_window, m_dc);
        }
        if (m_font != nullptr) DeleteObject(m_font);
    }
    MeasureContext(const MeasureContext&) = delete;
    MeasureContext& operator=(const MeasureContext&) = delete;

    HDC Dc() const { return m_dc; }

private:
    HFONT m_font = nullptr;
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace

int MeasureTextExtent(const char* faceName, SIZE* size, const char* text)
{
    MeasureContext context(faceName);
    if (context.Dc() == nullptr) return -1;
    SIZE extent = {};
    const char* shown = text ? text : "";
    if (!GetTextExtentPoint32A(context.Dc(), shown, static_cast<int>(std::strlen(shown)), &extent)) return -1;
    if (size) *size = extent;
    return 0;
}

int GetFontDescentRatio(const char* faceName, double* ratio)
{
    if (ratio) *ratio = 0.0;
    MeasureContext context(faceName);
    TEXTMETRICA metrics = {};
    if (context.Dc() == nullptr || !GetTextMetricsA(context.Dc(), &metrics)) return 1;
    const double height = static_cast<double>(metrics.tmAscent) + metrics.tmDescent + metrics.tmExternalLeading;
    const double numerator = metrics.tmDescent + metrics.tmExternalLeading / 2.0;
    if (height < 1e-8 || numerator < 1e-8) return 0;
    if (ratio) *ratio = numerator / height;
    return 1;
}
