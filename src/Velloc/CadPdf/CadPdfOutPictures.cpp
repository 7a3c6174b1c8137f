// Image elements (a packed DIB stretched into a box) and raster elements (a one-bit raster with
// one colour, turned into the bounding box of its rotated outline), both written as JPEG images.
#include "CadPdf/CadPdfOut.h"

#include <cmath>
#include <cstring>

#include "CadPdf/ElementOverlay.h"
#include "CadPdf/PictureBits.h"
#include "CadPdf/PdfOutSettings.h"
#include "DravikDb.h"
#include "QmCadDocument.h"
#include "QmCadImage.h"

namespace {

}  // namespace

RasterExportDefaults& TheRasterExportDefaults()
{
    static RasterExportDefaults defaults;
    return defaults;
}

int CadPdfOut::ExportImage(ExportElement, const ElementRecord* record)
{
    if (m_settings.outImage == 0) return 0;
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const ImageRecord image = ElementOverlay<ImageRecord>(record);
    if (image.dib == nullptr) return -1;
    std::string jpeg;
    if (SaveDibAsJpeg(image.dib, &jpeg) != 0) return -1;

    const double s = m_scale;
    const float x1 = PageX(image.x1 * s), y1 = PageY(image.y1 * s);
    const float x2 = PageX(image.x2 * s), y2 = PageY(image.y2 * s);
    BeginMarkedContent();
    HPDF_Image loaded = m_pdf.Call(HPDF_LoadJpegImageFromMem, m_pdf.Document(),
                                   reinterpret_cast<const HPDF_BYTE*>(jpeg.data()), static_cast<HPDF_UINT>(jpeg.size()));
    // The lower left corner is the smaller of each pair, whichever corner the drawing stored first.
    m_pdf.Call(HPDF_Page_DrawImage, m_page, loaded, std::fmin(x1, x2), std::fmin(y1, y2), std::fabs(x2 - x1),
               std::fabs(y2 - y1));
    EndMarkedContent();
    return 0;
}

int CadPdfOut::ExportRaster(ExportElement, const ElementRecord* record)
{
    TheRasterExportDefaults().database = Database();
    if (m_settings.outRaster == 0) return 0;
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    HBITMAP bitmap = nullptr;
    if (MakeRasterBitmap(&bitmap, 1.0, record) != 0) return -1;
    std::string jpeg;
    const int saved = SaveBitmapAsJpeg(bitmap, &jpeg);
    DeleteObject(bitmap);
    if (saved != 0) return -1;

    const RasterRecord raster = ElementOverlay<RasterRecord>(record);
    const double r = raster.angle;
    const double hx = (std::fabs(raster.height * std::sin(r)) + std::fabs(raster.width * std::cos(r))) * 0.5;
    const double hy = (std::fabs(raster.height * std::cos(r)) + std::fabs(raster.width * std::sin(r))) * 0.5;
    const double cx = raster.cx * m_scale, cy = raster.cy * m_scale;
    const float left = PageX(cx - hx), right = PageX(cx + hx);
    const float bottom = PageY(cy - hy), top = PageY(cy + hy);
    if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(bottom) || !std::isfinite(top)) return -1;
    BeginMarkedContent();
    HPDF_Image loaded = m_pdf.Call(HPDF_LoadJpegImageFromMem, m_pdf.Document(),
                                   reinterpret_cast<const HPDF_BYTE*>(jpeg.data()), static_cast<HPDF_UINT>(jpeg.size()));
    m_pdf.Call(HPDF_Page_DrawImage, m_page, loaded, left, bottom, std::fabs(right - left), std::fabs(top - bottom));
    EndMarkedContent();
    return 0;
}
