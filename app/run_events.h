#pragma once
// The event log's lines about the run itself: how it started (version, Windows, folders), the skin
// folder it read, and how it ended. Win32 files only.
#include <windows.h>

// The version from the program's VERSIONINFO, the Windows version (and Wine's, under Wine) and
// the program's folder.
void LogProgramStart();

// The skin folder read (with its trailing backslash), and whether its skin.ini is there.
void LogSkinFolder(const char* directory);

// The end of a run: the settings saved (`saveResult` ERROR_SUCCESS), or the error that kept them
// from it.
void LogRunEnd(LONG saveResult);
