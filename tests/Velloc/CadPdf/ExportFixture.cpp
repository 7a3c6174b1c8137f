#include "GTest.h"

#include "ExportFixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Dravik.h"

namespace {

template <typename T>
ElementRecord Typed(T typed)
{
    return AsRecord(typed);
}

int g_folderCounter = 0;

}  // namespace

ExportDrawing::ExportDrawing()
{
    SetPaper(420, 297);
    SetScale(1.0);
    for (int n = 0; n < kLayerCount; ++n) SetLayerShown(n, true);
}

DbInfoBlock* ExportDrawing::Info() { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db())); }

void ExportDrawing::SetPaper(double widthMm, double heightMm)
{
    Info()->record.paperWidthMm = widthMm;
    Info()->record.paperHeightMm = heightMm;
}

void ExportDrawing::SetScale(double scale) { Info()->record.scale = scale; }

void ExportDrawing::SetOriginMode(int32_t mode) { Info()->record.originMode = mode; }

void ExportDrawing::NameLayer(int layer, const char* name) { ZUriSetLayerName(0, layer, name, db()); }

void ExportDrawing::SetLayerShown(int layer, bool shown)
{
    uint16_t& word = Info()->layers.displayMask[layer / 16];
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    word = shown ? (word | bit) : (word & ~bit);
}

void ExportDrawing::SetLayerLocked(int layer, bool locked)
{
    uint16_t& word = Info()->layers.lockMask[layer / 16];
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    word = locked ? (word | bit) : (word & ~bit);
}

void ExportDrawing::SetLineType(int number, const char* name, const std::vector<double>& dashesMm)
{
    LineTypeRecord& type = Info()->lineTypes[number];
    std::memset(&type, 0, sizeof type);
    std::snprintf(type.name, sizeof type.name, "%s", name);
    type.dashCount = static_cast<int32_t>(dashesMm.size());
    for (size_t i = 0; i < dashesMm.size() && i < 16; ++i) type.dashMm[i] = dashesMm[i];
}

void ExportDrawing::SetColour(int number, int red, int green, int blue)
{
    ColourRecord& colour = Info()->colours[number];
    colour.red = red;
    colour.green = green;
    colour.blue = blue;
}

void* ExportDrawing::Add(const ElementRecord& record) { return ZUriAppendElement(&record, db()); }

ElementRecord LineElement(double x1, double y1, double x2, double y2, uint16_t layer, uint16_t colour)
{
    LineRecord line{};
    SetHeader(line.header, kElementLine, layer, 0, colour);
    line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
    return Typed(line);
}

ElementRecord CircleElement(double cx, double cy, double r, uint16_t layer)
{
    CircleRecord c{};
    SetHeader(c.header, kElementCircle, layer);
    c.cx = cx, c.cy = cy, c.radius = r, c.nz = 1.0;
    return Typed(c);
}

ElementRecord ArcElement(double cx, double cy, double r, double startRad, double endRad, bool clockwise,
                         uint16_t layer)
{
    ArcRecord a{};
    SetHeader(a.header, kElementArc, layer);
    a.cx = cx, a.cy = cy, a.radius = r, a.startAngle = startRad, a.endAngle = endRad;
    a.clockwise = clockwise ? 1 : 0;
    a.nz = 1.0;
    return Typed(a);
}

ElementRecord EllipseElement(double cx, double cy, double ax, double ay, double ratio, uint16_t layer)
{
    EllipseRecord e{};
    SetHeader(e.header, kElementEllipse, layer);
    e.cx = cx, e.cy = cy, e.ax = ax, e.ay = ay, e.ratio = ratio, e.nz = 1.0;
    return Typed(e);
}

ElementRecord EllipticArcElement(double cx, double cy, double ax, double ay, double ratio, double startRad,
                                 double endRad, bool clockwise, uint16_t layer)
{
    EllipticArcRecord e{};
    SetHeader(e.header, kElementEllipticArc, layer);
    e.cx = cx, e.cy = cy, e.ax = ax, e.ay = ay, e.ratio = ratio;
    e.startAngle = startRad, e.endAngle = endRad, e.swapped = clockwise ? 1 : 0, e.nz = 1.0;
    return Typed(e);
}

ExportSettingsFolder::ExportSettingsFolder()
{
    // Process ids repeat from one wine run to the next: the clock makes the name new.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    char name[80];
    std::snprintf(name, sizeof name, "VellocExportTest%llx_%d", static_cast<unsigned long long>(now.QuadPart),
                  ++g_folderCounter);
    m_product = name;
    QmCadApi_SetAppProductName(m_product.c_str());
}

ExportSettingsFolder::~ExportSettingsFolder()
{
    // The files go with their sections; the folder itself is left to the prefix.
    const char* const outSections[] = {"SYSTEM", "LineColor", "LineWidth", "LINE_TERM", "EXCHANGE_FONT", "Font"};
    for (const char* section : outSections)
        QmCadApi_WritePrivateProfileString(section, nullptr, nullptr, "%USER_LOCAL_APPDATA%SETTEI\\PdfOut.ini");
    for (const char* section : {"PdfOut", "PdfOut_RGB", "PdfOut_Mono"})
        QmCadApi_WritePrivateProfileString(section, nullptr, nullptr, "%USER_LOCAL_APPDATA%SETTEI\\PdfColor.ini");
    QmCadApi_SetAppProductName("VoltraneV8");
}

void ExportSettingsFolder::Write(const char* file, const char* section, const char* key, const char* value)
{
    const std::string path = std::string("%USER_LOCAL_APPDATA%SETTEI\\") + file;
    QmCadApi_WritePrivateProfileString(section, key, value, path.c_str());
}

ExportOutputFolder::ExportOutputFolder()
{
    char name[64];
    std::snprintf(name, sizeof name, "velloc-export-%lu-%d", GetCurrentProcessId(), ++g_folderCounter);
    m_unix = std::string("/tmp/") + name + "/";
    m_windows = std::string("Z:\\tmp\\") + name + "\\";
    CreateDirectoryA(m_windows.c_str(), nullptr);
}

ExportOutputFolder::~ExportOutputFolder()
{
    if (getenv("VELLOC_KEEP_EXPORTS") == nullptr) RunTool("rm -rf '" + m_unix + "'");
}

ToolResult RunTool(const std::string& command)
{
    ToolResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, read);
    const int status = pclose(pipe);
    result.exitCode = (status >= 0 && (status & 0x7F) == 0) ? (status >> 8) & 0xFF : -1;
    return result;
}

void RecordedMessages::Show(const char* text, const char* caption, UINT)
{
    texts.push_back(text != nullptr ? text : "");
    captions.push_back(caption != nullptr ? caption : "");
}

std::string ReadUnixFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

size_t CountOccurrences(const std::string& text, const std::string& word)
{
    size_t count = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++count;
    return count;
}

void BuildLayeredFixture(ExportDrawing& d)
{
    const double pi = std::acos(-1.0);
    d.SetColour(1, 0, 0, 255);
    d.SetColour(2, 255, 0, 0);
    d.NameLayer(0, "壁");
    d.NameLayer(2, "隠し");
    d.SetLayerShown(2, false);
    d.NameLayer(3, "ロック");
    d.SetLayerLocked(3, true);
    d.NameLayer(5, "   ");
    d.SetLineType(1, "十六", std::vector<double>(16, 2.0));
    d.SetLineType(2, "破線", {3.0, 1.0});

    ElementRecord line = LineElement(-100, 0, 100, 0, 0, 1);
    line.lineEndEnd = 1;   // arrow
    line.lineEndStart = 2; // dot
    d.Add(line);
    ElementRecord dashed = LineElement(-100, 20, 100, 20, 0, 1);
    dashed.lineType = 1;
    d.Add(dashed);
    ElementRecord dashed2 = LineElement(-100, 30, 100, 30, 0, 1);
    dashed2.lineType = 2;
    dashed2.lineWidth = 8;  // 1.4 mm
    d.Add(dashed2);
    d.Add(LineElement(-100, -20, 100, -20, 1, 1));  // unnamed layer: no group
    d.Add(LineElement(-100, -40, 100, -40, 2, 1));  // hidden layer: left out
    d.Add(LineElement(-100, -60, 100, -60, 3, 1));  // locked layer: locked colour
    d.Add(LineElement(-100, -80, 100, -80, 5, 1));  // blank name: group "6"
    d.Add(CircleElement(50, 50, 10));
    ElementRecord ccw = ArcElement(0, 50, 20, 0, pi / 2, false);
    ccw.lineEndEnd = 1;
    d.Add(ccw);
    ElementRecord cw = ArcElement(0, 50, 30, 0, pi / 2, true);
    cw.lineEndEnd = 1;
    d.Add(cw);
    d.Add(EllipseElement(-50, 50, -30, 50, 0.5));
    ElementRecord earc = EllipticArcElement(-50, 80, -30, 80, 0.5, 0, pi, true);
    earc.lineEndEnd = 5;
    d.Add(earc);
    // Angles no sampling could finish: nothing is drawn for them, and the export goes on.
    d.Add(EllipticArcElement(0, -150, 20, -150, 0.5, 1e300, INFINITY, false));
    for (int kind = 1; kind <= 13; ++kind) {
        ElementRecord marked = LineElement(-150 + kind * 20, -120, -140 + kind * 20, -100, 0, 1);
        marked.lineEndEnd = static_cast<uint8_t>(kind);
        d.Add(marked);
    }
}
