#pragma once
// Watches that a window of another process keeps answering: from its own thread, sends WM_NULL
// every 100 ms and waits at most a second for the answer (SMTO_ABORTIFHUNG), for as long as the
// watch lives.
#include <windows.h>

#include <atomic>
#include <thread>

class ResponsivenessWatch {
 public:
  explicit ResponsivenessWatch(HWND window);
  ~ResponsivenessWatch();
  ResponsivenessWatch(const ResponsivenessWatch&) = delete;
  ResponsivenessWatch& operator=(const ResponsivenessWatch&) = delete;

  static constexpr DWORD ANSWER_LIMIT_MS = 1000;

  // Messages that went unanswered within the limit (or to a window that is gone).
  int Unanswered() const { return unanswered_.load(); }
  int Answered() const { return answered_.load(); }
  // The longest wait for an answer so far, in milliseconds.
  DWORD SlowestMs() const { return slowestMs_.load(); }

 private:
  void Run();

  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<int> unanswered_{0};
  std::atomic<int> answered_{0};
  std::atomic<DWORD> slowestMs_{0};
  std::thread thread_;
};
