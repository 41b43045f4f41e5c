#include "windows/support/responsiveness_watch.h"

namespace {
constexpr DWORD PERIOD_MS = 100;
}

ResponsivenessWatch::ResponsivenessWatch(HWND window)
    : window_(window), thread_([this] { Run(); }) {}

ResponsivenessWatch::~ResponsivenessWatch() {
  stop_ = true;
  thread_.join();
}

void ResponsivenessWatch::Run() {
  while (!stop_.load()) {
    ULONGLONG sent = GetTickCount64();
    DWORD_PTR result = 0;
    LRESULT answered =
        SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ANSWER_LIMIT_MS, &result);
    DWORD waited = static_cast<DWORD>(GetTickCount64() - sent);
    if (answered && waited <= ANSWER_LIMIT_MS) {
      ++answered_;
    } else {
      ++unanswered_;
    }
    if (waited > slowestMs_.load()) slowestMs_ = waited;
    Sleep(PERIOD_MS);
  }
}
