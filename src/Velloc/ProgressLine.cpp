#include "ProgressLine.h"

#include "HostLibrary.h"
#include "PathNames.h"
#include "core/Dbcs.h"

namespace {

std::string g_fileName;

// "(" and ")" become "（" and "）"; double-byte characters are passed whole.
std::string WithFullWidthParentheses(const std::string& name)
{
    std::string shown;
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (IsSjisLeadByte(c) && i + 1 < name.size()) {
            shown += c;
            shown += name[++i];
        } else if (c == '(') {
            shown += "（";
        } else if (c == ')') {
            shown += "）";
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

void BeginProgress(const char* text, const char* path)
{
    const std::string body = text ? text : "";
    if (path != nullptr) {
        g_fileName = StripPath(std::string(path));
        ShowProgress((WithFullWidthParentheses(g_fileName) + " " + body).c_str());
    } else {
        ShowProgress(body.c_str());
    }
}

void ShowProgress(const char* text) { HostLib::VyDSP_MSG(text ? text : ""); }

const std::string& ProgressFileName() { return g_fileName; }
