// The exception code the platform gives a write through a null pointer, for tests that check what
// the program logs when a plug-in command faults.
#pragma once

#include <string>

// An access violation on Windows and under wine; a host that delivers page faults without their
// trap number (qemu's user-mode emulator) makes wine report an illegal instruction instead.
long NullWriteFaultCode();

// The program's log line for a plug-in command ended by that fault, up to its message text.
std::string FaultLogLinePrefix();
