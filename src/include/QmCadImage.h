// Picture saver of the LumbraImage library: a bitmap attached to the object is written as a
// baseline JPEG file.
//
// The class is a thin inline wrapper over the library's exported calls, so the object's
// layout and the calling convention stay the same whichever compiler builds the caller.
#pragma once

#include <windows.h>

#define LUMBRAIMAGE_API extern "C"

// Makes an image object; null when out of memory.
LUMBRAIMAGE_API void* WINAPI QmCadImageCreate(void);
// Frees an image object (null is allowed).
LUMBRAIMAGE_API void WINAPI QmCadImageDestroy(void* image);
// Takes a copy of the bitmap's picture (the caller keeps and may delete the bitmap).
// 1 when the picture was read, 0 otherwise (the object then holds no picture).
LUMBRAIMAGE_API int WINAPI QmCadImageAttachBitmap(void* image, HBITMAP bitmap);
// Writes the held picture as a baseline JPEG file at path (a temporary file renamed into
// place, so a failure leaves an existing file whole). 0 when written, -1 on any failure.
LUMBRAIMAGE_API int WINAPI QmCadImageSave(void* image, const char* path);

class QmCadImage {
public:
    QmCadImage() : m_image(QmCadImageCreate()) {}
    ~QmCadImage() { QmCadImageDestroy(m_image); }
    QmCadImage(const QmCadImage&) = delete;
    QmCadImage& operator=(const QmCadImage&) = delete;

    int AttachBitmap(HBITMAP bitmap) { return QmCadImageAttachBitmap(m_image, bitmap); }
    int Save(const char* path) { return QmCadImageSave(m_image, path); }

private:
    void* m_image;
};
