#pragma once
// The 20 ms poll that makes the skin's controls follow the mouse, issue the window's commands
// and start window drags. Win32 files only.
#include <windows.h>

#include <cstdint>
#include <memory>

class SkinControl;
class SkinPanel;

constexpr UINT_PTR SKIN_POLL_TIMER_ID = 0;
constexpr UINT SKIN_POLL_PERIOD_MS = 20;

// The SkinPollTimer's timer procedure. Called with a null window it registers a panel instead of
// polling: `message` then carries the panel's control slots and `timerId` the panel (see
// RegisterSkinPoll).
void CALLBACK SkinPoll(HWND window, UINT message, UINT_PTR timerId, DWORD time);

// The registration call that the panel makes through its poll procedure, the two pointers passed
// through the timer procedure's integer parameters.
void RegisterSkinPoll(TIMERPROC poll, std::unique_ptr<SkinControl>* controls, SkinPanel* panel);
