// Runs the import converter on a fixture into a recording document.
#pragma once

#include "CadPdf/PdfImportConverter.h"
#include "PdfFixture.h"
#include "PdfImportFakes.h"
#include "RecordingDocument.h"

#include <memory>

struct ImportRun
{
    FakeImportServices fake;
    RecordingDocument document;
    std::unique_ptr<PdfImportConverter> converter;
    int openResult = -1;
    int convertResult = -1;

    // Opens the bytes; with unitFactor 1 drawing units are PDF points from the page centre.
    int Open(const std::string& bytes, const std::string& path = "C:\\pdf\\a.pdf")
    {
        PdfImportConverter::imageWarningShown = false;
        converter.reset(new PdfImportConverter(&document, fake.services));
        openResult = converter->OpenPdfFromMemory(bytes, path);
        return openResult;
    }
    int Convert(int page = 0, double unitFactor = 1.0)
    {
        converter->unitFactor = unitFactor;
        if (page != 0) converter->SelectPage(page);
        convertResult = converter->ConvertPage(page);
        return convertResult;
    }
    // A page of 200 x 100 points with that content, opened and converted.
    int Run(const std::string& content)
    {
        PdfFixture pdf(200, 100);
        pdf.SetContent(content);
        if (Open(pdf.Bytes()) != 0) return openResult;
        return Convert();
    }
};
