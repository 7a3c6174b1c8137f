#include "view/SavePreview.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "view/ViewPaint.h"
#include "view/ViewTable.h"

namespace {

constexpr int kPreviewWidth = 176;
constexpr int kPreviewHeight = 126;

}  // namespace

int RenderSavePreview(HWND view, HDC dc)
{
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr || own->engineDb == nullptr || dc == nullptr) return 0;
    RECT client;
    GetClientRect(view, &client);
    const double width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return 1;
    // The view's own setting, scaled so that what the view shows fits the preview.
    PDBINFO block;
    std::memcpy(&block, own, sizeof block);
    ViewModeInfo& mode = CurrentViewMode(block);
    const double byWidth = kPreviewWidth / width, byHeight = kPreviewHeight / height;
    mode.scale *= byHeight > byWidth ? std::fabs(byWidth) : std::fabs(byHeight);

    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block.engineDb);
    const RECT target = {0, 0, kPreviewWidth, kPreviewHeight};
    static DrawParamBlock drawBlock;
    FillDrawParamBlock(drawBlock, block, info, target, nullptr, dc, CurrentViewPaintSettings());
    ZUriDrawPre(block.engineDb, &drawBlock);
    ZUriDrawAll(block.engineDb, &drawBlock, nullptr);
    return 1;
}
