// The frame of the running plug-in command: its owner window and parameter block, and the
// way the library abandons the command (a long jump to the block's jump buffer).
#pragma once

#include <windows.h>

#include "HostParamBlock.h"

class CommandFrame {
public:
    static CommandFrame& Instance();

    void Register(HWND owner, HostParamBlock* block);
    HWND Owner() const { return m_owner; }
    HostParamBlock* Block() const { return m_block; }
    // True while a block is registered whose jump buffer has been armed.
    bool CanAbandon() const;
    // Abandons the running command: jumps to the armed jump buffer with the value 1 and does
    // not return. Returns false (and does nothing) when no armed block is registered. Call it
    // only from the outermost frame of a library call that the plug-in made, never from a
    // window procedure, so no system frame lies between the jump and its target.
    bool Abandon();

private:
    CommandFrame() = default;

    HWND m_owner = nullptr;
    HostParamBlock* m_block = nullptr;
};
