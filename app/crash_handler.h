#pragma once
// The last resort of a run: an exception no code handles, on any thread (a refresh pass, the
// bridge library's own thread, the UI), leaves a minidump and a last line beside the event log
// and ends the process at once. The settings are not saved: a crash may have torn them. Win32
// files only.

// Installs the process's unhandled-exception filter. The event log's writer runs already, so the
// dumps go beside the log.
void InstallCrashHandler();
