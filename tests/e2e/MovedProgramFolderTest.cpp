// A program folder is whole wherever it lies: a copy of it in another folder starts, binds the
// engine beside it and runs the PDF plug-in's batch import, without reaching back into the folder
// it was copied from.
#include "GTest.h"

#include "ProgramProcess.h"
#include "TempFolder.h"

#include <string>

namespace {

// Copies a folder with all its files and subfolders; false at the first entry that fails.
bool CopyFolder(const std::string& from, const std::string& to)
{
    if (!CreateDirectoryA(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((from + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyFolder(from + name + "\\", to + name + "\\");
        else
            copied = CopyFileA((from + name).c_str(), (to + name).c_str(), TRUE) != FALSE;
    } while (copied && FindNextFileA(find, &entry));
    FindClose(find);
    return copied;
}

}  // namespace

TEST(MovedProgramFolder, ACopyStartsClosesAndImportsAPdfPageThroughItsOwnLibraries)
{
    TempFolder temp;
    const std::string copy = temp.File("moved program\\");
    ASSERT_TRUE(CopyFolder(ProgramFolder(), copy)) << "could not copy " << ProgramFolder();

    ProgramProcess program;
    ASSERT_TRUE(program.StartIn(copy, "Voltrane.exe.so", ""));
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr) << "the copied program showed no main window";
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);

    // The plug-in's tests of the copy load the copy's Velloc.dll.so by its path and import pages
    // of a PDF file through its batch entry into a database of the copy's engine.
    ProgramProcess import;
    ASSERT_TRUE(import.StartIn(copy, "VellocTests.exe.so",
                               "--gtest_filter=LoadPdfCommand.BatchImportIntoTheCallersDatabase"));
    ASSERT_TRUE(import.WaitForExit(120000, &exitCode));
    EXPECT_EQ(exitCode, 0u) << "the batch import of the copied plug-in failed";
}
