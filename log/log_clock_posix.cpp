#include <chrono>
#include <ctime>

#include "log/log_clock.h"

LogTime ReadLocalLogTime() {
  using namespace std::chrono;
  system_clock::time_point now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  int64_t millisecond = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int32_t>(millisecond)};
}

int64_t ReadSteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
