#include "CadPdf/PdfLibraryCalls.h"

#include <vector>

extern "C" void OnPdfWriterError(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber, void* userData)
{
    // Only record: throwing here would unwind through libharu's C frames.
    if (userData != nullptr) static_cast<PdfLibraryCalls*>(userData)->Record(errorNumber, detailNumber);
}

PdfLibraryCalls::~PdfLibraryCalls() { FreeDocument(); }

bool PdfLibraryCalls::CreateDocument()
{
    FreeDocument();
    m_failed = false;
    m_error = {0, 0};
    m_doc = HPDF_New(OnPdfWriterError, this);
    return m_doc != nullptr;
}

void PdfLibraryCalls::FreeDocument()
{
    if (m_doc != nullptr) HPDF_Free(m_doc);
    m_doc = nullptr;
}

void PdfLibraryCalls::Record(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber)
{
    // Reading the saved document back reports its end as an error; it is the normal end.
    if (m_readingBack && errorNumber == HPDF_STREAM_EOF) return;
    if (m_failed) return;
    m_failed = true;
    m_error = {errorNumber, detailNumber};
}

void PdfLibraryCalls::Fail(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber)
{
    Record(errorNumber, detailNumber);
    throw m_error;
}

void PdfLibraryCalls::ThrowIfFailed()
{
    if (!m_failed && m_doc == nullptr) Record(kPdfErrorNoDocument, 0);
    // Internal calls set the document's error without calling the handler.
    if (!m_failed && HPDF_GetError(m_doc) != HPDF_OK)
        Record(HPDF_GetError(m_doc), HPDF_GetErrorDetail(m_doc));
    if (m_failed) throw m_error;
}

void PdfLibraryCalls::WriteRaw(HPDF_Page page, const char* text)
{
    ThrowIfFailed();
    if (page == nullptr || page->attr == nullptr) Fail(kPdfErrorNullResult, 0);
    auto* attr = static_cast<HPDF_PageAttr>(page->attr);
    if (attr->gmode != HPDF_GMODE_PAGE_DESCRIPTION) Fail(kPdfErrorWrongState, attr->gmode);
    Call(HPDF_Stream_WriteStr, attr->stream, text);
}

std::string PdfLibraryCalls::SaveToMemory()
{
    Call(HPDF_SaveToStream, m_doc);
    const HPDF_UINT32 size = Call(HPDF_GetStreamSize, m_doc);
    std::string bytes(size, '\0');
    HPDF_UINT32 done = 0;
    HPDF_STATUS status = HPDF_OK;
    m_readingBack = true;
    while (done < size && status == HPDF_OK) {
        HPDF_UINT32 chunk = size - done;
        status = HPDF_ReadFromStream(m_doc, reinterpret_cast<HPDF_BYTE*>(&bytes[done]), &chunk);
        done += chunk;
        if (chunk == 0) break;
    }
    m_readingBack = false;
    // The end-of-stream mark stays in the document's error state; it is not a failure.
    if (status == HPDF_STREAM_EOF || HPDF_GetError(m_doc) == HPDF_STREAM_EOF) HPDF_ResetError(m_doc);
    else if (status != HPDF_OK) Fail(status, HPDF_GetErrorDetail(m_doc));
    if (done != size) Fail(kPdfErrorNullResult, done);
    ThrowIfFailed();
    return bytes;
}
