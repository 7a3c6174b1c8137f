// Code page 932 for the PDF reading core: the platform's conversion under Windows (Wine), iconv's
// "CP932" in a native build (fuzzing). Never "SHIFT_JIS", which maps 0x5C and others differently.
#pragma once

#include "PdfImportServices.h"

class PdfCodePage932 : public IPdfCodePage
{
public:
    std::string FromUtf16(const std::u16string& text) override;
};
