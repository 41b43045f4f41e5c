#pragma once
// Waiting for something another thread or process does, with a time limit.
#include <functional>

// Polls `done` every few milliseconds until it holds or `timeoutMs` has passed, dispatching the
// calling thread's window messages in between so its windows keep receiving what is posted.
// Returns whether `done` held.
bool WaitForCondition(const std::function<bool()>& done, int timeoutMs);
