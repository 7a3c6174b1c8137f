#include "PdfLibrary.h"

#include <podofo/base/PdfOutputStream.h>

using namespace PoDoFo;

std::string PdfStringBytes(const PdfString& s)
{
    if (!s.IsValid()) return std::string();
    std::string bytes;
    if (s.IsUnicode()) bytes.assign("\xFE\xFF", 2);
    bytes.append(s.GetString(), static_cast<size_t>(s.GetLength()));
    return bytes;
}

bool PdfNumberOf(const PdfVariant& value, double& number)
{
    if (value.IsNumber()) {
        number = static_cast<double>(value.GetNumber());
        return true;
    }
    if (value.IsReal()) {
        number = value.GetReal();
        return true;
    }
    return false;
}

std::string PdfErrorText(const PdfError& error)
{
    const char* message = PdfError::ErrorMessage(error.GetError());
    const char* name = PdfError::ErrorName(error.GetError());
    std::string text = message ? message : "";
    text += " ";
    text += name ? name : "";
    return text;
}

const PdfObject* PdfResolve(const PdfObject* value, const PdfVecObjects* objects)
{
    for (int hops = 0; value != nullptr && value->IsReference(); ++hops) {
        if (objects == nullptr || hops >= 8) return nullptr;
        value = objects->GetObject(value->GetReference());
    }
    if (value != nullptr && value->IsNull()) return nullptr;
    return value;
}

const PdfObject* PdfDictionaryValue(const PdfObject* dictionary, const char* key, const PdfVecObjects* objects)
{
    dictionary = PdfResolve(dictionary, objects);
    if (dictionary == nullptr || !dictionary->IsDictionary()) return nullptr;
    return PdfResolve(dictionary->GetDictionary().GetKey(PdfName(key)), objects);
}

namespace {

// Collects decoded bytes and refuses to grow past its bound.
class BoundedOutputStream : public PdfOutputStream
{
public:
    BoundedOutputStream(std::string& bytes, size_t maxBytes) : m_bytes(bytes), m_max(maxBytes) {}
    pdf_long Write(const char* buffer, pdf_long length) override
    {
        if (length < 0 || m_bytes.size() + static_cast<size_t>(length) > m_max)
            PODOFO_RAISE_ERROR(ePdfError_OutOfMemory);
        m_bytes.append(buffer, static_cast<size_t>(length));
        return length;
    }
    void Close() override {}

private:
    std::string& m_bytes;
    size_t m_max;
};

}  // namespace

bool PdfDecodedStream(const PdfObject* object, std::string& bytes, size_t maxBytes)
{
    bytes.clear();
    if (object == nullptr || !object->HasStream()) return false;
    try {
        BoundedOutputStream out(bytes, maxBytes);
        object->GetStream()->GetFilteredCopy(&out);
        return true;
    } catch (const PdfError&) {
        bytes.clear();
        return false;
    }
}
