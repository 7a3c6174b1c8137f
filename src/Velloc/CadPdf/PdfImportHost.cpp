#include "PdfImportHost.h"

#include "CadPdf/FontExchangeTable.h"
#include "CidToUnicodeTable.h"
#include "HostLibrary.h"
#include "VellocModule.h"

#include <windows.h>

namespace {

const char kImportSettingsFile[] = "%USER_LOCAL_APPDATA%SETTEI\\PdfIn.ini";
const DWORD kSettingBufferBytes = 2048;

}  // namespace

int LoadCidToUnicode()
{
    PdfDataFolderFiles files(GetModuleRelativePath(""));
    return LoadCidToUnicode(files);
}

PdfImportHost::PdfImportHost()
    : m_files(GetModuleRelativePath("")), m_services{&m_codePage, this, this, &m_files, this}
{
}

std::string PdfImportHost::ReadSystemValue(const char* key, const char* defaultValue)
{
    char buffer[kSettingBufferBytes] = {};
    HostLib::QmCadApi_GetPrivateProfileString("SYSTEM", key, defaultValue, buffer, kSettingBufferBytes,
                                              kImportSettingsFile);
    return buffer[0] != '\0' ? std::string(buffer) : std::string(defaultValue);
}

bool PdfImportHost::MapToCadFont(const std::string& pdfName, std::string& cadName)
{
    return ImportFontTable().MapToCadFont(pdfName.c_str(), cadName) == 0;
}

bool PdfImportHost::MoveDescent()
{
    FontExchangeTable& table = ImportFontTable();
    if (!table.Loaded()) table.LoadImport();
    return table.MoveDescent();
}

bool PdfImportHost::MeasureTextExtent(const std::string& face, const std::string& text, double& width, double& height)
{
    SIZE size = {};
    if (::MeasureTextExtent(face.c_str(), &size, text.c_str()) != 0) return false;
    width = size.cx;
    height = size.cy;
    return true;
}

bool PdfImportHost::FontDescentRatio(const std::string& face, double& ratio)
{
    ratio = 0;
    return GetFontDescentRatio(face.c_str(), &ratio) != 0 && ratio > 0;
}

void PdfImportHost::Show(const std::string& text, const std::string& caption, Kind kind)
{
    // The PDF library's errors have no owner window; warnings belong to the host window.
    const UINT icon = (kind == Warning) ? MB_ICONWARNING : 0;
    MessageBoxA(kind == Error ? nullptr : OwnerWindow(), text.c_str(), caption.c_str(), MB_OK | icon);
}
