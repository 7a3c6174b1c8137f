// The operation log: one text file per program start in the log folder of the settings, with
// a header describing the machine, and one line per record that passes the thresholds LOG
// (records with a title) and CMDLOG (records without). Records also go to an outside log
// viewer window when one is running. The local-time counters of the program live here too.
#pragma once

#include <windows.h>

#include <string>

class CSystemLog {
public:
    CSystemLog() = default;
    virtual ~CSystemLog() = default;
};

// Registers the window message "CwVyLogMsg" that carries records to the viewer.
void RegisterSystemLogMessage();
// Creates the day's next log file and writes its header; 1 done (or LOG is 0), 0 not.
int OpenSystemLog();
// A record: printf-style format and arguments, the message cut to 1023 bytes.
void WriteSystemLog(int level, const char* title, const char* format, ...);
// A record whose text is taken as it is, never as a format (texts that plug-ins hand in).
void WriteSystemLogText(int level, const char* title, const char* text);

// The current local time as "hh:mm:ss" (buffer of at least 9 bytes).
void FormatLogTime(char* buffer);
// Local time counters from the start of the month. They jump back when a month begins: use
// GetMonotonicMilliseconds to measure intervals.
int GetSecondsOfMonth();
double GetMillisecondsOfMonth();
// Milliseconds of a clock that never goes back, for intervals.
double GetMonotonicMilliseconds();
// Scales a byte count to "byte", "KB", "MB" or "GB" (unit: at least 8 bytes).
void ScaleByteSize(double* value, char* unit);

// The log file of this start; empty while there is none.
const char* GetSystemLogPath();

// Tests replace the local clock and forget the log file between cases.
using SystemLogClock = void (*)(SYSTEMTIME* now);
void SetSystemLogClock(SystemLogClock clock);
void ResetSystemLog();
