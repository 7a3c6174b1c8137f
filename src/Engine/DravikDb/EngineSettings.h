// Process-wide settings of the engine: limits, modes and the search settings.
#pragma once

#include "EngineRecords.h"

#include <map>
#include <string>

namespace dravikdb {

struct EngineSettings {
    int maxCoordFlag = 0;            // non-zero: coordinates beyond maxCoordValue are refused
    double maxCoordValue = 1.0e100;
    int elementCheckMode = 1;        // non-zero: records are checked before they are stored
    int highlightColour = 2;
    int transferFlag = 1;
    int fastAccess = 0;
    SearchBlock search{};            // the block of ZUriDbSetSerch
    int searchOption = 0;
    int groupFind = 0;
    int pageDetect = 1;              // 1: searches honour the page detect mask
    int lockLayerSearchMode = 0;     // 1: searches skip elements on locked layers
    double lengthEps = 1.0e-6;
    double angleEps = 1.0e-6;
    std::map<std::string, int> namedInts;
};

EngineSettings& Settings();

}  // namespace dravikdb
