#include "panels/PanelText.h"

#include <string>

namespace {

constexpr char kEllipsis[] = "...";

int TextWidth(HDC dc, const char* text, int length)
{
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    return size.cx;
}

}  // namespace

int FitTextWithEllipsis(HDC dc, const char* text, int length, int extent, bool* cut)
{
    *cut = false;
    if (text == nullptr || length <= 0) return 0;
    if (TextWidth(dc, text, length) <= extent) return length;
    *cut = true;
    const int ellipsis = TextWidth(dc, kEllipsis, 3);
    // Prefixes end only on character boundaries: a lead byte never loses its trail byte.
    int best = 0;
    for (int end = 0; end < length;) {
        const int next = end + (IsDBCSLeadByteEx(932, static_cast<BYTE>(text[end])) && end + 1 < length ? 2 : 1);
        if (best > 0 && TextWidth(dc, text, next) + ellipsis > extent) break;
        best = next;
        end = next;
    }
    return best;
}

void DrawTextEllipsis(HDC dc, const char* text, int length, const RECT& rect, int horizontal)
{
    if (text == nullptr || length <= 0) return;
    const int extent = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    bool cut = false;
    const int kept = FitTextWithEllipsis(dc, text, length, extent, &cut);
    std::string shown(text, static_cast<size_t>(kept));
    if (cut) shown += kEllipsis;
    SIZE size = {};
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    const int x = horizontal ? cx - size.cx / 2 : cx + size.cy / 2;
    const int y = horizontal ? cy - size.cy / 2 : cy - size.cx / 2;
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &rect, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
}
