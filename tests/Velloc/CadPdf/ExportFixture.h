// Drawings built through the engine for export tests, a per-test settings folder, an output
// folder both wine and the PDF tools can name, and the tools themselves.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "../../Engine/EngineFixture.h"
#include "CadPdf/ExportMessages.h"

// One engine drawing with paper, scale, layers and line types set for a test.
class ExportDrawing {
public:
    ExportDrawing();
    void* db() { return m_db.db(); }
    DbInfoBlock* Info();
    void SetPaper(double widthMm, double heightMm);
    void SetScale(double scale);
    void SetOriginMode(int32_t mode);
    void NameLayer(int layer, const char* name);
    void SetLayerShown(int layer, bool shown);
    void SetLayerLocked(int layer, bool locked);
    void SetLineType(int number, const char* name, const std::vector<double>& dashesMm);
    void SetColour(int number, int red, int green, int blue);
    void* Add(const ElementRecord& record);

private:
    TestDb m_db;
};

// Element records for the fixtures (drawing units).
ElementRecord LineElement(double x1, double y1, double x2, double y2, uint16_t layer = 0, uint16_t colour = 1);
ElementRecord CircleElement(double cx, double cy, double r, uint16_t layer = 0);
ElementRecord ArcElement(double cx, double cy, double r, double startRad, double endRad, bool clockwise,
                         uint16_t layer = 0);
ElementRecord EllipseElement(double cx, double cy, double ax, double ay, double ratio, uint16_t layer = 0);
ElementRecord EllipticArcElement(double cx, double cy, double ax, double ay, double ratio, double startRad,
                                 double endRad, bool clockwise, uint16_t layer = 0);

// The drawing the PDF tools check: layers named, unnamed, blank-named, hidden and locked; every
// curve in both directions; every line end; dash patterns of sixteen and two lengths.
void BuildLayeredFixture(ExportDrawing& drawing);

// The per-user settings folder of this test: a product name of its own, so "PdfOut.ini" and
// "PdfColor.ini" start missing. Restores the program's product name at the end.
class ExportSettingsFolder {
public:
    ExportSettingsFolder();
    ~ExportSettingsFolder();
    void Write(const char* file, const char* section, const char* key, const char* value);

private:
    std::string m_product;
};

// A folder under /tmp that is "Z:\tmp\..." for wine.
class ExportOutputFolder {
public:
    ExportOutputFolder();
    ~ExportOutputFolder();
    std::string WindowsPath(const std::string& name) const { return m_windows + name; }
    std::string UnixPath(const std::string& name) const { return m_unix + name; }

private:
    std::string m_windows;
    std::string m_unix;
};

// A Unix command's output (standard error joined) and exit code.
struct ToolResult {
    std::string output;
    int exitCode = -1;
};
ToolResult RunTool(const std::string& command);

// Messages of an export, recorded instead of shown.
class RecordedMessages : public ExportMessages {
public:
    void Show(const char* text, const char* caption, UINT icon) override;
    std::vector<std::string> texts;
    std::vector<std::string> captions;
};

// A whole file named by its Unix path (empty when it cannot be read).
std::string ReadUnixFile(const std::string& path);

size_t CountOccurrences(const std::string& text, const std::string& word);
