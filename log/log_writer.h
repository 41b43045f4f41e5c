#pragma once
// The event log's file: %LOCALAPPDATA%\Velquin\Torvex\torvex.log, moved aside to torvex.old.log
// once it would pass LOG_ROTATE_BYTES. A thread of its own writes the lines LogEvent queues, so
// no other thread ever waits for the disk. Nothing the writer meets (a folder that cannot be made,
// a full disk, a read-only file) stops or troubles the program: those lines are lost, unseen.
// Win32 files only.
#include <cstdint>

// How long the end of a run waits for the writer to write what is queued.
constexpr uint32_t LOG_STOP_WAIT_MS = 2000;

// Finds the log's folder and starts the writer; lines queued before are written first.
void StartEventLog();

// Writes what is queued and stops the writer, waiting at most `timeoutMs` for a slow disk.
// Lines logged later stay in the queue. Does nothing when the writer is not running.
void StopEventLog(uint32_t timeoutMs = LOG_STOP_WAIT_MS);

// The log's folder without a trailing backslash; empty before StartEventLog, or when no folder
// for local application data was found.
const char* EventLogFolder();

// For a crash: writes what is queued and then `lastText` as a line of its own, on the calling
// thread, without waiting for any lock another thread may hold.
void WriteEventLogNow(const char* lastText);
