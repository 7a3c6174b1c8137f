// The file-progress line in the host's message line while a PDF is read or written.
#pragma once

#include <string>

// Shows "<file name> <text>" (the folder removed, "(" and ")" shown full-width), or the text
// alone without a path, and keeps the plain file name.
void BeginProgress(const char* text, const char* path);
// Shows the text in the host's message line; an empty text clears it.
void ShowProgress(const char* text);
// The file name kept by the latest BeginProgress.
const std::string& ProgressFileName();
