// Test doubles of the PDF import's services: settings from a map, font names from a small
// table, no measuring, recorded messages; the real code page 932 and data-folder files.
#pragma once

#include "CadPdf/PdfCodePage932.h"
#include "CadPdf/PdfDataFolderFiles.h"
#include "CadPdf/PdfImportServices.h"

#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

class FakeImportSettings : public IPdfImportSettings
{
public:
    std::map<std::string, std::string> values;
    std::string ReadSystemValue(const char* key, const char* defaultValue) override
    {
        auto it = values.find(key);
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
};

class FakeTextMeasure : public IPdfTextMeasure
{
public:
    std::map<std::string, std::string> fonts{{"MS-Mincho", "ＭＳ 明朝"}, {"MS-Gothic", "ＭＳ ゴシック"},
                                              {"Arial", "Arial"}};
    bool moveDescent = false;
    double measuredWidth = 0;  // at height 1000; 0: measuring fails
    bool MapToCadFont(const std::string& pdfName, std::string& cadName) override
    {
        auto it = fonts.find(pdfName);
        if (it == fonts.end()) return false;
        cadName = it->second;
        return true;
    }
    bool MoveDescent() override { return moveDescent; }
    bool MeasureTextExtent(const std::string&, const std::string&, double& width, double& height) override
    {
        if (measuredWidth <= 0) return false;
        width = measuredWidth;
        height = 1000;
        return true;
    }
    bool FontDescentRatio(const std::string&, double& ratio) override
    {
        ratio = 0.125;
        return true;
    }
};

class FakeMessages : public IPdfMessages
{
public:
    struct Message { std::string text, caption; Kind kind; };
    std::vector<Message> shown;
    void Show(const std::string& text, const std::string& caption, Kind kind) override
    {
        shown.push_back(Message{text, caption, kind});
    }
};

// The services with the plug-in's data folder of the build (the test program's folder).
struct FakeImportServices
{
    FakeImportServices();
    explicit FakeImportServices(const std::string& dataFolder);
    PdfCodePage932 codePage;
    FakeImportSettings settings;
    FakeTextMeasure textMeasure;
    PdfDataFolderFiles files;
    FakeMessages messages;
    PdfImportServices services;
};

// A byte string of the given values.
std::string Bytes(std::initializer_list<int> values);

// StartCmdEx of the plug-in library beside the tests, bound by name as a stand-alone host does.
using StartCmdExFn = int(WINAPI*)(HWND, const char*, void*);
StartCmdExFn LoadVellocStartCmdEx();

// The folder of the running test program (where the build puts "VellocData\Pdf\").
std::string TestProgramFolder();
