// What the host library remembers for the whole run: the program's settings record, its
// main frame, the panel type and the product name.
#pragma once

#include <windows.h>

class HostState {
public:
    static HostState& Instance();

    void* ConfigData() const { return m_configData; }
    void SetConfigData(void* config) { m_configData = config; }
    HWND MainFrame() const { return m_mainFrame; }
    void SetMainFrame(HWND frame) { m_mainFrame = frame; }
    int CmdPanelType() const { return m_cmdPanelType; }
    void SetCmdPanelType(int type) { m_cmdPanelType = type; }
    const char* ProductName() const { return m_productName; }
    void SetProductName(const char* name);

private:
    HostState();

    void* m_configData = nullptr;
    HWND m_mainFrame = nullptr;
    int m_cmdPanelType = 0;
    char m_productName[64];
};
