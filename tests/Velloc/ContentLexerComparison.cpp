#include "ContentLexerComparison.h"

#include "CadPdf/PdfContentLexer.h"

#include <cstring>

using namespace PoDoFo;

namespace {

struct Item {
    bool read = false;
    EPdfContentsType type = ePdfContentsType_Keyword;
    std::string keyword;
    PdfVariant value;
    bool failed = false;
    EPdfError error = ePdfError_ErrOk;
};

std::string Describe(const Item& item)
{
    if (item.failed) return std::string("error ") + PdfError::ErrorName(item.error);
    if (!item.read) return "end";
    if (item.type == ePdfContentsType_Keyword) return "keyword '" + item.keyword + "'";
    std::string written;
    item.value.ToString(written);
    return std::string(item.type == ePdfContentsType_ImageData ? "image data " : "value ") + item.value.GetDataTypeString() +
           " " + written;
}

bool SameItem(const Item& a, const Item& b)
{
    if (a.failed || b.failed) return a.failed == b.failed && a.error == b.error;
    if (a.read != b.read) return false;
    if (!a.read) return true;
    if (a.type != b.type) return false;
    if (a.type == ePdfContentsType_Keyword) return a.keyword == b.keyword;
    if (a.value.GetDataType() != b.value.GetDataType()) return false;
    if (a.value.IsReal()) {
        const double x = a.value.GetReal(), y = b.value.GetReal();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    std::string x, y;
    a.value.ToString(x);
    b.value.ToString(y);
    return x == y;
}

}  // namespace

std::string CompareContentLexerWithLibrary(const char* data, size_t length)
{
    PdfContentsTokenizer library(data, static_cast<long>(length));
    PdfContentLexer lexer(data, length);
    for (long index = 0; index < 10000000; ++index) {
        Item expected, actual;
        try {
            const char* keyword = nullptr;
            expected.read = library.ReadNext(expected.type, keyword, expected.value);
            if (expected.read && expected.type == ePdfContentsType_Keyword) expected.keyword = keyword;
        } catch (const PdfError& e) {
            expected.failed = true;
            expected.error = e.GetError();
        }
        try {
            const char* keyword = nullptr;
            size_t keywordLength = 0;
            actual.read = lexer.ReadNext(actual.type, keyword, keywordLength, actual.value);
            if (actual.read && actual.type == ePdfContentsType_Keyword) actual.keyword.assign(keyword, keywordLength);
        } catch (const PdfError& e) {
            actual.failed = true;
            actual.error = e.GetError();
        }
        if (!SameItem(expected, actual))
            return "item " + std::to_string(index) + ": library " + Describe(expected) + ", lexer " + Describe(actual);
        if (expected.failed || !expected.read) return std::string();
    }
    return std::string();
}
