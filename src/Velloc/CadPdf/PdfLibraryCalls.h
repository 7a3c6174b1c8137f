// The one layer through which the export talks to libharu.
//
// libharu reports an error by calling the document's error handler and then carrying on (often
// with a null result) until the caller looks. The handler here only records the first error;
// every call goes through PdfLibraryCalls::Call, which refuses to make a call after an error and
// throws PdfLibraryError from our own frame as soon as one is recorded. So no libharu call is
// made after its first error, and no exception ever unwinds through libharu's C frames.
#pragma once

#include <hpdf.h>

#include <string>
#include <type_traits>

// The first error libharu reported for a document: its error number and detail number.
struct PdfLibraryError {
    HPDF_STATUS errorNumber;
    HPDF_STATUS detailNumber;
};

// Error numbers of our own for failures that libharu does not number.
constexpr HPDF_STATUS kPdfErrorNoDocument = 0x1001;     // HPDF_New failed
constexpr HPDF_STATUS kPdfErrorNullResult = 0x1002;     // a call gave no object and no error
constexpr HPDF_STATUS kPdfErrorWrongState = 0x1003;     // raw write outside the page description
constexpr HPDF_STATUS kPdfErrorFileWrite = 0x1004;      // the file could not be written (detail: Win32 error)

// libharu's error handler: records the first error of the document into its PdfLibraryCalls.
extern "C" void OnPdfWriterError(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber, void* userData);

class PdfLibraryCalls {
public:
    PdfLibraryCalls() = default;
    ~PdfLibraryCalls();
    PdfLibraryCalls(const PdfLibraryCalls&) = delete;
    PdfLibraryCalls& operator=(const PdfLibraryCalls&) = delete;

    // Creates the document with OnPdfWriterError as its handler; false when libharu could not.
    bool CreateDocument();
    // Frees the document (also done by the destructor).
    void FreeDocument();
    HPDF_Doc Document() const { return m_doc; }

    // Calls fn(args...) unless an error is already recorded; throws PdfLibraryError when the call
    // recorded one (through the handler or the document's error state). Pointer results that
    // come back null are an error too.
    template <typename Fn, typename... Args>
    auto Call(Fn fn, Args... args) -> decltype(fn(args...))
    {
        ThrowIfFailed();
        if constexpr (std::is_void<decltype(fn(args...))>::value) {
            fn(args...);
            ThrowIfFailed();
        } else {
            auto result = fn(args...);
            ThrowIfFailed();
            CheckResult(result);
            return result;
        }
    }

    // Records an error of our own and throws it.
    [[noreturn]] void Fail(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber);
    // Throws the recorded error, if any.
    void ThrowIfFailed();
    bool Failed() const { return m_failed; }
    const PdfLibraryError& Error() const { return m_error; }

    // Writes text as it is into the page's content stream; the page must be in its page
    // description state (not inside a path or a text object).
    void WriteRaw(HPDF_Page page, const char* text);

    // Saves the whole document into memory (HPDF_SaveToStream, then the stream's bytes).
    std::string SaveToMemory();

    // Called by the handler.
    void Record(HPDF_STATUS errorNumber, HPDF_STATUS detailNumber);

private:
    template <typename T>
    void CheckResult(T* pointer)
    {
        if (pointer == nullptr) Fail(kPdfErrorNullResult, 0);
    }
    template <typename T>
    void CheckResult(const T&)
    {
    }

    HPDF_Doc m_doc = nullptr;
    bool m_failed = false;
    bool m_readingBack = false;
    PdfLibraryError m_error{0, 0};
};
