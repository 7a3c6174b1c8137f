// The attributes of one text element as the import hands it to the document model.
#pragma once

#include <string>

struct PdfTextAttributes
{
    double characterWidth = 0;
    double characterHeight = 0;
    double angleDegrees = 0;
    double characterSpacing = 0;
    std::string fontName;
    bool vertical = false;   // text mode 4 and the vertical flag, else text mode 3
};
