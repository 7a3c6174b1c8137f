// The picture saver of LumbraImage: a bitmap saved as a baseline JPEG that libjpeg decodes
// and libharu embeds.
#include "GTest.h"

#include <setjmp.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define boolean jpeg_boolean
#include <jpeglib.h>
#undef boolean
#include <hpdf.h>

#include "EngineBinding.h"
#include "QmCadImage.h"
#include "TempFolder.h"

namespace {

class LumbraImageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // As every caller of the library does: bind it first so its imports are resolved.
        char folder[MAX_PATH];
        GetProgramFolder(folder, sizeof folder);
        s_module = LoadLibraryA((std::string(folder) + "LumbraImage.dll.so").c_str());
    }
    void SetUp() override { ASSERT_NE(nullptr, s_module); }

    // A 64 x 48 picture: red left half, blue right half, a white bottom band.
    static HBITMAP MakePicture()
    {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 48);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT left = {0, 0, 32, 40}, right = {32, 0, 64, 40}, band = {0, 40, 64, 48};
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255)),
               white = CreateSolidBrush(RGB(255, 255, 255));
        FillRect(dc, &left, red);
        FillRect(dc, &right, blue);
        FillRect(dc, &band, white);
        DeleteObject(red);
        DeleteObject(blue);
        DeleteObject(white);
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }

    static HMODULE s_module;
};

HMODULE LumbraImageTest::s_module = nullptr;

struct Decoded {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    bool progressive = true;
    std::vector<unsigned char> rgb;
};

struct DecodeTrap {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void OnDecodeError(j_common_ptr info) { longjmp(reinterpret_cast<DecodeTrap*>(info->err)->jump, 1); }

Decoded Decode(const std::string& bytes)
{
    Decoded result;
    jpeg_decompress_struct info;
    DecodeTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = OnDecodeError;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&info);
        result.ok = false;
        return result;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    result.width = info.output_width;
    result.height = info.output_height;
    result.components = info.output_components;
    result.progressive = info.progressive_mode != 0;
    result.rgb.resize(static_cast<size_t>(result.width) * result.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result.rgb.data() + info.output_scanline * result.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.ok = true;
    return result;
}

bool Near(const unsigned char* rgb, int r, int g, int b)
{
    return std::abs(rgb[0] - r) < 24 && std::abs(rgb[1] - g) < 24 && std::abs(rgb[2] - b) < 24;
}

}  // namespace

TEST_F(LumbraImageTest, SavesABaselineJpegOfTheBitmap)
{
    TempFolder folder;
    HBITMAP bitmap = MakePicture();
    QmCadImage image;
    EXPECT_EQ(1, image.AttachBitmap(bitmap));
    // The caller releases its bitmap right after; the image keeps its own copy.
    DeleteObject(bitmap);
    ASSERT_EQ(0, image.Save(folder.File("$QmCadPdfOut.jpg").c_str()));

    std::string bytes = folder.Read("$QmCadPdfOut.jpg");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xD8', bytes[1]);
    EXPECT_NE(std::string::npos, bytes.find("\xFF\xC0", 2)) << "baseline frame marker";
    Decoded decoded = Decode(bytes);
    ASSERT_TRUE(decoded.ok);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(64, decoded.width);
    EXPECT_EQ(48, decoded.height);
    EXPECT_EQ(3, decoded.components);
    auto at = [&](int x, int y) { return decoded.rgb.data() + (y * 64 + x) * 3; };
    EXPECT_TRUE(Near(at(8, 8), 255, 0, 0));     // top left stays on top: red
    EXPECT_TRUE(Near(at(56, 8), 0, 0, 255));    // blue on the right
    EXPECT_TRUE(Near(at(32, 45), 255, 255, 255));
    // Only the one file is left in the folder.
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder.File("*.tmp").c_str(), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(LumbraImageTest, LibharuEmbedsTheFile)
{
    // Z: is the root of the Unix file system under wine, so both sides name the same file.
    char unixPath[64];
    std::snprintf(unixPath, sizeof unixPath, "/tmp/lumbra-%lu.jpg", GetCurrentProcessId());
    char winPath[64];
    std::snprintf(winPath, sizeof winPath, "Z:\\tmp\\lumbra-%lu.jpg", GetCurrentProcessId());
    HBITMAP bitmap = MakePicture();
    QmCadImage image;
    image.AttachBitmap(bitmap);
    DeleteObject(bitmap);
    ASSERT_EQ(0, image.Save(winPath));

    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    ASSERT_NE(nullptr, pdf);
    HPDF_Image loaded = HPDF_LoadJpegImageFromFile(pdf, unixPath);
    EXPECT_NE(nullptr, loaded);
    if (loaded != nullptr) {
        EXPECT_EQ(64u, HPDF_Image_GetWidth(loaded));
        EXPECT_EQ(48u, HPDF_Image_GetHeight(loaded));
    }
    HPDF_Free(pdf);
    DeleteFileA(winPath);
}

TEST_F(LumbraImageTest, FailsWithMinusOneAndLeavesNoFile)
{
    TempFolder folder;
    {
        QmCadImage empty;
        EXPECT_EQ(-1, empty.Save(folder.File("none.jpg").c_str()));
        EXPECT_EQ(0, empty.AttachBitmap(nullptr));
        EXPECT_EQ(-1, empty.Save(folder.File("none.jpg").c_str()));
    }
    EXPECT_EQ("", folder.Read("none.jpg"));

    HBITMAP bitmap = MakePicture();
    QmCadImage image;
    ASSERT_EQ(1, image.AttachBitmap(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(-1, image.Save(folder.File("missing\\sub\\pic.jpg").c_str()));
    EXPECT_EQ(-1, image.Save(nullptr));
    EXPECT_EQ(-1, image.Save(""));
    // A folder in the way: the save fails and the temporary file is gone.
    ASSERT_TRUE(CreateDirectoryA(folder.File("taken.jpg").c_str(), nullptr));
    EXPECT_EQ(-1, image.Save(folder.File("taken.jpg").c_str()));
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(folder.File("*.tmp").c_str(), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(LumbraImageTest, ASavedFileIsReplacedWhole)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("pic.jpg", std::string(100000, 'x')));
    HBITMAP bitmap = MakePicture();
    QmCadImage image;
    image.AttachBitmap(bitmap);
    DeleteObject(bitmap);
    ASSERT_EQ(0, image.Save(folder.File("pic.jpg").c_str()));
    EXPECT_TRUE(Decode(folder.Read("pic.jpg")).ok);
}

TEST_F(LumbraImageTest, ExportsItsCallsByName)
{
    for (const char* name : {"QmCadImageCreate", "QmCadImageDestroy", "QmCadImageAttachBitmap", "QmCadImageSave"})
        EXPECT_NE(nullptr, GetProcAddress(s_module, name)) << name;
}
