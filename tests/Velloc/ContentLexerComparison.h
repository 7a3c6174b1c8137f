// Reads a content stream with the import's lexer and with the PDF library's content tokenizer
// side by side (used by the tests and by the import's fuzz target).
#pragma once

#include "CadPdf/PdfLibrary.h"

#include <cstddef>
#include <string>

class PdfContentLexer;

// One item of a content stream as a reader gave it, or the error it failed with.
struct ContentItem {
    bool read = false;
    PoDoFo::EPdfContentsType type = PoDoFo::ePdfContentsType_Keyword;
    std::string keyword;
    PoDoFo::PdfVariant value;
    bool failed = false;
    PoDoFo::EPdfError error = PoDoFo::ePdfError_ErrOk;
};

// The lexer's next item.
ContentItem ReadLexerItem(PdfContentLexer& lexer);

// Empty when both give the same keywords and values (reals to the bit) and fail with the same
// error at the same item; else where and how they part.
std::string CompareContentLexerWithLibrary(const char* data, size_t length);
