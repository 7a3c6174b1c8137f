// The picture saver behind QmCadImage: takes a copy of a bitmap's pixels and writes them as
// a baseline JPEG with libjpeg.
#include "QmCadImage.h"

#include "EngineFiles.h"

#include <setjmp.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

// The platform headers name their own `boolean`; libjpeg's is an int, kept under its own name.
#define boolean jpeg_boolean
#include <jpeglib.h>
#undef boolean

namespace {

// JPEG's own limit on a side, and a bound on the pixels held in memory.
constexpr LONG kMaxSide = 65500;
constexpr unsigned long long kMaxPixelBytes = 512ull * 1024 * 1024;
constexpr int kQuality = 90;

struct ImageObject {
    LONG width = 0;
    LONG height = 0;
    size_t stride = 0;               // bytes per row, rows top-down, blue-green-red
    std::vector<unsigned char> bgr;
};

struct JpegErrorTrap {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

void OnJpegError(j_common_ptr info)
{
    JpegErrorTrap* trap = reinterpret_cast<JpegErrorTrap*>(info->err);
    longjmp(trap->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

// Encodes the picture into a memory block (malloc'ed by libjpeg). False on any error.
// Kept free of objects with destructors, since libjpeg's errors arrive by a long jump.
bool EncodeJpeg(const ImageObject& image, unsigned char** out, unsigned long* outSize)
{
    jpeg_compress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = OnJpegError;
    trap.manager.emit_message = OnJpegMessage;
    *out = nullptr;
    *outSize = 0;
    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_compress(&info);
        // The destination may have moved its buffer without telling *out yet, so the
        // block is not freed here: errors past the checks above mean memory ran out.
        *out = nullptr;
        *outSize = 0;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    // A plain sequential (baseline) file with a JFIF header: what PDF writers embed as is.
    info.write_JFIF_header = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.bgr.data() + info.next_scanline * image.stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return *out != nullptr && *outSize > 0;
}

bool WriteFileReplacing(const char* path, const unsigned char* bytes, unsigned long size)
{
    return EngineSupport::WriteFileReplacing(path, bytes, size) == 0;
}

}  // namespace

LUMBRAIMAGE_API void* WINAPI QmCadImageCreate(void)
{
    return new (std::nothrow) ImageObject();
}

LUMBRAIMAGE_API void WINAPI QmCadImageDestroy(void* image)
{
    delete static_cast<ImageObject*>(image);
}

LUMBRAIMAGE_API int WINAPI QmCadImageAttachBitmap(void* image, HBITMAP bitmap)
{
    ImageObject* object = static_cast<ImageObject*>(image);
    if (object == nullptr) return 0;
    object->width = object->height = 0;
    object->stride = 0;
    object->bgr.clear();
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return 0;
    LONG width = info.bmWidth;
    LONG height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return 0;
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    if (static_cast<unsigned long long>(stride) * height > kMaxPixelBytes) return 0;
    try {
        object->bgr.assign(stride * height, 0);
    } catch (...) {
        return 0;
    }
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = width;
    request.bmiHeader.biHeight = -height;  // rows top-down, as JPEG wants them
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    request.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        object->bgr.clear();
        return 0;
    }
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), object->bgr.data(), &request,
                         DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != height) {
        object->bgr.clear();
        return 0;
    }
    object->width = width;
    object->height = height;
    object->stride = stride;
    return 1;
}

LUMBRAIMAGE_API int WINAPI QmCadImageSave(void* image, const char* path)
{
    const ImageObject* object = static_cast<const ImageObject*>(image);
    if (object == nullptr || path == nullptr || path[0] == '\0' || object->bgr.empty()) return -1;
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    if (!EncodeJpeg(*object, &bytes, &size)) return -1;
    bool written = WriteFileReplacing(path, bytes, size);
    std::free(bytes);
    return written ? 0 : -1;
}
