// Reads a content stream with the import's lexer and with the PDF library's content tokenizer
// side by side (used by the tests and by the import's fuzz target).
#pragma once

#include <cstddef>
#include <string>

// Empty when both give the same keywords and values (reals to the bit) and fail with the same
// error at the same item; else where and how they part.
std::string CompareContentLexerWithLibrary(const char* data, size_t length);
