// The services of the PDF import inside the plug-in: code page 932 of the platform, "PdfIn.ini"
// through the host library, the import font exchange table and the font measures of the active
// drawing window, the data folder beside the plug-in, and message boxes.
#pragma once

#include "PdfCodePage932.h"
#include "PdfDataFolderFiles.h"
#include "PdfImportServices.h"

class PdfImportHost : public IPdfImportSettings, public IPdfTextMeasure, public IPdfMessages
{
public:
    PdfImportHost();

    std::string ReadSystemValue(const char* key, const char* defaultValue) override;
    bool MapToCadFont(const std::string& pdfName, std::string& cadName) override;
    bool MoveDescent() override;
    bool MeasureTextExtent(const std::string& face, const std::string& text, double& width, double& height) override;
    bool FontDescentRatio(const std::string& face, double& ratio) override;
    void Show(const std::string& text, const std::string& caption, Kind kind) override;

    PdfImportServices& Services() { return m_services; }

private:
    PdfCodePage932 m_codePage;
    PdfDataFolderFiles m_files;
    PdfImportServices m_services;
};
