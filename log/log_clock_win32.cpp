#include <windows.h>

#include "log/log_clock.h"

LogTime ReadLocalLogTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

int64_t ReadSteadyMs() {
  return static_cast<int64_t>(GetTickCount64());
}
