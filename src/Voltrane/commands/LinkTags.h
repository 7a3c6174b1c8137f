// Element links: a short text of key and value entries kept as an element's tag text, with the
// engine's tag 210 set while the element has one. Plug-in commands write, read, update, remove
// and search them; a click on an element whose link has a "Z01LINK" entry is consumed by the view.
//
// Text: "Korva", a mode digit ("1": values 10 wide, otherwise 16), a count digit, "000", then
// the entries (8 key characters, then the value). A "Z01LINK" value is padded but never cut, so
// it runs to the end of the text and nothing can be appended behind it.
#pragma once

#include <windows.h>

#include "HostRecords.h"

constexpr int kLinkTag = 210;
constexpr int kLinkTextLimit = 603;

int SetLinkEntry(CmdParamRecord* param);
int GetLinkEntry(CmdParamRecord* param);
int GetLinkEntryCount(CmdParamRecord* param);
int UpdateLinkEntry(CmdParamRecord* param);
int RemoveLink(CmdParamRecord* param);
void* SearchLinks(CmdParamRecord* param);
int FindLinkAtPoint(HWND view, double x, double y, double z, int act);
void* SearchLinkedElements(const char* key, const char* value);
