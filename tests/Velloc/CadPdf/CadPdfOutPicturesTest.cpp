// Image and raster elements as JPEG images in the PDF, and the bit work behind them.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "CadPdf/CadPdfOut.h"
#include "CadPdf/PictureBits.h"
#include "ExportFixture.h"
#include "QmCadDocument.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A packed 24-bit DIB of w x h pixels of one colour, in movable global memory.
HGLOBAL MakeDib(int w, int h, BYTE red, BYTE green, BYTE blue)
{
    const int stride = ((w * 24 + 31) / 32) * 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(BITMAPINFOHEADER) + stride * h);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = w;
    header->biHeight = h;
    header->biPlanes = 1;
    header->biBitCount = 24;
    BYTE* bits = reinterpret_cast<BYTE*>(header + 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            bits[y * stride + x * 3] = blue;
            bits[y * stride + x * 3 + 1] = green;
            bits[y * stride + x * 3 + 2] = red;
        }
    GlobalUnlock(block);
    return block;
}

ElementRecord ImageElement(HGLOBAL dib, double x1, double y1, double x2, double y2)
{
    ImageRecord image{};
    SetHeader(image.header, kElementImage);
    image.x1 = x1, image.y1 = y1, image.x2 = x2, image.y2 = y2;
    image.dib = dib;
    return AsRecord(image);
}

ElementRecord RasterElement(const std::vector<uint8_t>& bits, int w, int h, double angle, int32_t colour)
{
    RasterRecord raster{};
    SetHeader(raster.header, kElementRaster);
    raster.cx = 0, raster.cy = 0;
    raster.width = w, raster.height = h;
    raster.angle = angle;
    raster.cosAngle = std::cos(angle), raster.sinAngle = std::sin(angle);
    raster.pixelFactorX = raster.pixelFactorY = 1.0;
    raster.pixelsX = w, raster.pixelsY = h;
    raster.resolutionX = raster.resolutionY = 200;
    raster.resolutionUnit = 2;
    raster.bits = const_cast<uint8_t*>(bits.data());
    raster.bitsSize = static_cast<uint32_t>(bits.size());
    raster.colour = colour;
    raster.expanded = 1;
    return AsRecord(raster);
}

int ExportTo(ExportDrawing& drawing, const std::string& path)
{
    QmCadDocument document(nullptr);
    document.database = drawing.db();
    RecordedMessages messages;
    CadPdfOut writer(&document, &messages);
    return writer.Export(path.c_str());
}

int TemporaryJpegCount()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "qpj*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

TEST(CadPdfOutPictures, ImageIsPlacedFromItsLowerLeftCornerWhicheverCornerComesFirst)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "OutImage", "1");
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.SetOriginMode(1);
    drawing.NameLayer(0, "絵");
    HGLOBAL dib = MakeDib(4, 2, 255, 0, 0);
    drawing.Add(ImageElement(dib, 100, 80, 20, 30));  // corners stored reversed
    GlobalFree(dib);
    const int before = TemporaryJpegCount();
    ASSERT_EQ(ExportTo(drawing, out.WindowsPath("image.pdf")), 0);
    EXPECT_EQ(TemporaryJpegCount(), before);

    const std::string pdf = out.UnixPath("image.pdf");
    EXPECT_EQ(RunTool("qpdf --check '" + pdf + "'").exitCode, 0);
    const ToolResult list = RunTool("pdfimages -list '" + pdf + "'");
    EXPECT_NE(list.output.find("jpeg"), std::string::npos) << list.output;
    EXPECT_EQ(CountOccurrences(list.output, "\n"), 3u) << list.output;  // two header lines, one image
    const std::string content = ReadUnixFile(pdf);
    // 80 x 50 mm from (20, 30) mm.
    EXPECT_NE(content.find("226.77165 0 0 141.73228 56.69291 85.03937 cm"), std::string::npos)
        << content.substr(content.find("/OC /oc0 BDC"), 120);
    EXPECT_EQ(CountOccurrences(content, "/OC /oc0 BDC"), 1u);
}

TEST(CadPdfOutPictures, PicturesAreLeftOutWhenTheSettingsSaySo)
{
    ExportSettingsFolder settings;  // OutImage and OutRaster default to 0
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.NameLayer(0, "絵");
    HGLOBAL dib = MakeDib(4, 2, 255, 0, 0);
    drawing.Add(ImageElement(dib, 0, 0, 20, 30));
    GlobalFree(dib);
    const std::vector<uint8_t> bits(16, 0xFF);
    drawing.Add(RasterElement(bits, 16, 8, 0, 0x0000FF));
    drawing.Add(LineElement(0, 0, 10, 0));
    ASSERT_EQ(ExportTo(drawing, out.WindowsPath("none.pdf")), 0);
    const std::string content = ReadUnixFile(out.UnixPath("none.pdf"));
    EXPECT_EQ(content.find("/Subtype /Image"), std::string::npos);
    EXPECT_EQ(CountOccurrences(content, "/OC /oc0 BDC"), 1u);  // the line's only
}

TEST(CadPdfOutPictures, RasterAt45DegreesOnWhite)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "OutRaster", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    const std::vector<uint8_t> bits(16, 0xFF);  // 16 x 8, every pixel set
    drawing.Add(RasterElement(bits, 16, 8, kPi / 4, 0x0000FF));
    ASSERT_EQ(ExportTo(drawing, out.WindowsPath("raster.pdf")), 0);
    const ToolResult list = RunTool("pdfimages -list '" + out.UnixPath("raster.pdf") + "'");
    // int(16 cos 45 + 8 sin 45) = 16 both ways.
    EXPECT_NE(list.output.find("    16    16  rgb"), std::string::npos) << list.output;

    // The bitmap behind it: the corner outside the turned raster is white, the middle red.
    ExportDrawing plain;
    TheRasterExportDefaults().database = plain.db();
    const ElementRecord record = RasterElement(bits, 16, 8, kPi / 4, 0x0000FF);
    HBITMAP bitmap = nullptr;
    ASSERT_EQ(MakeRasterBitmap(&bitmap, 1.0, &record), 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(256, 0);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDIBits(screen, bitmap, 0, 16, pixels.data(), &info, DIB_RGB_COLORS), 16);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(pixels[8 * 16 + 8] & 0xFFFFFF, 0xFF0000u);  // BGRA: red
}

TEST(PictureBits, RotationAtFactorOneTakesTheRowBelowToo)
{
    // 16 x 3 source: only pixel (5, 1) set.
    std::vector<uint8_t> src(2 * 3, 0);
    src[1 * 2 + 0] = 0x80 >> 5;
    uint8_t* dst = RotateRasterBits(16, 3, 8, 1, 16, 3, src.data(), 0, 1.0, 1.0, 1.0);
    ASSERT_NE(dst, nullptr);
    const int stride = 4;
    auto set = [&](int i, int j) { return (dst[j * stride + i / 8] & (0x80 >> (i % 8))) != 0; };
    EXPECT_TRUE(set(5, 1));
    EXPECT_TRUE(set(5, 0));  // (5, 0) looks at rows 0 and 1
    EXPECT_FALSE(set(5, 2));
    EXPECT_FALSE(set(4, 1));
    VirtualFree(dst, 0, MEM_RELEASE);
}

TEST(PictureBits, RastersThatDoNotFitAreSkipped)
{
    ExportDrawing drawing;
    TheRasterExportDefaults().database = drawing.db();
    const std::vector<uint8_t> bits(16, 0xFF);
    struct Case {
        int w, h;
        double factor;
    };
    const Case cases[] = {
        {1 << 30, 8, 1.0},   // rows far beyond the bits held
        {16, 1 << 30, 1.0},  // sizes that wrap in 32 bits
        {16, 8, 0.0},        // a pixel factor of 0
    };
    for (const Case& c : cases) {
        ElementRecord record = RasterElement(bits, 16, 8, 0, 0);
        RasterRecord raster = Typed<RasterRecord>(record);
        raster.pixelsX = c.w;
        raster.pixelsY = c.h;
        raster.pixelFactorX = c.factor;
        record = AsRecord(raster);
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        EXPECT_EQ(MakeRasterBitmap(&bitmap, 1.0, &record), -1) << c.w << " x " << c.h;
        EXPECT_EQ(bitmap, nullptr);
    }
    TheRasterExportDefaults().database = nullptr;
}

TEST(PictureBits, ColourTableSizesAreCheckedAgainstTheBlock)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biBitCount = 16;
    header.biCompression = BI_BITFIELDS;
    EXPECT_EQ(DibColorTableSize(&header, 1000), 12);
    header.biCompression = BI_RGB;
    header.biBitCount = 8;
    EXPECT_EQ(DibColorTableSize(&header, 2000), 1024);
    header.biClrUsed = 70000;  // not cut to 16 bits, and beyond the block
    EXPECT_EQ(DibColorTableSize(&header, 2000), -1);
    BITMAPCOREHEADER core{};
    core.bcSize = sizeof core;
    core.bcBitCount = 4;
    EXPECT_EQ(DibColorTableSize(reinterpret_cast<BITMAPINFOHEADER*>(&core), 100), 48);
    EXPECT_EQ(DibToBitmap(nullptr), nullptr);
}

}  // namespace
