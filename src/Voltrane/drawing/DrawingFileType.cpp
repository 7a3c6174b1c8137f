#include "drawing/DrawingFileType.h"

#include <cstring>

int GetDrawingFileType(const char* path)
{
    if (path == nullptr) return kFileTypeNone;
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr || std::strchr(dot, '\\') != nullptr) return kFileTypeNone;
    const size_t length = std::strlen(dot);
    if (length > 5) return kFileTypeNone;
    if (length == 5) return lstrcmpiA(dot, ".otcf") == 0 ? kFileTypeOtcf : kFileTypeNone;
    if (lstrcmpiA(dot, ".tcf") == 0) return kFileTypeTcf;
    static const struct {
        const char* ext;
        int type;
    } kTypes[] = {{".DXF", kFileTypeDxf}, {".JWC", kFileTypeJwc}, {".JWK", kFileTypeJwc}, {".DWG", kFileTypeDwg},
                  {".TIF", kFileTypeTif}, {".SFC", kFileTypeSfc}, {".P21", kFileTypeSfc}, {".JWW", kFileTypeJww},
                  {".PDF", kFileTypePdf}};
    for (const auto& t : kTypes)
        if (lstrcmpiA(dot, t.ext) == 0) return t.type;
    return kFileTypeNone;
}

int FindFirstFileExists(const char* path)
{
    if (path == nullptr || *path == '\0') return 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    FindClose(find);
    return 1;
}

int IsFileReadable(const char* path)
{
    if (path == nullptr || *path == '\0') return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(file);
    return 1;
}

namespace {

struct FlagMessage {
    uint32_t bit;
    const char* text;
};

const FlagMessage kInfo{kLoadFlagInfo, "図面情報が異常です"};
const FlagMessage kMemory{kLoadFlagMemory, "メモリが不足しています\n読込を中断しました"};
const FlagMessage kGroup{kLoadFlagGroup, "FGRP情報が異常です"};
const FlagMessage kSymbol{kLoadFlagGroup, "シンボル情報が異常です"};
const FlagMessage kElement{kLoadFlagElement, "要素情報が異常です"};
const FlagMessage kCompression{kLoadFlagCompression, "未知の圧縮形式のファイルです。処理を続行できません。"};
const FlagMessage kFormat{kLoadFlagFormat, "未知の形式のファイルです。処理を続行できません。"};
const FlagMessage kNotDrawing{kLoadFlagNotDrawing, "ファイルが異常です。図面と認識できません。"};

}  // namespace

const char* LoadFlagMessage(uint32_t flags, LoadMessageOrder order, bool formatBitsCount)
{
    static const FlagMessage* const kOpenLoaded[] = {&kInfo,    &kMemory,      &kGroup, &kElement,
                                                     &kCompression, &kFormat, &kNotDrawing};
    static const FlagMessage* const kOpenFailed[] = {&kInfo,       &kMemory,      &kGroup, &kElement,
                                                     &kNotDrawing, &kCompression, &kFormat};
    static const FlagMessage* const kPasteLoaded[] = {&kInfo, &kSymbol, &kElement, &kNotDrawing, &kCompression, &kFormat};
    const FlagMessage* const* list = kOpenLoaded;
    size_t count = 7;
    if (order == LoadMessageOrder::OpenFailed) list = kOpenFailed;
    if (order == LoadMessageOrder::PasteLoaded) list = kPasteLoaded, count = formatBitsCount ? 6 : 4;
    for (size_t i = 0; i < count; ++i)
        if (flags & list[i]->bit) return list[i]->text;
    return nullptr;
}
