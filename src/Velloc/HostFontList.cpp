#include "HostFontList.h"

#include <cstring>

#include "HostMessages.h"
#include "HostRecords.h"
#include "NumericFormat.h"
#include "VellocModule.h"

namespace {

DicFunctionRecord g_request;

// Sends the zeroed-and-filled record to the owner window; the host answers in the record.
void Ask(int subCode)
{
    HWND owner = OwnerWindow();
    if (owner != nullptr) SendMessageA(owner, WM_CAD_FONT_SERVICE, subCode, reinterpret_cast<LPARAM>(&g_request));
}

void Clear() { std::memset(&g_request, 0, sizeof g_request); }

int AskVectorListCount(int kind)
{
    Clear();
    g_request.value8 = kind;
    Ask(kFontServiceVectorLists);
    return static_cast<int>(g_request.value12);
}

int AskVectorListEntry(int kind, int index, std::string& name)
{
    Clear();
    g_request.value8 = kind;
    g_request.value12 = index;
    Ask(kFontServiceVectorLists);
    // The host's answer need not be terminated: read at most the field.
    const char* field = g_request.name380;
    name.assign(field, strnlen(field, sizeof g_request.name380));
    return name.empty() ? 0 : 1;
}

}  // namespace

int GetHostTextFontCount()
{
    Clear();
    Ask(kFontServiceTextFontCount);
    return g_request.value8;
}

void GetHostTextFontName(int index, char* name)
{
    Clear();
    g_request.value8 = index;
    g_request.value682 = reinterpret_cast<INT_PTR>(name);
    Ask(kFontServiceTextFontName);
}

int GetHostFontListACount() { return AskVectorListCount(1); }

int GetHostFontListBCount() { return AskVectorListCount(2); }

int GetHostFontListAEntry(int index, std::string& name) { return AskVectorListEntry(3, index, name); }

int GetHostFontListBEntry(int index, std::string& name) { return AskVectorListEntry(4, index, name); }

namespace {

// Counts as the host answers them, within what a font dictionary can hold: a stray answer must
// not send the plug-in into millions of questions.
constexpr int kMaxHostFontCount = 4096;

int Bounded(int count) { return count < 0 ? 0 : (count > kMaxHostFontCount ? kMaxHostFontCount : count); }

}  // namespace

std::vector<std::string> BuildHostFontList()
{
    std::vector<std::string> names;
    const int textFonts = Bounded(GetHostTextFontCount());
    const int countA = Bounded(GetHostFontListACount());
    const int countB = Bounded(GetHostFontListBCount());
    for (int i = 0; i < textFonts; ++i) {
        // The engine's names take at most 32 bytes; the room beyond keeps a longer one whole.
        char name[MAX_PATH + 1] = {};
        GetHostTextFontName(i, name);
        name[MAX_PATH] = '\0';
        names.emplace_back(name);
    }
    names.emplace_back("VectorFont");
    // The second list is asked once, not once per entry of the first.
    std::vector<std::string> listB(static_cast<size_t>(countB));
    for (int j = 0; j < countB; ++j) GetHostFontListBEntry(j, listB[j]);
    for (int i = 0; i < countA; ++i) {
        std::string a;
        GetHostFontListAEntry(i, a);
        for (const std::string& b : listB) {
            if (!a.empty() && !b.empty()) names.push_back(FormatStdString("VectorPF(%-4s:%-4s)", a.c_str(), b.c_str()));
        }
    }
    return names;
}
