#include "core/CommandLine.h"

#include <cctype>
#include <cstdlib>

#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/StartupSeams.h"
#include "mainframe/MainFrame.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsOptionWord(const std::string& word)
{
    return !word.empty() && (word[0] == '/' || word[0] == '-');
}

}  // namespace

std::string CommandLineScan::BootKey() const
{
    std::string key;
    for (const std::string& option : options) key += option;
    return key;
}

std::string NormaliseOption(const std::string& word)
{
    std::string rest;
    for (size_t i = 1; i < word.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(word[i]);
        if (IsSjisLeadByte(c) && i + 1 < word.size()) {
            // Both bytes go through toupper as the scanner always did; only ASCII changes.
            rest += static_cast<char>(std::toupper(c));
            rest += static_cast<char>(std::toupper(static_cast<unsigned char>(word[i + 1])));
            ++i;
            continue;
        }
        if (c >= '0' && c <= '9') continue;
        rest += static_cast<char>(std::toupper(c));
    }
    return rest.empty() ? std::string("/NUM") : "/" + rest;
}

CommandLineScan ScanCommandLine(const char* text, const WordEndTest& mayEndAt)
{
    CommandLineScan scan;
    if (text == nullptr) return scan;
    const char* p = text;
    while (IsBlank(*p)) ++p;

    while (*p != '\0') {
        std::string word;
        bool quoted = false;
        if (*p == '"') {
            quoted = true;
            ++p;
        }
        while (*p != '\0') {
            char c = *p;
            if (IsSjisLeadByte(static_cast<unsigned char>(c)) && p[1] != '\0') {
                word += c;
                word += p[1];
                p += 2;
                continue;
            }
            if (quoted) {
                if (c == '"') {
                    quoted = false;
                } else {
                    word += c;
                }
                ++p;
                continue;
            }
            if (c == '"') {
                // A quote in the middle of a word starts a quoted part of it.
                quoted = true;
                ++p;
                continue;
            }
            if (IsBlank(c)) {
                if (IsOptionWord(word) || (mayEndAt && mayEndAt(word))) break;
                // An unquoted path with blanks: the blank is dropped and the word goes on.
                ++p;
                continue;
            }
            word += c;
            ++p;
        }
        while (IsBlank(*p)) ++p;
        if (word.empty()) continue;

        if (word.size() >= kCommandLineTextSize) {
            scan.refused.push_back(word);
            continue;
        }
        if (IsOptionWord(word)) {
            if (scan.options.size() < kMaxCommandLineOptions) {
                std::string option = NormaliseOption(word);
                std::string key = scan.BootKey() + option;
                if (key.size() < kCommandLineTextSize) {
                    scan.options.push_back(option);
                } else {
                    scan.refused.push_back(word);
                }
            }
            if (scan.rawOptions.size() + word.size() < kCommandLineTextSize) {
                scan.rawOptions += word;
            } else {
                scan.optionsTruncated = true;
            }
            continue;
        }
        scan.words.push_back(word);
    }
    return scan;
}

CommandLineState& GetCommandLineState()
{
    static CommandLineState state;
    return state;
}

int ProcessCommandLine(HWND window, const char* text, int showCommand,
                       const CommandLineHost& host, CommandLineState& state)
{
    if (showCommand >= 0 && window != nullptr) {
        ShowWindow(window, showCommand);
        UpdateWindow(window);
    }
    if (text == nullptr || *text == '\0') {
        if (host.startOpenDialogWanted && host.startOpenDialogWanted() && host.post) {
            host.post(window, WM_CADDB_NEW_WINDOW, 0, 0);
            state.newWindowPosted = 1;
        }
        return 1;
    }

    auto mayEnd = [&host](const std::string& word) {
        return (host.isDrawingFile && host.isDrawingFile(word)) ||
               (host.fileExists && host.fileExists(word));
    };
    CommandLineScan scan = ScanCommandLine(text, mayEnd);

    for (const std::string& word : scan.words) {
        if (host.fileExists && host.fileExists(word)) {
            state.fileFound = 1;
            if (host.bringForward) host.bringForward(window);
            if (host.openFile && host.openFile(window, word) != 0) state.fileOpened = 1;
        } else {
            if (host.bringForward) host.bringForward(window);
            if (host.showError) host.showError(window, word);
        }
    }
    for (const std::string& word : scan.refused) {
        if (host.showError) host.showError(window, word);
    }

    // With nothing opened the user gets an empty drawing window, as for an empty command line.
    if (state.fileOpened == 0 && host.post) {
        host.post(window, WM_CADDB_NEW_WINDOW, 0, 0);
        state.newWindowPosted = 1;
    }

    if (!scan.options.empty()) {
        if (window != nullptr && IsIconic(window)) ShowWindow(window, SW_SHOWNORMAL);
        state.bootKey = scan.BootKey();
        std::string value = host.readBootCommand ? host.readBootCommand(state.bootKey) : std::string();
        int command = value.empty() ? 0 : std::atoi(value.c_str());
        if (command > 0) {
            DbcsCopy(state.bootOptionText, sizeof state.bootOptionText, scan.rawOptions.c_str());
            if (host.post)
                host.post(window, WM_COMMAND, static_cast<WPARAM>(command),
                          reinterpret_cast<LPARAM>(state.bootOptionText));
            state.startActionDone = 1;
        }
    }
    return 1;
}

std::string FormatFileNotFoundMessage(const std::string& word)
{
    // The word is cut so that the text always fits the 400-byte message buffer.
    char shown[kCommandLineTextSize] = {};
    DbcsCopy(shown, sizeof shown, word.c_str());
    char text[400] = {};
    wsprintfA(text, GetMessageText(5121), shown);
    return text;
}

static void BringWindowForward(HWND window)
{
    if (window == nullptr) return;
    if (IsIconic(window)) {
        ShowWindow(window, SW_SHOWNORMAL);
        return;
    }
    SetForegroundWindow(window);
    SetActiveWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

CommandLineHost ProgramCommandLineHost()
{
    CommandLineHost host;
    host.isDrawingFile = [](const std::string& word) { return seam::GetDrawingFileType(word.c_str()) != 0; };
    host.fileExists = [](const std::string& word) { return seam::FindFirstFileExists(word.c_str()) != 0; };
    host.openFile = [](HWND window, const std::string& word) {
        return SendMessageA(window, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(word.c_str()));
    };
    host.showError = [](HWND, const std::string& word) {
        ShowErrorMessage(FormatFileNotFoundMessage(word).c_str());
    };
    host.readBootCommand = [](const std::string& key) {
        char value[80] = {};
        ReadConfigValue(value, 5, sizeof value, "BOOT", key.c_str(), "");
        return std::string(value);
    };
    host.startOpenDialogWanted = [] { return GetCadSystem().setup.iStartOpenDlgFg != 0; };
    host.bringForward = BringWindowForward;
    host.post = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        // The boot command goes to the main frame, whichever window the scan serves.
        HWND target = message == WM_COMMAND && GetMainFrameWnd() != nullptr ? GetMainFrameWnd() : window;
        PostMessageA(target, message, wParam, lParam);
    };
    return host;
}

int ProcessCommandLine(HWND window, const char* text, int showCommand)
{
    return ProcessCommandLine(window, text, showCommand, ProgramCommandLineHost(), GetCommandLineState());
}

const char* GetBootOptionKey() { return GetCommandLineState().bootKey.c_str(); }
const char* GetBootOptionText() { return GetCommandLineState().bootOptionText; }
