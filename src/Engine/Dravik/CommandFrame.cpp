#include "CommandFrame.h"

#include <cstring>

#include "Dravik.h"

CommandFrame& CommandFrame::Instance()
{
    static CommandFrame frame;
    return frame;
}

void CommandFrame::Register(HWND owner, HostParamBlock* block)
{
    m_owner = owner;
    m_block = block;
}

bool CommandFrame::CanAbandon() const
{
    if (m_block == nullptr) return false;
    // VySetPara2 clears the buffer, so it holds something only once the plug-in armed it.
    static const unsigned char kZero[sizeof(jmp_buf)] = {};
    return std::memcmp(&m_block->jump, kZero, sizeof(jmp_buf)) != 0;
}

bool CommandFrame::Abandon()
{
    if (!CanAbandon()) return false;
    HostParamBlock* block = m_block;
    // One jump per arming: the next command registers and arms again.
    m_block = nullptr;
    longjmp(block->jump, 1);
}

DRAVIK_API int WINAPI VySetPara2(HWND owner, HostParamBlock* block)
{
    if (block == nullptr) return 0;
    // The plug-in arms the buffer right after this call; until then there is nothing to
    // jump to, whatever an earlier command left in it.
    std::memset(&block->jump, 0, sizeof block->jump);
    CommandFrame::Instance().Register(owner, block);
    return 1;
}
