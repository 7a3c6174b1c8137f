#include "GTest.h"

#include "RecordingDocument.h"

#include <cmath>
#include <cstdio>

namespace {

size_t IndexOf(CadElement element) { return reinterpret_cast<size_t>(element) - 1; }

}  // namespace

RecordingDocument::RecordingDocument()
{
    // Widths 0.1 .. 1.6 mm; colours 0 white, 1 black, 2 red, 3 green, 4 blue, the rest grey
    // steps; line types: 0 solid, 1 dashes 3 and 2 points, 2 dashes 6 and 3 points.
    for (int i = 0; i < 16; ++i) widths[i] = 0.1 * (i + 1);
    for (int i = 0; i < 257; ++i) colours[i][0] = colours[i][1] = colours[i][2] = (i * 7) & 0xFF;
    const int basics[5][3] = {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (int i = 0; i < 5; ++i)
        for (int c = 0; c < 3; ++c) colours[i][c] = basics[i][c];
    lineTypeDashes.resize(32);
    lineTypeDashes[1] = {3 * 25.4 / 72, 2 * 25.4 / 72};
    lineTypeDashes[2] = {6 * 25.4 / 72, 3 * 25.4 / 72};
    scale = 0.02;
}

std::vector<RecordedElement> RecordingDocument::Of(char type) const
{
    std::vector<RecordedElement> out;
    for (const RecordedElement& e : elements)
        if (e.type == type) out.push_back(e);
    return out;
}

CadElement RecordingDocument::Append(const RecordedElement& element)
{
    RecordedElement e = element;
    e.layer = currentLayer;
    e.colour = color;
    e.lineType = lineType;
    e.lineWidth = lineWidth;
    elements.push_back(e);
    CadElement handle = reinterpret_cast<CadElement>(elements.size());
    AddToOpenGroup(handle);
    return handle;
}

CadElement RecordingDocument::AppendLine(const GeoVectorPair& line)
{
    if (std::fabs(line.first.x - line.second.x) < 1e-6 && std::fabs(line.first.y - line.second.y) < 1e-6)
        return nullptr;
    RecordedElement e;
    e.type = 'L';
    e.x1 = line.first.x;
    e.y1 = line.first.y;
    e.x2 = line.second.x;
    e.y2 = line.second.y;
    return Append(e);
}

CadElement RecordingDocument::AppendCircle(const GeoVector& centre, double radius)
{
    if (std::fabs(radius) < 1e-8) return nullptr;
    RecordedElement e;
    e.type = 'C';
    e.x1 = centre.x;
    e.y1 = centre.y;
    e.x2 = std::fabs(radius);
    return Append(e);
}

CadElement RecordingDocument::AppendText(const GeoVector& position, const char* text)
{
    if (text == nullptr || *text == '\0') return nullptr;
    RecordedElement e;
    e.type = 'T';
    e.x1 = position.x;
    e.y1 = position.y;
    e.text = text;
    e.charWidth = charWidth;
    e.charHeight = charHeight;
    e.angle = textAngleDegrees;
    e.spacing = charSpacing;
    e.font = fontName;
    e.textMode = textMode;
    e.vertical = textVertical;
    return Append(e);
}

int RecordingDocument::GetLinetypeDashes(std::vector<double>& dashes, int number, std::string& name) const
{
    if (number < 0 || number >= 32) return -1;
    dashes.insert(dashes.end(), lineTypeDashes[number].begin(), lineTypeDashes[number].end());
    name = "type" + std::to_string(number);
    return 0;
}

void RecordingDocument::SetFileInfo(const char* path, const char* t)
{
    if (path) fileName = path;
    if (t) title = t;
}

void RecordingDocument::SetPaperSize(double w, double h)
{
    paperWidth = w;
    paperHeight = h;
    // A4 and A2 portrait and landscape, as the paper table gives them.
    struct Row { double w, h; int series, size; };
    const Row rows[] = {{297, 210, 0, 4}, {210, 297, 0, 4}, {594, 420, 0, 2}, {420, 594, 0, 2}};
    paperSeries = paperSize = 255;
    for (const Row& r : rows)
        if (std::fabs(r.w - w) <= 2 && std::fabs(r.h - h) <= 2) {
            paperSeries = r.series;
            paperSize = r.size;
        }
}

void RecordingDocument::SetScale(double s) { scale = s; }

void RecordingDocument::GetPaperKind(int* series, int* size) const
{
    if (series) *series = paperSeries;
    if (size) *size = paperSize;
}

int RecordingDocument::FindLayerByName(const char* name, int) const
{
    for (const auto& item : layerNames)
        if (item.second == name) return item.first;
    return -1;
}

int RecordingDocument::SetLayer(int layer, const char* name)
{
    if (layer > 1023) return -1;
    if (layer < 0) layer = currentLayer;
    std::string text = name ? name : "";
    if (text.empty()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "レイヤ %d", layer + 1);
        text = buffer;
    }
    layerNames[layer] = text;
    currentLayer = static_cast<int16_t>(layer);
    return 0;
}

void RecordingDocument::ResetCurrentLayer()
{
    ++resetLayerCalls;
    currentLayer = 0;
}

CadElement RecordingDocument::CloseGroup()
{
    if (m_groupStack.empty()) return nullptr;
    std::vector<CadElement> members;
    CollectGroupMembers(members);
    const int top = m_groupStack.back();
    if (top >= 1 && top < kGroupSlots) {
        m_groups[top].members.clear();
        m_groups[top].inUse = false;
    }
    m_groupStack.pop_back();
    if (members.empty()) return nullptr;
    RecordedGroup group{{}, 100};
    for (CadElement m : members) group.members.push_back(IndexOf(m));
    groups.push_back(group);
    return members.front();
}

int RecordingDocument::FilterCurveElements(const std::vector<CadElement>& in, std::vector<CadElement>& out) const
{
    int kept = 0;
    for (CadElement m : in) {
        const size_t i = IndexOf(m);
        if (i < elements.size() && elements[i].type != 'T') {
            out.push_back(m);
            ++kept;
        }
    }
    return kept;
}

bool RecordingDocument::GetLinewidthMm(int number, double* widthMm) const
{
    if (number < 0 || number >= 16) return false;
    *widthMm = widths[number];
    return true;
}

bool RecordingDocument::GetColorRecord(int number, int* red, int* green, int* blue) const
{
    if (number < 0 || number >= 257) return false;
    *red = colours[number][0];
    *green = colours[number][1];
    *blue = colours[number][2];
    return true;
}

bool RecordingDocument::SetColorRecord(int number, int red, int green, int blue)
{
    if (number < 0 || number >= 257) return false;
    colours[number][0] = red;
    colours[number][1] = green;
    colours[number][2] = blue;
    return true;
}

CadElement RecordingDocument::CopyElementWithColor(CadElement element, int color)
{
    const size_t i = IndexOf(element);
    if (i >= elements.size()) return nullptr;
    RecordedElement copy = elements[i];
    if (color > 0) copy.colour = color;
    elements.push_back(copy);
    return reinterpret_cast<CadElement>(elements.size());
}

CadElement RecordingDocument::MakeCurveGroup(const std::vector<CadElement>& handles, int kind)
{
    if (handles.empty()) return nullptr;
    RecordedGroup group{{}, kind == 1 ? 100 : 0};
    for (CadElement m : handles) group.members.push_back(IndexOf(m));
    groups.push_back(group);
    return handles.front();
}
