// The command-line scanner: takes a command line apart into drawing files and start options.
//
// The scan itself is pure (ScanCommandLine): it needs only to know where an unquoted word may
// end at a blank, which depends on the files that exist. ProcessCommandLine then opens the
// files through the main frame and posts the boot command of the options.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Sizes of the scanner's texts; anything longer is refused rather than cut.
constexpr size_t kCommandLineTextSize = 260;
constexpr size_t kMaxCommandLineOptions = 10;

struct CommandLineScan {
    std::vector<std::string> words;       // file words in order (not options)
    std::vector<std::string> options;     // normalised options, at most 10 ("/NUM", "/A"...)
    std::string rawOptions;               // the option words as typed, concatenated
    std::vector<std::string> refused;     // words or options too long to handle
    bool optionsTruncated = false;        // the raw option text did not take every option

    // The stored options concatenated: the key of sections "BOOT" and "DESTROY".
    std::string BootKey() const;
};

// True when an unquoted word may end at the blank that follows it: the word is a drawing file
// by its extension or names an existing file.
using WordEndTest = std::function<bool(const std::string& word)>;

// Splits the text. Options are words starting with '/' or '-': their characters after the
// first, without the digits, upper-cased, make "/" + rest, or "/NUM" when nothing is left.
CommandLineScan ScanCommandLine(const char* text, const WordEndTest& mayEndAt);

// Normalises one option word as typed ("/X1Y" → "/XY", "/5" → "/NUM").
std::string NormaliseOption(const std::string& word);

// What ProcessCommandLine needs of the rest of the program; the real program fills it from
// its frame, its drawing files and its ini file.
struct CommandLineHost {
    std::function<bool(const std::string&)> isDrawingFile;      // by extension
    std::function<bool(const std::string&)> fileExists;
    std::function<LRESULT(HWND, const std::string&)> openFile;  // WM_CADDB_OPEN_FILE answer
    std::function<void(HWND, const std::string&)> showError;    // a message for the user
    std::function<std::string(const std::string&)> readBootCommand;  // "BOOT" value of a key
    std::function<bool()> startOpenDialogWanted;                // iStartOpenDlgFg
    std::function<void(HWND)> bringForward;
    std::function<void(HWND, UINT, WPARAM, LPARAM)> post;
};

// State kept by the scanner for the whole run.
struct CommandLineState {
    int fileFound = 0;        // a word named an existing file
    int fileOpened = 0;       // the frame answered an open request with non-zero
    int startActionDone = 0;  // a boot command was posted
    int newWindowPosted = 0;  // an empty drawing window was asked for (WM_CADDB_NEW_WINDOW)
    std::string bootKey;      // read again when the main window closes
    char bootOptionText[kCommandLineTextSize] = {};  // lParam of the posted boot command
};

CommandLineState& GetCommandLineState();

// Scans the text, opens its files through the window, and posts the boot command of its
// options. showCommand < 0: the window is not shown. Returns 1.
int ProcessCommandLine(HWND window, const char* text, int showCommand,
                       const CommandLineHost& host, CommandLineState& state);

// The program's host: files by extension and by FindFirstFileA, WM_CADDB_OPEN_FILE sent to the
// window, catalogue text 5121 through the main window's error box, section "BOOT" of the
// program ini file, iStartOpenDlgFg of the per-user settings, messages posted to the window
// (the boot command to the main frame).
CommandLineHost ProgramCommandLineHost();

// The program's scan with its own host and the run's state.
int ProcessCommandLine(HWND window, const char* text, int showCommand);

// The message for a word that names no file: text 5121 formatted with the word (cut to fit).
std::string FormatFileNotFoundMessage(const std::string& word);

// The boot key of the last scan with options ("/NUM"), and the option text of the posted boot
// command (empty when none was posted); read when the main window closes.
const char* GetBootOptionKey();
const char* GetBootOptionText();
