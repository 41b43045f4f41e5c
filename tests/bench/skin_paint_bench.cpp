// What the skin costs the UI thread: one Paint of the default skin into the window, the same Paint
// with the live readout drawn over the display, and one SkinPoll tick over the 256 slots. Prints
// min, median and max of each, and the GDI objects held before and after; each paint median has a
// goal of 1 ms.
//
// Then the pictures Paint makes of a skin with every kind of control, in four sets of states. The
// first run keeps them in build/windows/bench-reference/; every later run compares them pixel for
// pixel with those, so that a change made to paint faster shows whether it changed a pixel.
// Delete the folder to take new ones.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "skin/skin_panel.h"
#include "skin/skin_poll.h"
#include "support/bmp_file.h"
#include "windows/support/gdi_object_count.h"

namespace {

constexpr int PAINTS = 500;
constexpr int TICKS = 2000;
constexpr double GOAL_PAINT_MEDIAN_MS = 1.0;

// The default skin's pictures and commands, and one control of every other kind. Names with a
// backslash are taken from the working folder (build/windows/bin) as they are.
constexpr char PICTURE_SKIN[] =
    "[MAIN]\r\n"
    "Background1=skin\\background1.bmp\r\n"
    "Background2=skin\\background2.bmp\r\n"
    "RECT=16,40,254,136,12,6,408,36,264,40,404,136\r\n"
    "Button.1=PUSHBUTTON,268,44,64,40,skin\\setup.bmp,Setup\r\n"
    "Button.2=PUSHBUTTON,336,44,64,40,skin\\fan.bmp,Fan\r\n"
    "Button.3=PUSHBUTTON,268,92,64,40,skin\\hide.bmp,Hide\r\n"
    "Button.4=PUSHBUTTON,336,92,64,40,skin\\quit.bmp,Quit\r\n"
    "Button.5=RADIOBOX,20,44,64,40,skin\\setup.bmp,Radio A\r\n"
    "Button.6=RADIOBOX,90,44,64,40,skin\\fan.bmp,Radio B\r\n"
    "Button.7=CHECKBOX,20,92,64,40,skin\\hide.bmp,Check\r\n"
    "Button.8=IMAGE,160,92,64,40,skin\\quit.bmp,Image\r\n"
    "Button.9=TEXT,20,10,8,14,CPU\\ 42 %,RGB(255 200 0)\r\n"
    "Button.10=TEXT,200,10,8,14,Off\\line,RGB(0 255 0)\r\n";

struct PictureState {
  const char* name;
  std::function<void(SkinPanel&)> set;
};

void SetAllStates(SkinPanel& panel, ControlState state) {
  for (int32_t i = 0; i < panel.controlCount; ++i) panel.controls[i]->state = state;
}

const PictureState PICTURE_STATES[] = {
    {"normal", [](SkinPanel&) {}},
    {"hover", [](SkinPanel& panel) { SetAllStates(panel, ControlState::HOVER); }},
    {"pressed",
     [](SkinPanel& panel) {
       SetAllStates(panel, ControlState::PRESSED);
       panel.controls[4]->checked = 1;
       panel.controls[6]->checked = 1;
       panel.controls[2]->showFrame3 = 1;
     }},
    {"marked",
     [](SkinPanel& panel) {
       panel.selectedRegion = 1;
       panel.focusedControl = 0;
       panel.controls[1]->enabled = 0;
       panel.controls[3]->visible = 0;
       panel.controls[9]->enabled = 0;
     }},
};

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
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

// Blue, green, red rows of a bitmap, bottom row first, each padded to four bytes.
std::vector<uint8_t> Rows24(HBITMAP bitmap, int32_t width, int32_t height) {
  std::vector<uint8_t> rows(static_cast<size_t>(((width * 3 + 3) & ~3) * height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  int lines = GetDIBits(screen, bitmap, 0, height, rows.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != height) rows.clear();
  return rows;
}

// What the `paint`th paint of the panel shows (the first is 1): a paint may leave something
// behind that the next one shows.
std::vector<uint8_t> PaintedRows(SkinPanel& panel, int paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, panel.width, panel.height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (int i = 0; i < paint; ++i) panel.Paint(dc);
  SelectObject(dc, previous);
  DeleteDC(dc);
  std::vector<uint8_t> rows = Rows24(bitmap, panel.width, panel.height);
  DeleteObject(bitmap);
  return rows;
}

std::vector<uint8_t> BitmapFileRows(const std::string& path, int32_t width, int32_t height) {
  BmpSize size;
  if (!ReadBmpSize(path, &size) || size.width != width || size.height != height) return {};
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return {};
  std::vector<uint8_t> rows = Rows24(bitmap, width, height);
  DeleteObject(bitmap);
  return rows;
}

// Paints the picture skin in each state and compares with the kept pictures, or keeps them when
// there are none. False when a picture differs or cannot be made.
bool CheckPictures(HWND window) {
  CreateDirectoryA("paint_bench_skin", nullptr);
  std::ofstream("paint_bench_skin\\skin.ini", std::ios::binary | std::ios::trunc) << PICTURE_SKIN;
  CreateDirectoryA("..\\bench-reference", nullptr);
  int kept = 0, same = 0, differing = 0;
  for (const PictureState& state : PICTURE_STATES) {
    SkinPanel panel;
    panel.Load(window, "paint_bench_skin\\", "MAIN", SkinPoll);
    if (panel.loadError != 0 || panel.controlCount != 10) {
      std::fprintf(stderr, "the picture skin did not load\n");
      panel.Destroy();
      return false;
    }
    state.set(panel);
    std::vector<uint8_t> painted = PaintedRows(panel, 1);
    if (PaintedRows(panel, 2) != painted) {
      std::printf("paint picture \"%s\" changes from one paint to the next\n", state.name);
      painted.clear();
    }
    std::string path = std::string("..\\bench-reference\\paint-") + state.name + ".bmp";
    std::vector<uint8_t> reference = BitmapFileRows(path, panel.width, panel.height);
    if (painted.empty()) {
      ++differing;
    } else if (reference.empty()) {
      kept += WriteBmp24(path, panel.width, panel.height, painted) ? 1 : 0;
    } else if (reference == painted) {
      ++same;
    } else {
      ++differing;
      WriteBmp24(std::string("..\\bench-reference\\now-") + state.name + ".bmp", panel.width,
                 panel.height, painted);
      std::printf("paint picture \"%s\" differs from the kept one\n", state.name);
    }
    panel.Destroy();
  }
  if (kept > 0) std::printf("paint pictures: %d kept in build/windows/bench-reference\n", kept);
  std::printf("paint pictures: %d identical to the kept ones, %d different\n", same, differing);
  return differing == 0;
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
  std::vector<double> paints = Time(PAINTS, [&] { panel.Paint(dc); });
  Report("paint", paints);
  ReadoutState shown;
  std::strcpy(shown.figure, "88");
  shown.unit = ReadoutUnit::DEGREES;
  shown.barPercent = 88;
  shown.linked = true;
  panel.ShowReadout(shown);
  std::vector<double> readoutPaints = Time(PAINTS, [&] { panel.Paint(dc); });
  Report("readout", readoutPaints);
  int32_t gdiAfter = CountGdiObjects();
  ReleaseDC(window, dc);
  Report("tick", Time(TICKS, [&] { SkinPoll(window, WM_TIMER, SKIN_POLL_TIMER_ID, 0); }));
  std::printf("gdi objects before %d, after %d paints %d\n", gdiBefore, PAINTS, gdiAfter);
  // At 2x, as on a 200 % display, with the readout shown.
  panel.ChangeDpi(192, nullptr);
  dc = GetDC(window);
  std::vector<double> paints2x = Time(PAINTS, [&] { panel.Paint(dc); });
  Report("2x", paints2x);
  ReleaseDC(window, dc);

  panel.Destroy();

  bool picturesSame = CheckPictures(window);
  DestroyWindow(window);
  bool paintMet =
      std::max({Median(paints), Median(readoutPaints), Median(paints2x)}) <= GOAL_PAINT_MEDIAN_MS;
  std::printf("goal paint median <= %.1f ms: %s\n", GOAL_PAINT_MEDIAN_MS,
              paintMet ? "met" : "missed");
  return gdiAfter == gdiBefore && picturesSame && paintMet ? 0 : 1;
}
