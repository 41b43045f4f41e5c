#pragma once
// The 20 ms poll that makes the skin's controls follow the mouse, issue the window's commands
// and start window drags. Win32 files only.
#include <windows.h>

class SkinPanel;

constexpr UINT_PTR SKIN_POLL_TIMER_ID = 0;
constexpr UINT SKIN_POLL_PERIOD_MS = 20;

// Makes `panel` the one whose controls the poll follows, for the life of the process.
void RegisterSkinPoll(SkinPanel* panel);

// The SkinPollTimer's timer procedure: one tick for `window`, over the registered panel.
void CALLBACK SkinPoll(HWND window, UINT message, UINT_PTR timerId, DWORD time);
