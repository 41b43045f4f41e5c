#pragma once
// Keeps every processor busy (two threads at least) for as long as it lives, so the CPU figure
// climbs well above what an idle machine shows.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

class BusyThreads {
 public:
  BusyThreads() {
    unsigned count = std::max(2u, std::thread::hardware_concurrency());
    for (unsigned i = 0; i < count; ++i) {
      threads_.emplace_back([this] {
        while (!stop_.load(std::memory_order_relaxed)) {
        }
      });
    }
  }
  ~BusyThreads() {
    stop_ = true;
    for (std::thread& thread : threads_) thread.join();
  }
  BusyThreads(const BusyThreads&) = delete;
  BusyThreads& operator=(const BusyThreads&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};
