// The import's reader of content streams. It gives the same keywords and values, and fails with
// the same errors, as the PDF library's content tokenizer, but reads numbers, operators and names
// itself: the library reads two tokens ahead after every integer and parses every real through a
// string stream, which made it the slowest part of an import. Strings, arrays, dictionaries and
// inline image data are still read by the library's tokenizer, set to the same place.
#pragma once

#include "PdfLibrary.h"

#include <cstddef>
#include <memory>

class PdfContentLexer
{
public:
    PdfContentLexer(const char* data, size_t length);
    ~PdfContentLexer();
    PdfContentLexer(const PdfContentLexer&) = delete;
    PdfContentLexer& operator=(const PdfContentLexer&) = delete;

    // The next keyword or value, as the library's ReadNext gives it; the keyword's bytes (not
    // terminated) stay valid until the next call. False at the end of the stream.
    bool ReadNext(PoDoFo::EPdfContentsType& type, const char*& keyword, size_t& keywordLength,
                  PoDoFo::PdfVariant& value);

private:
    class LibraryTokenizer;
    struct Token {
        size_t begin = 0, end = 0;  // its bytes
        size_t next = 0;            // where reading goes on after it
        bool regular = false;       // no delimiter token
    };

    // The token from `from` on, with the library's rules for whitespace, comments, delimiters
    // and its longest token; false at the end of the stream.
    bool Scan(size_t from, Token& token) const;
    // An integer's value and the library's look for "n g R" after it.
    void ReadInteger(const Token& token, PoDoFo::PdfVariant& value);
    void ReadReal(const Token& token, PoDoFo::PdfVariant& value) const;
    void ReadName(size_t from, PoDoFo::PdfVariant& value);
    // One item read by the library's tokenizer from `from` on.
    bool ReadByLibrary(size_t from, PoDoFo::EPdfContentsType& type, const char*& keyword, size_t& keywordLength,
                       PoDoFo::PdfVariant& value);
    size_t LongestToken() const;

    const char* m_data;
    size_t m_length;
    size_t m_position = 0;
    // The inline image data after "ID" is the library's to read.
    bool m_imageDataNext = false;
    std::unique_ptr<LibraryTokenizer> m_library;
};
