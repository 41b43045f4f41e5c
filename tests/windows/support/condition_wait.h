#pragma once
// Waiting for something another thread or process does, with a time limit.
#include <functional>

// Handles every window message already queued for the calling thread.
void DispatchPendingMessages();

constexpr int DEFAULT_WAIT_MS = 3000;

// Polls `done` every `pollMs` milliseconds until it holds or `timeoutMs` has passed, dispatching
// the calling thread's window messages in between so its windows keep receiving what is posted.
// The poll is coarse because a look may reach into another process (its windows, the shell's
// icons). Returns whether `done` held.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = DEFAULT_WAIT_MS, int pollMs = 20);
