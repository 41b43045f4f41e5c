#pragma once
// Waiting for something another thread or process does, with a time limit.
#include <functional>

// Handles every window message already queued for the calling thread.
void DispatchPendingMessages();

// Polls `done` every `pollMs` milliseconds until it holds or `timeoutMs` has passed, dispatching
// the calling thread's window messages in between so its windows keep receiving what is posted.
// Returns whether `done` held.
bool WaitForCondition(const std::function<bool()>& done, int timeoutMs, int pollMs = 5);
