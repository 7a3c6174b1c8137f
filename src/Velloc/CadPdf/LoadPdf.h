// The command "PDF読込": turns one page of a PDF file into a new drawing.
#pragma once

#include <cstdint>

#include "CmdBase.h"

class CLoadPdf : public CCmdBaseEx {
public:
    int Run();

    int32_t m_flag = 0;  // used by Run
};

// Reads the CID-to-Unicode table "VellocData\Pdf\CidToUnicode.dat" beside the library (at
// process attach).
void LoadCidToUnicode();
