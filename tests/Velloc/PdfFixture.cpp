#include "GTest.h"

#include "PdfFixture.h"

#include <podofo/base/PdfArray.h>
#include <podofo/base/PdfOutputDevice.h>
#include <podofo/base/PdfRefCountedBuffer.h>
#include <podofo/base/PdfStream.h>

using namespace PoDoFo;

PdfFixture::PdfFixture(double width, double height, double left, double bottom)
{
    AddPage(width, height, left, bottom);
}

PdfPage* PdfFixture::AddPage(double width, double height, double left, double bottom)
{
    return document.CreatePage(PdfRect(left, bottom, width, height));
}

void PdfFixture::SetContent(const std::string& content, int page)
{
    PdfObject* stream = AddStream(content);
    document.GetPage(page)->GetObject()->GetDictionary().AddKey(PdfName("Contents"), stream->Reference());
}

PdfObject* PdfFixture::AddObject() { return document.GetObjects().CreateObject(); }

PdfObject* PdfFixture::AddObject(const PdfVariant& value) { return document.GetObjects().CreateObject(value); }

PdfObject* PdfFixture::AddStream(const std::string& data)
{
    PdfObject* object = AddObject();
    object->GetStream()->Set(data.data(), static_cast<pdf_long>(data.size()));
    return object;
}

void PdfFixture::AddResource(const char* category, const char* name, const PdfObject* object, int page)
{
    PdfObject* pageObject = document.GetPage(page)->GetObject();
    PdfDictionary& pageDict = pageObject->GetDictionary();
    if (!pageDict.HasKey(PdfName("Resources"))) pageDict.AddKey(PdfName("Resources"), PdfDictionary());
    PdfObject* resources = pageDict.GetKey(PdfName("Resources"));
    if (resources->IsReference()) resources = document.GetObjects().GetObject(resources->GetReference());
    PdfDictionary& res = resources->GetDictionary();
    if (!res.HasKey(PdfName(category))) res.AddKey(PdfName(category), PdfDictionary());
    res.GetKey(PdfName(category))->GetDictionary().AddKey(PdfName(name), object->Reference());
}

void PdfFixture::SetPageKey(const char* key, const PdfObject& value, int page)
{
    document.GetPage(page)->GetObject()->GetDictionary().AddKey(PdfName(key), value);
}

PdfObject* PdfFixture::AddSimpleFont(const char* subtype, const char* baseFont)
{
    PdfObject* font = AddObject();
    PdfDictionary& d = font->GetDictionary();
    d.AddKey(PdfName("Type"), PdfName("Font"));
    d.AddKey(PdfName("Subtype"), PdfName(subtype));
    if (baseFont && *baseFont) d.AddKey(PdfName("BaseFont"), PdfName(baseFont));
    return font;
}

PdfObject* PdfFixture::AddType0Font(const char* baseFont, const char* encoding, const char* descendantSubtype)
{
    PdfObject* cidFont = AddObject();
    PdfDictionary& c = cidFont->GetDictionary();
    c.AddKey(PdfName("Type"), PdfName("Font"));
    c.AddKey(PdfName("Subtype"), PdfName(descendantSubtype));
    c.AddKey(PdfName("BaseFont"), PdfName(baseFont));
    PdfObject* font = AddSimpleFont("Type0", baseFont);
    font->GetDictionary().AddKey(PdfName("Encoding"), PdfName(encoding));
    PdfArray descendants;
    descendants.push_back(cidFont->Reference());
    font->GetDictionary().AddKey(PdfName("DescendantFonts"), descendants);
    return font;
}

PdfObject* PdfFixture::AddOcg(const std::string& nameBytes)
{
    PdfObject* ocg = AddObject();
    ocg->GetDictionary().AddKey(PdfName("Type"), PdfName("OCG"));
    ocg->GetDictionary().AddKey(PdfName("Name"), PdfString(nameBytes.data(), static_cast<pdf_long>(nameBytes.size()), true));
    return ocg;
}

PdfObject* PdfFixture::AddForm(const std::string& content)
{
    PdfObject* form = AddStream(content);
    form->GetDictionary().AddKey(PdfName("Type"), PdfName("XObject"));
    form->GetDictionary().AddKey(PdfName("Subtype"), PdfName("Form"));
    PdfArray box;
    for (int v : {0, 0, 1000, 1000}) box.push_back(PdfObject(static_cast<pdf_int64>(v)));
    form->GetDictionary().AddKey(PdfName("BBox"), box);
    return form;
}

std::string PdfFixture::Bytes()
{
    PdfRefCountedBuffer buffer;
    PdfOutputDevice device(&buffer);
    document.Write(&device);
    return std::string(buffer.GetBuffer(), device.GetLength());
}

std::string Utf16TextString(const std::u16string& text)
{
    std::string bytes("\xFE\xFF", 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}
