// What the skin costs the UI thread: one Paint of the default skin into the window (a fresh
// Background1 copy and one blit to the screen), the same Paint with the live readout drawn over
// the display, and one SkinPoll tick over the 256 slots. Prints min, median and max of each, and
// the GDI objects held before and after.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "skin/skin_panel.h"
#include "skin/skin_poll.h"
#include "windows/support/gdi_object_count.h"

namespace {

constexpr int PAINTS = 500;
constexpr int TICKS = 2000;

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

double Milliseconds(LONGLONG ticks, LONGLONG frequency) {
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency);
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  std::printf("%-6s n=%zu min %.3f ms  median %.3f ms  max %.3f ms\n", what, samples.size(),
              samples.front(), samples[samples.size() / 2], samples.back());
}

template <typename Action>
std::vector<double> Time(int count, Action action) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    action();
    QueryPerformanceCounter(&end);
    samples.push_back(Milliseconds(end.QuadPart - start.QuadPart, frequency.QuadPart));
  }
  return samples;
}

}  // namespace

int main() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BenchWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "SkinPaintBench";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "SkinPaintBench", "Skin paint bench", WS_POPUP | WS_VISIBLE, 133,
                                135, 662, 230, nullptr, nullptr, windowClass.hInstance, nullptr);
  SkinPanel panel;
  panel.Load(window, ".\\skin\\", "MAIN", SkinPoll);
  if (panel.loadError != 0 || panel.controlCount == 0) {
    std::fprintf(stderr, "the default skin did not load from .\\skin\\\n");
    return 1;
  }
  SetForegroundWindow(window);
  std::printf("skin %dx%d, %d controls\n", panel.width, panel.height, panel.controlCount);

  HDC dc = GetDC(window);
  panel.Paint(dc);
  int32_t gdiBefore = CountGdiObjects();
  Report("paint", Time(PAINTS, [&] { panel.Paint(dc); }));
  ReadoutState shown;
  std::strcpy(shown.figure, "88");
  shown.unit = ReadoutUnit::DEGREES;
  shown.barPercent = 88;
  shown.linked = true;
  panel.ShowReadout(shown);
  Report("readout", Time(PAINTS, [&] { panel.Paint(dc); }));
  int32_t gdiAfter = CountGdiObjects();
  ReleaseDC(window, dc);
  Report("tick", Time(TICKS, [&] { SkinPoll(window, WM_TIMER, SKIN_POLL_TIMER_ID, 0); }));
  std::printf("gdi objects before %d, after %d paints %d\n", gdiBefore, PAINTS, gdiAfter);

  panel.Destroy();
  DestroyWindow(window);
  return gdiAfter == gdiBefore ? 0 : 1;
}
