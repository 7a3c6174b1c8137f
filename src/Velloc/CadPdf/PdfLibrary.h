// The parts of the PDF library (PoDoFo) that the import uses, and small helpers on its values.
#pragma once

#include <podofo/base/PdfArray.h>
#include <podofo/base/PdfContentsTokenizer.h>
#include <podofo/base/PdfDictionary.h>
#include <podofo/base/PdfError.h>
#include <podofo/base/PdfName.h>
#include <podofo/base/PdfObject.h>
#include <podofo/base/PdfString.h>
#include <podofo/base/PdfStream.h>
#include <podofo/base/PdfVariant.h>
#include <podofo/base/PdfVecObjects.h>

#include <string>

// The raw bytes of a string as written in the PDF (a text string that the library holds as
// UTF-16 gets its byte-order mark back).
std::string PdfStringBytes(const PoDoFo::PdfString& s);

// A number operand (integer or real) as a double; false for any other value.
bool PdfNumberOf(const PoDoFo::PdfVariant& value, double& number);

// The library's error text and name of an error's code, as "%s %s".
std::string PdfErrorText(const PoDoFo::PdfError& error);

// The object a value stands for: references are followed (at most a few in a chain) through the
// document's objects; null for a dangling reference or a null value.
const PoDoFo::PdfObject* PdfResolve(const PoDoFo::PdfObject* value, const PoDoFo::PdfVecObjects* objects);

// The resolved value of key in a dictionary object; null when the object is no dictionary or
// has no such key.
const PoDoFo::PdfObject* PdfDictionaryValue(const PoDoFo::PdfObject* dictionary, const char* key,
                                            const PoDoFo::PdfVecObjects* objects);

// The decoded bytes of a stream object; false when it has no stream, cannot be decoded or
// decodes to more than maxBytes (a decompression bomb stops there).
bool PdfDecodedStream(const PoDoFo::PdfObject* object, std::string& bytes, size_t maxBytes);

// Largest decoded stream the import reads (content streams, Forms, ToUnicode maps).
const size_t kMaxDecodedStreamBytes = 64u * 1024u * 1024u;
