// The files of the PDF import: the PDF itself, read whole and parsed from memory, and the data
// folder beside the plug-in ("VellocData\Pdf\..."). Windows paths through Win32 calls (under
// Wine a C library call would see Unix paths); plain files in a native build.
#pragma once

#include "PdfImportServices.h"

class PdfDataFolderFiles : public IPdfDataFiles
{
public:
    // folder: the plug-in's folder, ending with or without a separator.
    explicit PdfDataFolderFiles(const std::string& folder);

    std::string DataPath(const std::string& relative) override;
    bool ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes) override;
    bool FileExists(const std::string& path) override;

private:
    std::string m_folder;
};
