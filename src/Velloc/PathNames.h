// Path pieces for names the plug-in shows or proposes.
#pragma once

#include <string>

// Reduces a path to its file name (the text after the last folder separator), in place.
void StripPath(char* path);
std::string StripPath(const std::string& path);
// Removes the extension of the file name, in place.
void RemoveExtension(char* path);
