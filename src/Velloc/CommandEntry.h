// What the plug-in's exports do (VellocEntry.cpp only forwards): the command entry with its
// recovery from an abandoned command, and the set-up of a stand-alone host product.
#pragma once

#include <windows.h>

#include "CommandRegistry.h"

// The command entry: registers the parameter block with the host library, dispatches the line
// and answers the command's result; -1 with the "cannot start" box when no command started;
// 0 without a box when the host library abandoned the command. No exception leaves it.
int RunCommandEntry(const CommandRegistry& registry, HWND host, const char* line, void* context);

// The message box for a command that could not be started, owned by the owner window.
void ShowCommandNotStartedBox();

// Product name (default "DaDirovedov") and colour sets for a stand-alone host; before any host
// program has called, also the line-type picker classes. Always 0.
int BeginProduct(const char* productName);
int FinishProduct();

constexpr const char kDefaultProductName[] = "DaDirovedov";
