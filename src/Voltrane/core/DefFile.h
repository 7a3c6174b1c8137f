// A definition or settings file read and written one text value at a time, addressed by a
// path of two parts ("section" and "key", each an XPath of one or more steps) below the
// document element.
#pragma once

#include <string>
#include <vector>

#include "core/XmlFile.h"

class CDefFile : public CXMLFile {
public:
    CDefFile();
    // Loads the file at once; the outcome is seen only through the document.
    explicit CDefFile(const char* path);

    // 0: found with a value, out = the value; 1: no node or no value, out = defaultText (empty
    // for null); -1: failure (lastError set), out unchanged.
    int GetString(const char* section, const char* key, const char* defaultText, std::string& out);
    // As above into a buffer of outSize bytes, cut on a character boundary.
    int GetString(const char* section, const char* key, const char* defaultText, char* out, size_t outSize);

    // Appends the whole text of every node matching "path/key", in document order. 0 when at
    // least one node matched, -1 when none did or on failure.
    int GetStringList(const char* path, const char* key, std::vector<std::string>& out);

    // Appends the node name of every child of the first node matching path. 0 on success; -1
    // when the node has no child, the path matches nothing, or on failure.
    int GetChildNames(const char* path, std::vector<std::string>& out);

    // Stores value at "section/key": with create on, missing elements are made and an existing
    // text element gets a further occurrence beside it; with create off only an existing text
    // is replaced. 0 stored, -1 not stored.
    int SetString(const char* section, const char* key, const char* value, int create);

    // index >= 0: the index-th node matching "section/path" gets value as its whole content;
    // index < 0: as SetString with create on. 0 stored, -1 not stored.
    int SetStringAt(const char* section, const char* path, const char* value, int index);
};
