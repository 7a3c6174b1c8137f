// Module-wide state of the plug-in: the parameter block handed to the host library, the owner
// window of the latest command and the plug-in's own module instance. One instance each, on
// the host's GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "HostParamBlock.h"

// The block handed to VySetPara2 before every command. Word 30 holds the module instance from
// attach on, word 29 the instance of the running command.
HostParamBlock& VellocHostBlock();

// Writes the module instance into word 30 (at process attach; tests call it with their own).
void AttachVellocModule(HINSTANCE instance);
// The plug-in's module instance (word 30): dialog templates, window classes, the file name.
HINSTANCE VellocInstance();

// The host window of the latest StartCmdEx; zero until a host has called.
HWND OwnerWindow();
void SetOwnerWindow(HWND window);

// The parameter text of the command being run, whole (the host may hand more than 256 bytes).
const std::string& CommandParameterText();
void SetCommandParameterText(const std::string& text);

// The folder of the plug-in's own file joined with a relative path; empty when the module's
// file name cannot be read.
std::string GetModuleRelativePath(const char* relativePath);
