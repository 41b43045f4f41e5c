#include "settings/work_area.h"

#include "settings/window_placement.h"

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM parameter) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& work = info.rcWork;
    reinterpret_cast<std::vector<RecordRect>*>(parameter)->push_back(
        {work.left, work.top, work.right, work.bottom});
  }
  return TRUE;
}

}  // namespace

std::vector<RecordRect> CurrentWorkAreas() {
  std::vector<RecordRect> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  return workAreas;
}

void MoveOntoWorkArea(HWND window, const RecordRect& rect) {
  std::vector<RecordRect> workAreas = CurrentWorkAreas();
  RecordRect placed = PlaceOnWorkArea(rect, workAreas.data(), workAreas.size());
  SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void KeepOnWorkArea(HWND window) {
  RECT current;
  if (!GetWindowRect(window, &current)) return;
  MoveOntoWorkArea(window, {current.left, current.top, current.right, current.bottom});
}
