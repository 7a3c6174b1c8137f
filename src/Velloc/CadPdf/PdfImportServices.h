// What the PDF reading core needs of its surroundings, as small interfaces. The core itself
// calls neither the window system nor the engine, so it builds and runs natively (fuzzing) as
// well as inside the plug-in, where PdfImportHost answers these from Win32 and the host library.
#pragma once

#include <string>

// Code page 932: every PDF text ends as Shift-JIS text in the drawing.
class IPdfCodePage
{
public:
    virtual ~IPdfCodePage() = default;
    // UTF-16 (host order) to Shift-JIS; characters without a Shift-JIS form become "?".
    virtual std::string FromUtf16(const std::u16string& text) = 0;
};

// Values of the import settings file "PdfIn.ini" (section "SYSTEM").
class IPdfImportSettings
{
public:
    virtual ~IPdfImportSettings() = default;
    // The key's text, or defaultValue when the file or the key is missing.
    virtual std::string ReadSystemValue(const char* key, const char* defaultValue) = 0;
};

// Drawing fonts: the import font exchange table and the measures of a face.
class IPdfTextMeasure
{
public:
    virtual ~IPdfTextMeasure() = default;
    // Drawing font for a PDF font name; false when the table has none (cadName untouched).
    virtual bool MapToCadFont(const std::string& pdfName, std::string& cadName) = 0;
    // The exchange table's "MoveDescent" switch.
    virtual bool MoveDescent() = 0;
    // Width and height of text at height 1000 in the face; false when it cannot be measured.
    virtual bool MeasureTextExtent(const std::string& face, const std::string& text,
                                   double& width, double& height) = 0;
    // Descent share of the height of the face; false when there is none.
    virtual bool FontDescentRatio(const std::string& face, double& ratio) = 0;
};

// The data folder beside the plug-in ("VellocData\Pdf\...") and the files of the import.
class IPdfDataFiles
{
public:
    virtual ~IPdfDataFiles() = default;
    // Full path of a file given relative to the plug-in's folder.
    virtual std::string DataPath(const std::string& relative) = 0;
    // The whole file; false when it cannot be read (or is larger than maxBytes).
    virtual bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) = 0;
    virtual bool FileExists(const std::string& path) = 0;
};

// Message boxes of the import (errors of the PDF library, warnings).
class IPdfMessages
{
public:
    enum Kind { Error, Warning, Information };
    virtual ~IPdfMessages() = default;
    virtual void Show(const std::string& text, const std::string& caption, Kind kind) = 0;
};

// The services one import works with; every pointer is borrowed and may not be null.
struct PdfImportServices
{
    IPdfCodePage* codePage;
    IPdfImportSettings* settings;
    IPdfTextMeasure* textMeasure;
    IPdfDataFiles* dataFiles;
    IPdfMessages* messages;
};
