#pragma once
// The 20 ms poll that makes the skin's controls follow the mouse, issue the window's commands
// and start window drags. It rests (its timer stopped) while every tick would change nothing, and
// the owner window's messages wake it. Win32 files only.
#include <windows.h>

class SkinPanel;

constexpr UINT_PTR SKIN_POLL_TIMER_ID = 0;
constexpr UINT SKIN_POLL_PERIOD_MS = 20;

// Makes `panel` the one whose controls the poll follows, and starts the SkinPollTimer on its
// owner window with `poll` as the timer procedure.
void StartSkinPoll(SkinPanel* panel, TIMERPROC poll);

// Stops the SkinPollTimer on `panel`'s owner window; when `panel` is the one the poll follows,
// no message wakes it until the next start.
void StopSkinPoll(SkinPanel* panel);

// The owner window passes every message it receives here. The poll rests once the pointer has
// left the window and the controls have settled, or while the window is hidden, minimised or
// behind another; the messages that may come before a tick has something to do again (the
// pointer or a button over the window, activation, a change of place, size or visibility, the
// end of a menu) restart its timer.
void WakeSkinPollFor(HWND window, UINT message);

// The SkinPollTimer's timer procedure: one tick for `window`, over the registered panel.
void CALLBACK SkinPoll(HWND window, UINT message, UINT_PTR timerId, DWORD time);
