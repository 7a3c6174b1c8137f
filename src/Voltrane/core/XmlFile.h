// One XML file held in memory: load, change, prune and write back. Texts handed in and out are
// code page 932; the document itself is kept in UTF-8.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include <pugixml.hpp>

class CXMLFile {
public:
    CXMLFile();
    virtual ~CXMLFile();
    CXMLFile(const CXMLFile&) = delete;
    CXMLFile& operator=(const CXMLFile&) = delete;

    // Releases a document already held, then loads the file. 1 loaded, 0 not (lastError is
    // set when the file is missing or not well-formed).
    int Load(const char* path);

    // Removes every element below the document element that has no non-empty text anywhere
    // below it, and every comment and processing instruction there. The document element stays.
    void RemoveEmptyElements();

    // Writes the document indented, declared and encoded "Shift_JIS", without comments, through
    // a temporary file that replaces the target. 1 written; 0 failed (an error box is shown).
    int Save(const char* path);

    // Writes the document in its current state, without reindenting (comments kept), in UTF-8.
    void SaveRaw(const char* path);

    // Empty until a load succeeds; callers test it before using any other operation.
    std::shared_ptr<pugi::xml_document> document;
    // The text of the last failure, empty at construction.
    std::string lastError;
    // -1: keep the parser's defaults; any other value switches validation on (not 0) or off.
    int validate = 0;

    // The message box used to show a failed Save (replaced by tests).
    static int (WINAPI* errorBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

protected:
    // The document element, or an empty node without a document.
    pugi::xml_node Root() const;
};
