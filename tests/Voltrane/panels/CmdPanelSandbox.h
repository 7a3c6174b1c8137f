// A program folder and a per-user settings folder in a temporary folder for the command-panel
// tests, with the definition files' error boxes recorded instead of shown.
#pragma once

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/ProgramPaths.h"
#include "core/XmlFile.h"
#include "panels/CmdPanelContent.h"

class CmdPanelSandbox {
public:
    CmdPanelSandbox()
    {
        CreateDirectoryA((folder.Path() + "program").c_str(), nullptr);
        CreateDirectoryA((folder.Path() + "appdata").c_str(), nullptr);
        CreateDirectoryA((folder.Path() + "documents").c_str(), nullptr);
        OverrideProgramFolders(folder.Path() + "program\\Voltrane.exe", folder.Path() + "appdata",
                               folder.Path() + "documents");
        CreateDirectoryA((folder.Path() + "appdata\\Ostrel").c_str(), nullptr);
        CreateDirectoryA(UserDir().c_str(), nullptr);
        Boxes().clear();
        m_contentBox = CmdPanelContent::errorBox;
        m_xmlBox = CXMLFile::errorBox;
        CmdPanelContent::errorBox = Record;
        CXMLFile::errorBox = Record;
    }
    ~CmdPanelSandbox()
    {
        CmdPanelContent::errorBox = m_contentBox;
        CXMLFile::errorBox = m_xmlBox;
        OverrideProgramFolders("", "", "");
    }

    std::string UserDir() const { return folder.Path() + "appdata\\Ostrel\\VoltraneV8"; }
    std::string UserPanelFile() const { return UserDir() + "\\CmdPanel.def"; }
    bool WriteUserPanelFile(const std::string& xml) const
    {
        return folder.Write("appdata\\Ostrel\\VoltraneV8\\CmdPanel.def", xml);
    }
    std::string ReadUserPanelFile() const { return folder.Read("appdata\\Ostrel\\VoltraneV8\\CmdPanel.def"); }

    struct Box {
        std::string text, caption;
        UINT type;
    };
    static std::vector<Box>& Boxes()
    {
        static std::vector<Box> boxes;
        return boxes;
    }

    TempFolder folder;

private:
    static int WINAPI Record(HWND, LPCSTR text, LPCSTR caption, UINT type)
    {
        Boxes().push_back({text ? text : "", caption ? caption : "", type});
        return IDOK;
    }
    int(WINAPI* m_contentBox)(HWND, LPCSTR, LPCSTR, UINT);
    int(WINAPI* m_xmlBox)(HWND, LPCSTR, LPCSTR, UINT);
};

// A "PanelInfo" document of types, each a name and its item lines.
inline std::string PanelXml(const std::vector<std::pair<std::string, std::vector<std::string>>>& types,
                            const char* root = "PanelInfo")
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<" + std::string(root) + ">\n";
    for (const auto& type : types) {
        xml += "<" + type.first + "><data>";
        for (const auto& line : type.second) xml += "<item>" + line + "</item>";
        xml += "</data></" + type.first + ">\n";
    }
    return xml + "</" + std::string(root) + ">\n";
}
