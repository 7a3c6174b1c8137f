// The engine's default attribute tables (colours, line types, line widths).
#pragma once

#include "EngineRecords.h"

namespace dravikdb {

void FillDefaultColours(ColourRecord* colours);       // kColourCount records
void FillDefaultLineTypes(LineTypeRecord* lineTypes);  // kLineTypeCount records
void FillDefaultLineWidths(double* widthsMm);          // kLineWidthCount values

}  // namespace dravikdb
