// Small PDF files made with PoDoFo at test time: one or more pages with content streams and
// the resources (fonts, XObjects, properties) a test names.
#pragma once

#include <podofo/base/PdfDictionary.h>
#include <podofo/base/PdfObject.h>
#include <podofo/doc/PdfMemDocument.h>
#include <podofo/doc/PdfPage.h>

#include <string>

class PdfFixture
{
public:
    // The first page with a media box of that size and origin.
    explicit PdfFixture(double width = 595, double height = 842, double left = 0, double bottom = 0);

    PoDoFo::PdfPage* AddPage(double width, double height, double left = 0, double bottom = 0);
    // The content stream of a page (compressed by the library).
    void SetContent(const std::string& content, int page = 0);
    // A new indirect object (a dictionary unless a value is given).
    PoDoFo::PdfObject* AddObject();
    PoDoFo::PdfObject* AddObject(const PoDoFo::PdfVariant& value);
    // A new stream object with that data and the dictionary entries set later by the caller.
    PoDoFo::PdfObject* AddStream(const std::string& data);
    // /Resources /category /name of a page: a reference to the object.
    void AddResource(const char* category, const char* name, const PoDoFo::PdfObject* object, int page = 0);
    // A key of the page dictionary (/Rotate ...).
    void SetPageKey(const char* key, const PoDoFo::PdfObject& value, int page = 0);

    // A simple font: /Type /Font /Subtype subtype /BaseFont baseFont (none when empty).
    PoDoFo::PdfObject* AddSimpleFont(const char* subtype, const char* baseFont);
    // A Type0 font with /Encoding encoding and a descendant CIDFont of that subtype.
    PoDoFo::PdfObject* AddType0Font(const char* baseFont, const char* encoding,
                                    const char* descendantSubtype = "CIDFontType2");
    // An optional content group with a /Name given as bytes or as a UTF-16 text string.
    PoDoFo::PdfObject* AddOcg(const std::string& nameBytes);
    // A Form XObject with that content.
    PoDoFo::PdfObject* AddForm(const std::string& content);

    std::string Bytes();

    PoDoFo::PdfMemDocument document;
};

// A PDF text string: UTF-16BE with its byte-order mark.
std::string Utf16TextString(const std::u16string& text);
