// The command "PDF読込": turns one page of a PDF file into a new drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "CmdBase.h"

#include <string>

class CLoadPdf : public CCmdBaseEx {
public:
    // Turns one page of a PDF file into drawing elements: 0 when the user cancels (the file
    // choice or the import settings dialog), -1 when nothing was converted, else the PDF's page
    // count. With a context (a stand-alone host's database) the parameter text holds the path
    // and the options "/PG:" (zero-based page) and "/OD" (show the import settings dialog).
    int Run();

    int32_t m_flag = 0;  // bit 0: the import settings dialog is shown
};

// Takes "/PG:" and its digits out of the text (blanking what it passes over up to the next
// blank) and answers the zero-based page index (0 without digits).
int TakePageOption(std::string& text);

// The open-file dialog of the import: the chosen path, or empty when cancelled.
std::string ChoosePdfFile();

// The import settings dialog over the active window: the chosen page index is written back;
// 1 when the user confirms, another value when it is cancelled.
struct PdfPageInfo;
class QmCadDocument;
int ShowPdfImportDialog(const std::vector<PdfPageInfo>& pages, int* pageIndex, QmCadDocument* document,
                        int pageCount);

// LoadCidToUnicode (at process attach): the CID-to-Unicode table beside the library.
#include "CadPdf/CidToUnicodeTable.h"
