#include "EngineStyles.h"

#include "DravikDb.h"
#include "EngineDatabase.h"

#include <cstdio>
#include <cstring>

namespace dravikdb {

namespace {

struct NamedColour {
    const char* name;
    int red, green, blue;
};

// Colour 0 is the background; 1..8 the usual drawing colours.
const NamedColour kBaseColours[] = {
    {"背景", 0, 0, 0},       {"白", 255, 255, 255}, {"赤", 255, 0, 0},   {"緑", 0, 255, 0},
    {"青", 0, 0, 255},       {"黄", 255, 255, 0},   {"水色", 0, 255, 255}, {"紫", 255, 0, 255},
    {"灰色", 128, 128, 128},
};

struct NamedLineType {
    const char* name;
    int count;
    double dashes[6];
};

const NamedLineType kBaseLineTypes[] = {
    {"実線", 0, {}},
    {"破線", 2, {3.0, 1.5}},
    {"一点鎖線", 4, {6.0, 1.0, 1.0, 1.0}},
    {"点線", 2, {0.5, 1.0}},
    {"二点鎖線", 6, {6.0, 1.0, 1.0, 1.0, 1.0, 1.0}},
    {"長破線", 2, {8.0, 2.0}},
};

const double kWidths[kLineWidthCount] = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7, 1.0, 1.4,
                                         2.0,  0.1,  0.2,  0.3,  0.4, 0.6, 0.8, 1.2};

}  // namespace

void FillDefaultColours(ColourRecord* colours)
{
    const int base = static_cast<int>(sizeof kBaseColours / sizeof kBaseColours[0]);
    for (int i = 0; i < kColourCount; ++i) {
        ColourRecord& c = colours[i];
        std::memset(&c, 0, sizeof c);
        if (i < base) {
            CopyBoundedText(c.name, sizeof c.name, kBaseColours[i].name);
            c.red = kBaseColours[i].red;
            c.green = kBaseColours[i].green;
            c.blue = kBaseColours[i].blue;
        } else {
            char name[32];
            std::snprintf(name, sizeof name, "色 %d", i);
            CopyBoundedText(c.name, sizeof c.name, name);
            // A spread of hues and shades for the numbered colours.
            int n = i - base;
            c.red = (n * 53) % 256;
            c.green = (n * 97 + 64) % 256;
            c.blue = (n * 151 + 128) % 256;
        }
    }
}

void FillDefaultLineTypes(LineTypeRecord* lineTypes)
{
    const int base = static_cast<int>(sizeof kBaseLineTypes / sizeof kBaseLineTypes[0]);
    for (int i = 0; i < kLineTypeCount; ++i) {
        LineTypeRecord& t = lineTypes[i];
        std::memset(&t, 0, sizeof t);
        if (i < base) {
            CopyBoundedText(t.name, sizeof t.name, kBaseLineTypes[i].name);
            t.dashCount = kBaseLineTypes[i].count;
            for (int d = 0; d < kBaseLineTypes[i].count; ++d) t.dashMm[d] = kBaseLineTypes[i].dashes[d];
        } else {
            char name[32];
            std::snprintf(name, sizeof name, "線種 %d", i);
            CopyBoundedText(t.name, sizeof t.name, name);
        }
    }
}

void FillDefaultLineWidths(double* widthsMm)
{
    for (int i = 0; i < kLineWidthCount; ++i) widthsMm[i] = kWidths[i];
}

}  // namespace dravikdb

DRAVIKDB_API int WINAPI ZuriStyleGet(void* colours, void* lineTypes, void* widths)
{
    if (colours != nullptr) dravikdb::FillDefaultColours(static_cast<ColourRecord*>(colours));
    if (lineTypes != nullptr) dravikdb::FillDefaultLineTypes(static_cast<LineTypeRecord*>(lineTypes));
    if (widths != nullptr) dravikdb::FillDefaultLineWidths(static_cast<double*>(widths));
    return 1;
}
