#include "ContentLexerComparison.h"

#include "CadPdf/PdfContentLexer.h"

#include <cstring>

using namespace PoDoFo;

namespace {

std::string Describe(const ContentItem& item)
{
    if (item.failed) return std::string("error ") + PdfError::ErrorName(item.error);
    if (!item.read) return "end";
    if (item.type == ePdfContentsType_Keyword) return "keyword '" + item.keyword + "'";
    std::string written;
    item.value.ToString(written);
    return std::string(item.type == ePdfContentsType_ImageData ? "image data " : "value ") + item.value.GetDataTypeString() +
           " " + written;
}

bool SameItem(const ContentItem& a, const ContentItem& b)
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

ContentItem ReadLexerItem(PdfContentLexer& lexer)
{
    ContentItem item;
    try {
        const char* keyword = nullptr;
        size_t keywordLength = 0;
        item.read = lexer.ReadNext(item.type, keyword, keywordLength, item.value);
        if (item.read && item.type == ePdfContentsType_Keyword) item.keyword.assign(keyword, keywordLength);
    } catch (const PdfError& e) {
        item.failed = true;
        item.error = e.GetError();
    }
    return item;
}

std::string CompareContentLexerWithLibrary(const char* data, size_t length)
{
    PdfContentsTokenizer library(data, static_cast<long>(length));
    PdfContentLexer lexer(data, length);
    for (long index = 0; index < 10000000; ++index) {
        ContentItem expected;
        try {
            const char* keyword = nullptr;
            expected.read = library.ReadNext(expected.type, keyword, expected.value);
            if (expected.read && expected.type == ePdfContentsType_Keyword) expected.keyword = keyword;
        } catch (const PdfError& e) {
            expected.failed = true;
            expected.error = e.GetError();
        }
        const ContentItem actual = ReadLexerItem(lexer);
        if (!SameItem(expected, actual))
            return "item " + std::to_string(index) + ": library " + Describe(expected) + ", lexer " + Describe(actual);
        if (expected.failed || !expected.read) return std::string();
    }
    return std::string();
}
