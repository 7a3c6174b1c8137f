#include "PdfContentLexer.h"

#include <podofo/base/PdfInputDevice.h>
#include <podofo/base/PdfLocale.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>

using namespace PoDoFo;

namespace {

// The library's token buffer: a longer token is cut into pieces of one byte less.
const size_t kLibraryTokenBuffer = 4096;

bool IsWhitespace(char c) { return PdfTokenizer::IsWhitespace(static_cast<unsigned char>(c)); }
bool IsDelimiter(char c) { return PdfTokenizer::IsDelimiter(static_cast<unsigned char>(c)); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
const double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool StartsWith(const char* p, size_t length, const char* word)
{
    const size_t n = std::strlen(word);
    return length >= n && std::memcmp(p, word, n) == 0;
}

}  // namespace

// The library's content tokenizer, set to a place of the same bytes for one item at a time.
class PdfContentLexer::LibraryTokenizer : public PdfContentsTokenizer
{
public:
    LibraryTokenizer(const char* data, size_t length) : PdfContentsTokenizer(data, static_cast<long>(length)) {}

    void SeekTo(size_t position) { m_device.Device()->Seek(static_cast<std::streamoff>(position)); }
    // Where the last read stopped; the end once it met the end of the bytes.
    size_t Position(size_t length) const
    {
        const std::streamoff at = m_device.Device()->Tell();
        return at < 0 || static_cast<size_t>(at) > length ? length : static_cast<size_t>(at);
    }
    size_t BufferSize() const { return m_buffer.GetSize(); }
};

PdfContentLexer::PdfContentLexer(const char* data, size_t length) : m_data(data), m_length(data ? length : 0) {}

PdfContentLexer::~PdfContentLexer() = default;

size_t PdfContentLexer::LongestToken() const
{
    // Inline image data makes the library's buffer larger, and its tokens longer after it.
    return (m_library ? m_library->BufferSize() : kLibraryTokenBuffer) - 1;
}

bool PdfContentLexer::Scan(size_t from, Token& token) const
{
    size_t i = from;
    while (i < m_length) {
        const char c = m_data[i];
        if (IsWhitespace(c)) {
            ++i;
        } else if (c == '%') {
            // A comment runs to the end of its line; CR LF ends it as one line break.
            while (i < m_length && m_data[i] != '\r' && m_data[i] != '\n') ++i;
            if (i < m_length) {
                if (m_data[i] == '\r' && i + 1 < m_length && m_data[i + 1] == '\n') ++i;
                ++i;
            }
        } else {
            break;
        }
    }
    if (i >= m_length) return false;
    token.begin = i;
    const char c = m_data[i];
    if (c == '<' || c == '>') {
        ++i;
        if (i < m_length && m_data[i] == c) ++i;
        token.regular = false;
    } else if (IsDelimiter(c)) {
        ++i;
        token.regular = false;
    } else {
        const size_t longest = LongestToken();
        while (i < m_length && i - token.begin < longest && !IsWhitespace(m_data[i]) && !IsDelimiter(m_data[i])) ++i;
        token.regular = true;
    }
    token.end = token.next = i;
    return true;
}

bool PdfContentLexer::ReadNext(EPdfContentsType& type, const char*& keyword, size_t& keywordLength, PdfVariant& value)
{
    if (m_imageDataNext) {
        m_imageDataNext = false;
        return ReadByLibrary(SIZE_MAX, type, keyword, keywordLength, value);
    }
    Token token;
    if (!Scan(m_position, token)) {
        m_position = m_length;
        return false;
    }
    if (!token.regular) {
        if (m_data[token.begin] == '/') {
            type = ePdfContentsType_Variant;
            ReadName(token.next, value);
            return true;
        }
        return ReadByLibrary(token.begin, type, keyword, keywordLength, value);
    }
    m_position = token.next;
    const char* p = m_data + token.begin;
    const size_t length = token.end - token.begin;
    type = ePdfContentsType_Variant;
    // The library takes any token beginning with these words for the value.
    if (StartsWith(p, length, "null")) {
        value = PdfVariant();
        return true;
    }
    if (StartsWith(p, length, "true")) {
        value = PdfVariant(true);
        return true;
    }
    if (StartsWith(p, length, "false")) {
        value = PdfVariant(false);
        return true;
    }
    bool number = true, real = false;
    for (size_t i = 0; i < length && number; ++i) {
        if (p[i] == '.') real = true;
        else if (!IsDigit(p[i]) && p[i] != '-' && p[i] != '+') number = false;
    }
    if (number && real) {
        ReadReal(token, value);
        return true;
    }
    if (number) {
        ReadInteger(token, value);
        return true;
    }
    if (length == 2 && p[0] == 'I' && p[1] == 'D')
        return ReadByLibrary(token.begin, type, keyword, keywordLength, value);
    type = ePdfContentsType_Keyword;
    keyword = p;
    keywordLength = length;
    return true;
}

void PdfContentLexer::ReadInteger(const Token& token, PdfVariant& value)
{
    // As strtol reads it: one sign, the digits up to anything else, the long's limits at
    // overflow, 0 without digits.
    size_t i = token.begin;
    bool negative = false;
    if (m_data[i] == '+' || m_data[i] == '-') negative = m_data[i++] == '-';
    const unsigned long long limit = negative ? 0ull - static_cast<unsigned long long>(std::numeric_limits<long>::min())
                                              : static_cast<unsigned long long>(std::numeric_limits<long>::max());
    unsigned long long magnitude = 0;
    bool overflow = false;
    for (; i < token.end && IsDigit(m_data[i]); ++i) {
        if (overflow) continue;
        magnitude = magnitude * 10 + static_cast<unsigned>(m_data[i] - '0');
        if (magnitude > limit) overflow = true;
    }
    long number;
    if (overflow) number = negative ? std::numeric_limits<long>::min() : std::numeric_limits<long>::max();
    else number = negative ? static_cast<long>(0ull - magnitude) : static_cast<long>(magnitude);
    value = PdfVariant(static_cast<pdf_int64>(number));

    // The library reads two tokens ahead for "n g R", a reference, which a content stream may
    // not hold. When the stream ends after a second integer, that integer is lost.
    Token second;
    if (!Scan(token.next, second) || !second.regular) return;
    size_t j = second.begin;
    while (j < second.end && m_data[j] == '\v') ++j;  // strtol skips it as a space
    if (j < second.end && (m_data[j] == '+' || m_data[j] == '-')) ++j;
    if (j >= second.end || !IsDigit(m_data[j])) return;
    Token third;
    if (!Scan(second.next, third)) {
        m_position = m_length;
        return;
    }
    if (third.regular && third.end - third.begin == 1 && m_data[third.begin] == 'R')
        PODOFO_RAISE_ERROR_INFO(ePdfError_InvalidDataType, "references are invalid in content streams");
}

void PdfContentLexer::ReadReal(const Token& token, PdfVariant& value) const
{
    // A plain decimal of at most 15 significant digits is its digits over a power of ten, both
    // exact in a double, so the one division rounds it as the library's stream parser does.
    size_t i = token.begin;
    bool negative = false;
    if (m_data[i] == '+' || m_data[i] == '-') negative = m_data[i++] == '-';
    uint64_t digits = 0;
    int significant = 0, decimals = 0;
    bool point = false, anyDigit = false, plain = true;
    for (; i < token.end && plain; ++i) {
        const char c = m_data[i];
        if (c == '.') {
            plain = !point;
            point = true;
            continue;
        }
        if (!IsDigit(c)) {
            plain = false;
            break;
        }
        anyDigit = true;
        if (point) ++decimals;
        if (digits == 0 && c == '0') continue;
        if (++significant > 15) plain = false;
        digits = digits * 10 + static_cast<unsigned>(c - '0');
    }
    if (plain && anyDigit && decimals <= 22) {
        const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
        value = PdfVariant(negative ? -magnitude : magnitude);
        return;
    }
    // Anything else ("1.2.3", "-.", very long digits) as the library reads it.
    const std::string text(m_data + token.begin, token.end - token.begin);
    std::istringstream parser;
    PdfLocaleImbue(parser);
    parser.str(text);
    double number;
    if (!(parser >> number)) PODOFO_RAISE_ERROR_INFO(ePdfError_InvalidDataType, text.c_str());
    value = PdfVariant(number);
}

void PdfContentLexer::ReadName(size_t from, PdfVariant& value)
{
    // A name is the regular token after "/"; whitespace or a delimiter there make an empty name
    // (the delimiter is read again as the next token).
    m_position = from;
    Token token;
    if (from < m_length && IsWhitespace(m_data[from])) {
        value = PdfName();
        return;
    }
    if (!Scan(from, token)) {
        m_position = m_length;
        value = PdfName();
        return;
    }
    if (!token.regular) {
        value = PdfName();
        return;
    }
    m_position = token.next;
    value = PdfName::FromEscaped(std::string(m_data + token.begin, token.end - token.begin));
}

bool PdfContentLexer::ReadByLibrary(size_t from, EPdfContentsType& type, const char*& keyword, size_t& keywordLength,
                                    PdfVariant& value)
{
    if (!m_library) m_library.reset(new LibraryTokenizer(m_data, m_length));
    if (from != SIZE_MAX) m_library->SeekTo(from);
    const char* libraryKeyword = nullptr;
    const bool read = m_library->ReadNext(type, libraryKeyword, value);
    m_position = read ? m_library->Position(m_length) : m_length;
    if (read && type == ePdfContentsType_Keyword) {
        keyword = libraryKeyword;
        keywordLength = std::strlen(libraryKeyword);
        if (std::strcmp(libraryKeyword, "ID") == 0) m_imageDataNext = true;
    }
    return read;
}
