#pragma once
// The RefreshWorker: a thread that runs one refresh pass each time the main window's
// RefreshTimer resumes it, then re-arms the timer and suspends itself. Win32 files only.
#include <windows.h>

constexpr UINT_PTR REFRESH_TIMER_ID = 1;
constexpr UINT REFRESH_PERIOD_MS = 800;
// How long a link change waits for a pass in progress before going on all the same.
constexpr DWORD REFRESH_PASS_WAIT_MS = 100000;
// Posted to the window after every pass: the pass's outcome as PackPassOutcome packs it, the first
// half in wParam and the second in lParam.
constexpr UINT PASS_OUTCOME_MESSAGE = WM_APP + 1;

// Creates the worker suspended, so no pass starts before the first tick, with the lock its passes
// hold, and starts the cycle. Its passes stop and re-arm `window`'s RefreshTimer. Returns the
// thread handle (null on failure); the caller owns it.
HANDLE CreateRefreshWorker(HWND window);

// One refresh pass against the system and the linked meter, stopping and re-arming `window`'s
// RefreshTimer and posting it the outcome: what the worker runs each time it is resumed.
void RunWindowsRefreshPass(HWND window);

// Arms (or re-arms, restarting its period) the RefreshTimer of `window`.
void StartRefreshTimer(HWND window);
void StopRefreshTimer(HWND window);

// The end of the run: waits for the pass in progress (as RefreshPassHold does), stops the
// RefreshTimer of `window` and keeps every later resume from running a pass or re-arming it.
void EndRefreshCycle(HWND window);

// After EndRefreshCycle: wakes `worker` so that it leaves, and once it has, closes the pass lock.
// A worker stuck inside a pass keeps the lock. The handle stays the caller's.
void EndRefreshWorker(HANDLE worker);
// The PC goes to sleep: waits for the pass in progress, stops the RefreshTimer of `window` and
// runs no pass until ResumeRefreshCycle.
void PauseRefreshCycle(HWND window);
// The wake: the first pass comes at once, and the RefreshTimer runs on with its period. Nothing
// once the run has ended.
void ResumeRefreshCycle(HWND window);

// The WM_TIMER handler's half of the handshake. A tick that comes while a pass runs finds the
// thread not suspended, and the resume has no effect.
void ResumeRefreshWorker(HANDLE worker);

// Held while the link changes: waits until no pass is in progress (at most `timeoutMs`, then goes
// on all the same) and keeps a new pass from starting until it is released.
class RefreshPassHold {
 public:
  explicit RefreshPassHold(DWORD timeoutMs = REFRESH_PASS_WAIT_MS);
  ~RefreshPassHold();
  RefreshPassHold(const RefreshPassHold&) = delete;
  RefreshPassHold& operator=(const RefreshPassHold&) = delete;
  bool Acquired() const { return acquired; }

 private:
  bool acquired = false;
};
