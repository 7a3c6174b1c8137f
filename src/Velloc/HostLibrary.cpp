#include "HostLibrary.h"

namespace {

bool g_abandonmentNoted = false;

}  // namespace

void NoteAbandonment() { g_abandonmentNoted = true; }

bool AbandonmentNoted() { return g_abandonmentNoted; }

void ClearNotedAbandonment() { g_abandonmentNoted = false; }

void RethrowNotedAbandonment()
{
    if (!g_abandonmentNoted) return;
    g_abandonmentNoted = false;
    throw CommandAbandoned();
}

namespace host_call_detail {

void Save(SavedJump& saved)
{
    std::memcpy(&saved.buffer, &VellocHostBlock().jump, sizeof saved.buffer);
}

void Restore(const SavedJump& saved)
{
    std::memcpy(&VellocHostBlock().jump, &saved.buffer, sizeof saved.buffer);
}

}  // namespace host_call_detail
