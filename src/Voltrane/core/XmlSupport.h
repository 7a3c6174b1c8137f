// Shared between CXMLFile and CDefFile: error texts and Shift_JIS output.
#pragma once

#include <windows.h>

#include <string>

#include "core/ReplacingWrite.h"

// The system's text for an error code, without the trailing line break.
std::string FormatSystemText(DWORD code);
// format holds "%08X" and "%s", in that order.
std::string FormatXmlError(const char* format, DWORD code, const std::string& reason);
// UTF-8 document text to code page 932; characters outside it become character references.
std::string Utf8ToSjisForXml(const std::string& utf8);
