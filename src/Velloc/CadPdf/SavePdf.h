// The command "PDF保存": saves the current drawing (or the drawing a stand-alone host hands
// in as the context) as a PDF file.
#pragma once

#include <cstdint>

#include "CmdBase.h"

class CSavePdf : public CCmdBaseEx {
public:
    // 0, or 1 when the user cancels the file dialog; -1 when the export is not available.
    int Run();

    int32_t m_optionFlag = 0;  // set by Run from "/OD"
};
