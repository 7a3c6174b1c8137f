// The TIFF reader Tifmora: header and one-bit rows of TIFFs made at test time with libtiff,
// and no crash on damaged or hostile input.
#include "GTest.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <tiffio.h>

#include "EngineBinding.h"
#include "Tifmora.h"

namespace {

typedef int(WINAPI* GetHeadProc)(const void*, DWORD, TiffHeadRecord*);
typedef void*(WINAPI* GetBmpProc)(const void*, DWORD, DWORD*, DWORD*);

// A picture given pixel by pixel: true = dark.
typedef std::function<bool(uint32_t x, uint32_t y)> Pattern;

bool Checker(uint32_t x, uint32_t y) { return ((x / 3) + (y / 2)) % 2 == 0; }

struct TiffOptions {
    uint32_t width = 21;
    uint32_t height = 10;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t photometric = PHOTOMETRIC_MINISWHITE;
    uint16_t compression = COMPRESSION_NONE;
    bool tiled = false;
    bool resolution = true;
    float xres = 200.0f, yres = 200.0f;
    uint16_t unit = RESUNIT_INCH;
    uint16_t orientation = ORIENTATION_TOPLEFT;
};

// Writes a TIFF with libtiff into a file of the Unix temporary folder and returns its bytes.
std::string MakeTiff(const TiffOptions& o, const Pattern& dark = Checker)
{
    char path[64];
    static int counter = 0;
    std::snprintf(path, sizeof path, "/tmp/tifmora-%lu-%d.tif", GetCurrentProcessId(), counter++);
    TIFF* tiff = TIFFOpen(path, "w");
    if (tiff == nullptr) return std::string();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, o.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, o.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, o.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, o.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, o.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, o.compression);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, o.orientation);
    if (o.resolution) {
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, o.xres);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, o.yres);
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, o.unit);
    }
    auto sample = [&](uint32_t x, uint32_t y, uint16_t s) -> uint32_t {
        bool d = dark(x, y);
        if (o.bits == 1) return (o.photometric == PHOTOMETRIC_MINISWHITE) == d ? 1 : 0;
        if (o.samples == 3) return d ? (s == 0 ? 90 : 0) : 255;  // dark red on white
        return d ? 20 : 230;
    };
    auto packRow = [&](uint32_t y, uint32_t x0, uint32_t count, std::vector<unsigned char>& line) {
        if (o.bits == 1) {
            std::fill(line.begin(), line.end(), 0);
            for (uint32_t x = 0; x < count; ++x)
                if (x0 + x < o.width && sample(x0 + x, y, 0)) line[x / 8] |= 0x80 >> (x % 8);
        } else {
            for (uint32_t x = 0; x < count; ++x)
                for (uint16_t s = 0; s < o.samples; ++s)
                    line[x * o.samples + s] =
                        static_cast<unsigned char>(x0 + x < o.width && y < o.height ? sample(x0 + x, y, s) : 255);
        }
    };
    bool ok = true;
    if (o.tiled) {
        const uint32_t tile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, tile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, tile);
        std::vector<unsigned char> buffer(TIFFTileSize(tiff));
        size_t rowBytes = buffer.size() / tile;
        std::vector<unsigned char> line(rowBytes);
        for (uint32_t ty = 0; ty < o.height; ty += tile)
            for (uint32_t tx = 0; tx < o.width; tx += tile) {
                for (uint32_t r = 0; r < tile; ++r) {
                    packRow(ty + r, tx, tile, line);
                    std::memcpy(buffer.data() + r * rowBytes, line.data(), rowBytes);
                }
                ok = ok && TIFFWriteTile(tiff, buffer.data(), tx, ty, 0, 0) >= 0;
            }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4u);
        std::vector<unsigned char> line(TIFFScanlineSize(tiff));
        for (uint32_t y = 0; y < o.height; ++y) {
            packRow(y, 0, o.width, line);
            ok = ok && TIFFWriteScanline(tiff, line.data(), y, 0) >= 0;
        }
    }
    TIFFClose(tiff);
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::remove(path);
    return ok ? bytes.str() : std::string();
}

class TifmoraTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The program loads the reader by name and looks its calls up, as here.
        char folder[MAX_PATH];
        GetProgramFolder(folder, sizeof folder);
        s_module = LoadLibraryA((std::string(folder) + "Tifmora.dll.so").c_str());
        if (s_module != nullptr) {
            s_head = reinterpret_cast<GetHeadProc>(GetProcAddress(s_module, "GetHeadfromTIFF"));
            s_bmp = reinterpret_cast<GetBmpProc>(GetProcAddress(s_module, "GetBMPfromTIFF"));
        }
    }
    void SetUp() override
    {
        ASSERT_NE(nullptr, s_head);
        ASSERT_NE(nullptr, s_bmp);
    }

    // Decodes and compares every pixel with the pattern; frees the block as the program does.
    static void ExpectPicture(const std::string& bytes, uint32_t width, uint32_t height, const Pattern& dark)
    {
        DWORD w = 0, h = 0;
        unsigned char* bits = static_cast<unsigned char*>(s_bmp(bytes.data(), bytes.size(), &w, &h));
        ASSERT_NE(nullptr, bits);
        ASSERT_EQ(width, w);
        ASSERT_EQ(height, h);
        size_t rowBytes = ((width + 15) / 16) * 2;
        int wrong = 0;
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < rowBytes * 8; ++x) {
                bool set = (bits[y * rowBytes + x / 8] & (0x80 >> (x % 8))) != 0;
                bool expected = x < width && dark(x, y);
                if (set != expected) ++wrong;
            }
        }
        EXPECT_EQ(0, wrong);
        HGLOBAL block = GlobalHandle(bits);
        ASSERT_NE(nullptr, block);
        GlobalUnlock(block);
        EXPECT_EQ(nullptr, GlobalFree(block));
    }

    static HMODULE s_module;
    static GetHeadProc s_head;
    static GetBmpProc s_bmp;
};

HMODULE TifmoraTest::s_module = nullptr;
GetHeadProc TifmoraTest::s_head = nullptr;
GetBmpProc TifmoraTest::s_bmp = nullptr;

}  // namespace

TEST_F(TifmoraTest, ReadsTheHeader)
{
    TiffOptions o;
    o.width = 1654;
    o.height = 3;
    std::string bytes = MakeTiff(o);
    ASSERT_FALSE(bytes.empty());
    TiffHeadRecord head;
    std::memset(&head, 0xCC, sizeof head);
    ASSERT_EQ(1, s_head(bytes.data(), bytes.size(), &head));
    EXPECT_EQ(1654u, head.width);
    EXPECT_EQ(3u, head.height);
    EXPECT_EQ(200u, head.xResolutionNum);
    EXPECT_EQ(1u, head.xResolutionDen);
    EXPECT_EQ(200u, head.yResolutionNum);
    EXPECT_EQ(1u, head.yResolutionDen);
    EXPECT_EQ(2, head.resolutionUnit);
    EXPECT_EQ(1, head.bitsPerSample);
    // What the program computes from it: 1654 * 25.4 / 200 mm.
    EXPECT_NEAR(210.058, head.width * 25.4 / head.xResolutionNum * head.xResolutionDen, 1e-3);
}

TEST_F(TifmoraTest, ReportsCentimetresFractionsAndMissingResolution)
{
    TiffOptions cm;
    cm.unit = RESUNIT_CENTIMETER;
    cm.xres = 80.0f;
    cm.yres = 78.5f;
    std::string bytes = MakeTiff(cm);
    TiffHeadRecord head = {};
    ASSERT_EQ(1, s_head(bytes.data(), bytes.size(), &head));
    EXPECT_EQ(3, head.resolutionUnit);
    EXPECT_EQ(80u, head.xResolutionNum);
    EXPECT_NEAR(78.5, static_cast<double>(head.yResolutionNum) / head.yResolutionDen, 1e-6);

    TiffOptions none;
    none.resolution = false;
    bytes = MakeTiff(none);
    ASSERT_EQ(1, s_head(bytes.data(), bytes.size(), &head));
    EXPECT_EQ(1, head.resolutionUnit);
    EXPECT_EQ(21u, head.width);
}

TEST_F(TifmoraTest, DecodesEveryKindIntoDarkPixelBits)
{
    struct Case {
        const char* name;
        TiffOptions options;
    };
    std::vector<Case> cases;
    TiffOptions o;
    cases.push_back({"bilevel min-is-white", o});
    o.photometric = PHOTOMETRIC_MINISBLACK;
    cases.push_back({"bilevel min-is-black", o});
    o = TiffOptions();
    o.compression = COMPRESSION_CCITTFAX4;
    o.width = 100;
    o.height = 37;
    cases.push_back({"group 4 fax", o});
    o = TiffOptions();
    o.compression = COMPRESSION_PACKBITS;
    o.width = 33;
    cases.push_back({"packbits", o});
    o = TiffOptions();
    o.bits = 8;
    o.photometric = PHOTOMETRIC_MINISBLACK;
    o.compression = COMPRESSION_LZW;
    cases.push_back({"grey", o});
    o = TiffOptions();
    o.bits = 8;
    o.samples = 3;
    o.photometric = PHOTOMETRIC_RGB;
    o.tiled = true;
    o.width = 40;
    o.height = 19;
    cases.push_back({"tiled colour", o});
    o = TiffOptions();
    o.tiled = true;
    o.width = 35;
    o.height = 20;
    cases.push_back({"tiled bilevel", o});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = MakeTiff(c.options);
        ASSERT_FALSE(bytes.empty());
        ExpectPicture(bytes, c.options.width, c.options.height, Checker);
    }
    // Rows stored bottom first come out top first.
    o = TiffOptions();
    o.orientation = ORIENTATION_BOTLEFT;
    std::string bytes = MakeTiff(o);
    ASSERT_FALSE(bytes.empty());
    const uint32_t height = o.height;
    ExpectPicture(bytes, o.width, o.height, [height](uint32_t x, uint32_t y) { return Checker(x, height - 1 - y); });
}

TEST_F(TifmoraTest, RefusesDamagedAndHostileInputWithoutCrashing)
{
    DWORD w = 7, h = 7;
    TiffHeadRecord head;
    EXPECT_EQ(0, s_head(nullptr, 100, &head));
    EXPECT_EQ(nullptr, s_bmp(nullptr, 100, &w, &h));
    EXPECT_EQ(0u, w);
    EXPECT_EQ(0u, h);
    EXPECT_EQ(0, s_head("II*\0", 4, &head));
    std::string garbage(4096, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 2654435761u) >> 13);
    EXPECT_EQ(0, s_head(garbage.data(), garbage.size(), &head));
    EXPECT_EQ(nullptr, s_bmp(garbage.data(), garbage.size(), &w, &h));
    EXPECT_EQ(0, s_head("II*\0", 4, nullptr));

    // Every cut of a compressed TIFF either decodes or fails; none crashes or leaks a block.
    TiffOptions o;
    o.compression = COMPRESSION_CCITTFAX4;
    o.width = 64;
    o.height = 64;
    std::string bytes = MakeTiff(o);
    ASSERT_FALSE(bytes.empty());
    for (size_t cut = 0; cut < bytes.size(); cut += 3) {
        void* bits = s_bmp(bytes.data(), static_cast<DWORD>(cut), &w, &h);
        if (bits != nullptr) {
            GlobalUnlock(GlobalHandle(bits));
            GlobalFree(GlobalHandle(bits));
        }
        s_head(bytes.data(), static_cast<DWORD>(cut), &head);
    }
    // Bytes flipped one at a time all through the file.
    for (size_t at = 0; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0xA5);
        void* bits = s_bmp(damaged.data(), static_cast<DWORD>(damaged.size()), &w, &h);
        if (bits != nullptr) {
            GlobalUnlock(GlobalHandle(bits));
            GlobalFree(GlobalHandle(bits));
        }
    }
}

TEST_F(TifmoraTest, RefusesPicturesTooLargeToHold)
{
    // A header that claims 1,000,000 x 1,000,000 pixels over a few bytes of data.
    TiffOptions o;
    o.width = 1000000;
    o.height = 8;
    std::string bytes = MakeTiff(o, [](uint32_t, uint32_t) { return false; });
    ASSERT_FALSE(bytes.empty());
    // Patch the image length (tag 257, type LONG) to 1,000,000.
    size_t tagAt = std::string::npos;
    uint32_t ifd = 0;
    std::memcpy(&ifd, bytes.data() + 4, 4);
    uint16_t count = 0;
    std::memcpy(&count, bytes.data() + ifd, 2);
    for (uint16_t i = 0; i < count; ++i) {
        uint16_t tag = 0;
        std::memcpy(&tag, bytes.data() + ifd + 2 + i * 12, 2);
        if (tag == 257) tagAt = ifd + 2 + i * 12;
    }
    ASSERT_NE(std::string::npos, tagAt);
    uint16_t type = 4;
    uint32_t one = 1, length = 1000000;
    std::memcpy(&bytes[tagAt + 2], &type, 2);
    std::memcpy(&bytes[tagAt + 4], &one, 4);
    std::memcpy(&bytes[tagAt + 8], &length, 4);
    DWORD w = 7, h = 7;
    EXPECT_EQ(nullptr, s_bmp(bytes.data(), static_cast<DWORD>(bytes.size()), &w, &h));
    EXPECT_EQ(0u, w);
}
