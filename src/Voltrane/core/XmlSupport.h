// Shared between CXMLFile and CDefFile: error texts, Shift_JIS output and the replacing write.
#pragma once

#include <windows.h>

#include <string>

// The system's text for an error code, without the trailing line break.
std::string FormatSystemText(DWORD code);
// format holds "%08X" and "%s", in that order.
std::string FormatXmlError(const char* format, DWORD code, const std::string& reason);
// UTF-8 document text to code page 932; characters outside it become character references.
std::string Utf8ToSjisForXml(const std::string& utf8);
// Writes the bytes to a temporary file beside path and renames it over path. 0 or the error.
DWORD WriteFileReplacing(const char* path, const std::string& bytes);
