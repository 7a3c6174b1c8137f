#include "CadPdfFont.h"

#include "PdfImportServices.h"
#include "PdfLibrary.h"
#include "PdfTextState.h"

#include <algorithm>
#include <cctype>
#include <cmath>

using namespace PoDoFo;

namespace {

bool ContainsNoCase(const std::string& text, const char* part)
{
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find(part) != std::string::npos;
}

// Largest /Widths array read (a simple font has at most 256 codes).
const size_t kMaxSimpleWidths = 65536;

void ReadFontMatrix(const PdfObject* value, const PdfVecObjects* objects, CadPdfFont& font)
{
    value = PdfResolve(value, objects);
    if (value == nullptr || !value->IsArray()) return;
    double slots[6] = {0, 0, 0, 0, 0, 0};
    int taken = 0;
    for (const PdfObject& element : value->GetArray()) {
        if (taken == 6) break;
        double v;
        if (PdfNumberOf(element, v)) slots[taken++] = v;
    }
    std::copy(slots, slots + 6, font.fontMatrix);
}

// Type3 glyph procedures are read (decoded and tokenized) but nothing of them is kept: the
// drawing has no glyph shapes.
void ReadCharProcs(const PdfObject* value, const PdfVecObjects* objects)
{
    value = PdfResolve(value, objects);
    if (value == nullptr || !value->IsDictionary()) return;
    for (const auto& item : value->GetDictionary().GetKeys()) {
        const PdfObject* proc = PdfResolve(item.second, objects);
        std::string bytes;
        if (!PdfDecodedStream(proc, bytes, kMaxDecodedStreamBytes) || bytes.empty()) continue;
        PdfContentsTokenizer tokenizer(bytes.data(), static_cast<long>(bytes.size()));
        EPdfContentsType type;
        const char* keyword = nullptr;
        PdfVariant operand;
        while (tokenizer.ReadNext(type, keyword, operand)) {
        }
    }
}

struct DescendantInfo
{
    bool cffBased = false;
    bool hasCidSet = false;
    std::string collection;
};

// /W: "c [w1 w2 ...]" gives widths from CID c on; "first last w" one width for a range.
void ReadCidWidths(const PdfObject* value, const PdfVecObjects* objects, CidWidthTable& widths)
{
    value = PdfResolve(value, objects);
    if (value == nullptr || !value->IsArray()) return;
    int counter = 0;
    double first = 0, last = 0;
    for (const PdfObject& raw : value->GetArray()) {
        const PdfObject* element = PdfResolve(&raw, objects);
        if (element == nullptr) continue;
        double v;
        if (PdfNumberOf(*element, v)) {
            if (counter == 0) { first = v; counter = 1; }
            else if (counter == 1) { last = v; counter = 2; }
            else {
                if (first >= 0 && last >= first && last < 4294967295.0)
                    widths.AddRange(static_cast<uint32_t>(first), static_cast<uint32_t>(last),
                                    static_cast<int>(std::lround(v)));
                counter = 0;
            }
        } else if (element->IsArray() && counter == 1) {
            uint32_t k = 0;
            for (const PdfObject& w : element->GetArray()) {
                double width;
                if (PdfNumberOf(w, width) && first >= 0 && first < 4294967295.0)
                    widths.AddCidWidth(static_cast<uint32_t>(first) + k, static_cast<int>(std::lround(width)));
                ++k;
            }
            counter = 0;
        }
    }
}

void ReadDescendantFont(CadPdfFont& font, const PdfObject* cidFont, const PdfVecObjects* objects,
                        CidWidthTable& widths, DescendantInfo& info)
{
    if (cidFont == nullptr || !cidFont->IsDictionary()) return;
    for (const auto& item : cidFont->GetDictionary().GetKeys()) {
        const std::string& key = item.first.GetName();
        const PdfObject* value = PdfResolve(item.second, objects);
        if (value == nullptr) continue;
        if (key == "DW") {
            double dw;
            if (PdfNumberOf(*value, dw)) widths.defaultWidth = static_cast<int>(std::lround(dw));
        } else if (key == "W") {
            ReadCidWidths(value, objects, widths);
        } else if (key == "Subtype") {
            if (value->IsName() && value->GetName().GetName() == "CIDFontType0" && font.encodingName.empty())
                info.cffBased = true;
        } else if (key == "CIDSystemInfo" && value->IsDictionary()) {
            const PdfObject* registry = PdfDictionaryValue(value, "Registry", objects);
            const PdfObject* ordering = PdfDictionaryValue(value, "Ordering", objects);
            const PdfObject* supplement = PdfDictionaryValue(value, "Supplement", objects);
            if (registry && ordering && registry->IsString() && ordering->IsString()) {
                const long s = (supplement && supplement->IsNumber()) ? static_cast<long>(supplement->GetNumber()) : 0;
                info.collection = PdfStringBytes(registry->GetString()) + "-" +
                                  PdfStringBytes(ordering->GetString()) + "-" + std::to_string(s);
            }
        } else if (key == "FontDescriptor" && value->IsDictionary()) {
            if (value->GetDictionary().HasKey(PdfName("CIDSet"))) info.hasCidSet = true;
        }
    }
}

}  // namespace

int AttachCMap(CadPdfFont& font, const std::string& name, PdfImportServices& services)
{
    if (font.cmapEncoding) return 0;
    font.cmapEncoding = std::make_shared<PdfCMapEncodingEx>(name, *services.dataFiles);
    return 0;
}

int LoadFont(const std::string& resourceName, const PdfObject* fontObject, const PdfVecObjects* objects,
             PdfTextState& textState, PdfImportServices& services)
{
    fontObject = PdfResolve(fontObject, objects);
    if (fontObject == nullptr || !fontObject->IsDictionary()) return -1;
    CadPdfFont font;
    font.resourceName = resourceName;
    CidWidthTable widths;
    // The library keeps keys in ascending byte order: /DescendantFonts comes before /Encoding,
    // so a CMap chosen for a descendant CIDFont makes the later /Encoding pass over.
    for (const auto& item : fontObject->GetDictionary().GetKeys()) {
        const std::string& key = item.first.GetName();
        const PdfObject* value = PdfResolve(item.second, objects);
        if (value == nullptr) continue;
        if (key == "BaseFont") {
            font.baseFont = value->IsName() ? value->GetName().GetName() : std::string();
        } else if (key == "CharProcs") {
            ReadCharProcs(value, objects);
        } else if (key == "DescendantFonts" && value->IsArray()) {
            for (const PdfObject& element : value->GetArray()) {
                if (!element.IsReference()) continue;
                DescendantInfo info;
                ReadDescendantFont(font, PdfResolve(&element, objects), objects, widths, info);
                if (!(info.cffBased && info.hasCidSet)) continue;
                std::string name = info.collection;
                if (name.empty() || !services.dataFiles->FileExists(GetCMapFilePath(*services.dataFiles, name))) {
                    // Without the collection's CMap the codes are read as CIDs of the collection
                    // straight through the CID-to-Unicode table.
                    name = "Identity-H";
                }
                font.encodingName = name;
                AttachCMap(font, name, services);
            }
        } else if (key == "Encoding") {
            if (!value->IsName() || !font.encodingName.empty()) continue;
            font.encodingName = value->GetName().GetName();
            // Shift-JIS CMaps need no decoder: their codes are the drawing's bytes already.
            if (!ContainsNoCase(font.encodingName, "SJ")) AttachCMap(font, font.encodingName, services);
        } else if (key == "FirstChar") {
            font.firstChar = value->IsNumber() ? static_cast<int>(value->GetNumber()) : 0;
        } else if (key == "LastChar") {
            font.lastChar = value->IsNumber() ? static_cast<int>(value->GetNumber()) : 0;
        } else if (key == "FontMatrix") {
            ReadFontMatrix(value, objects, font);
        } else if (key == "Subtype") {
            if (value->IsName()) font.subtype = value->GetName().GetName();
        } else if (key == "ToUnicode") {
            std::string bytes;
            if (PdfDecodedStream(value, bytes, kMaxDecodedStreamBytes) && !bytes.empty())
                font.toUnicode = std::make_shared<PdfUnicodeMapEncoding>(bytes.data(), bytes.size());
        } else if (key == "Widths" && value->IsArray()) {
            font.widths.clear();
            for (const PdfObject& element : value->GetArray()) {
                if (font.widths.size() >= kMaxSimpleWidths) break;
                const PdfObject* w = PdfResolve(&element, objects);
                double width = 0;
                if (w != nullptr) PdfNumberOf(*w, width);
                font.widths.push_back(width);
            }
        }
    }
    if (font.cmapEncoding) font.cmapEncoding->widths = widths;
    if (font.baseFont.empty()) font.baseFont = "MS Gothic";
    textState.fonts.push_back(font);
    return 0;
}

void ToCadFontName(std::string& name, PdfImportServices& services)
{
    const size_t plus = name.find('+');
    if (plus != std::string::npos) name.erase(0, plus + 1);
    std::string cadName;
    if (services.textMeasure->MapToCadFont(name, cadName)) name = cadName;
    else name = "ＭＳ ゴシック";
}

bool MaxGlyphWidth(const CadPdfFont& font, const std::string& shown, double& width)
{
    const long count = static_cast<long>(font.lastChar) - font.firstChar + 1;
    if (font.widths.empty() || count != static_cast<long>(font.widths.size())) return false;
    width = 0;
    for (unsigned char byte : shown) {
        const long index = static_cast<long>(byte) - font.firstChar;
        const double w = (index >= 0 && index < count) ? font.widths[static_cast<size_t>(index)] : 0;
        if (w > width) width = w;
    }
    return true;
}

namespace {

std::string ToDrawingText(const std::u16string& utf16, PdfImportServices& services)
{
    std::string text = services.codePage->FromUtf16(utf16);
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);
    return text;
}

std::string UpToZero(const std::string& bytes)
{
    const size_t zero = bytes.find('\0');
    return zero == std::string::npos ? bytes : bytes.substr(0, zero);
}

}  // namespace

int DecodeShownString(PdfTextState& textState, const CadPdfFont* font, std::string& text,
                      const PdfVariant& shown, PdfImportServices& services)
{
    if (font == nullptr || !(shown.IsString() || shown.IsHexString())) return -1;
    const PdfString& s = shown.GetString();
    if (s.IsUnicode()) {
        // A text string with its byte-order mark: already Unicode.
        std::u16string utf16;
        const std::string raw(s.GetString(), static_cast<size_t>(s.GetLength()));
        for (size_t i = 0; i + 1 < raw.size(); i += 2)
            utf16.push_back(static_cast<char16_t>((static_cast<unsigned char>(raw[i]) << 8) |
                                                  static_cast<unsigned char>(raw[i + 1])));
        text = ToDrawingText(utf16, services);
        return 0;
    }
    const std::string bytes = PdfStringBytes(s);

    textState.widthMode = 0;
    double width = 0;
    if (MaxGlyphWidth(*font, bytes, width)) {
        textState.glyphWidth = font->fontMatrix[0] * width;
        textState.widthMode = (font->subtype == "Type3") ? 2 : (font->subtype == "TrueType") ? 0 : 1;
    }

    // A ToUnicode map has the last word; it maps the shown codes themselves.
    if (font->toUnicode) {
        std::u16string utf16;
        std::string sjis;
        bool isSjis = false;
        if (font->toUnicode->DecodeString(bytes, utf16, sjis, isSjis)) {
            text = isSjis ? UpToZero(sjis) : ToDrawingText(utf16, services);
            // The CMap still gives the width figures of its CIDs.
            if (font->cmapEncoding) {
                std::u16string ignored;
                font->cmapEncoding->DecodeToUnicode(bytes, ignored);
            }
            return 0;
        }
    }
    if (font->cmapEncoding) {
        std::u16string utf16;
        if (font->cmapEncoding->DecodeToUnicode(bytes, utf16)) {
            text = ToDrawingText(utf16, services);
            return 0;
        }
        return -1;
    }
    text = UpToZero(bytes);
    return 0;
}
