#include "skin/skin_panel.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "skin/skin_file.h"
#include "skin/skin_poll.h"

namespace {

// LR_COPYFROMRESOURCE: the flag the background copy is made with; a bitmap copy ignores it.
constexpr UINT BACKGROUND_COPY_FLAGS = 0x4000;

// The 44-byte form of TOOLINFOA: up to the text pointer, then the application value (0).
constexpr UINT TOOLINFO_SIZE = offsetof(TTTOOLINFOA, lParam) + sizeof(LPARAM);
#ifndef _WIN64
static_assert(TOOLINFO_SIZE == 44, "tooltips are added with the 44-byte TOOLINFOA");
#endif

constexpr size_t PROFILE_BUFFER_SIZE = 4096;

// Values come back whole (up to the large buffer); the skin reader cuts each to its own field.
SkinProfileReader ProfileFileReader(const char* path) {
  std::string file = path;
  return [file](const char* section, const char* key) {
    char value[PROFILE_BUFFER_SIZE];
    DWORD length = GetPrivateProfileStringA(section, key, "", value, sizeof value, file.c_str());
    return std::string(value, length);
  };
}

HWND CreateTooltipWindow(HWND owner) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE));
  return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

void AddTooltip(HWND tooltipWindow, HWND owner, SkinControl& control) {
  TTTOOLINFOA info{};
  info.cbSize = TOOLINFO_SIZE;
  info.uFlags = TTF_SUBCLASS | TTF_CENTERTIP;
  info.hwnd = owner;
  info.uId = static_cast<UINT_PTR>(control.index);
  info.rect = control.ControlRect();
  info.hinst = nullptr;
  info.lpszText = control.tooltip;
  SendMessageA(tooltipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CopyRegion(HDC canvas, HDC source, const RECT& region) {
  if (IsRectEmpty(&region)) return;
  BitBlt(canvas, region.left, region.top, region.right - region.left, region.bottom - region.top,
         source, region.left, region.top, SRCCOPY);
}

// A copy of Background1 to compose on: it keeps Background1's format, so Background1 blitted
// onto it again is exact. Without one, a black canvas of the window's size still takes the
// controls.
HBITMAP MakeCanvasBitmap(HBITMAP background, int32_t width, int32_t height, bool* copied) {
  *copied = false;
  if (background != nullptr) {
    HANDLE copy = CopyImage(background, IMAGE_BITMAP, width, height, BACKGROUND_COPY_FLAGS);
    *copied = copy != nullptr;
    if (copy != nullptr) return static_cast<HBITMAP>(copy);
  }
  HDC screen = GetDC(nullptr);
  HBITMAP blank = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(dc, blank);
  PatBlt(dc, 0, 0, width, height, BLACKNESS);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return blank;
}

// One pixel outside the control on every side.
void DrawFocus(HDC canvas, RECT around) {
  InflateRect(&around, 1, 1);
  DrawFocusRect(canvas, &around);
}

}  // namespace

SkinPanel* SkinPanel::Load(HWND owner, const char* directory, const char* sectionName,
                           TIMERPROC poll) {
  std::snprintf(skinDirectory, sizeof skinDirectory, "%s", directory);
  char skinFile[SKIN_NAME_SIZE];
  FormSkinFilePath(skinDirectory, skinFile, sizeof skinFile);
  std::snprintf(section, sizeof section, "%s", sectionName);

  ReleaseCanvas();
  focusedControl = -1;
  controlCount = 0;
  ownerWindow = owner;
  width = 0;
  height = 0;
  dragEnabled = 0;
  loadError = 0;
  selectedRegion = -1;
  for (RECT& region : regions) region = RECT{};
  for (std::unique_ptr<SkinControl>& slot : controls) slot.reset();
  background1 = nullptr;
  background2 = nullptr;

  InitCommonControls();

  SkinProfileReader reader = ProfileFileReader(skinFile);
  char fileName[SKIN_NAME_SIZE];
  ReadBackgroundFileName(reader, section, "Background1", skinDirectory, fileName, sizeof fileName);
  background1 = LoadBitmapFile(fileName);
  if (background1 == nullptr) loadError = 1;
  ReadBackgroundFileName(reader, section, "Background2", skinDirectory, fileName, sizeof fileName);
  background2 = LoadBitmapFile(fileName);
  if (background2 == nullptr) loadError = 1;

  TakeWindowSize();

  SkinRect fileRegions[SKIN_REGION_COUNT];
  ReadSkinRegions(reader, section, fileRegions);
  for (int32_t i = 0; i < REGIONS_IN_FILE; ++i) regions[i] = ToRect(fileRegions[i]);

  tooltipWindow = CreateTooltipWindow(owner);

  for (const ControlEntry& entry : ReadControlEntries(reader, section)) {
    AddControl(entry.x, entry.y, entry.width, entry.height, entry.fileName, entry.extra,
               entry.kind);
  }

  for (int32_t i = 0; i < controlCount; ++i) {
    if (controls[i] && controls[i]->kind != ControlKind::TEXT) {
      AddTooltip(tooltipWindow, ownerWindow, *controls[i]);
    }
  }

  readout.Load(reader, skinDirectory);

  StartSkinPoll(this, poll);
  return this;
}

void SkinPanel::TakeWindowSize() {
  BITMAP size{};
  if (background1 != nullptr && GetObjectA(background1, sizeof size, &size) != 0) {
    SetWindowPos(ownerWindow, nullptr, 0, 0, size.bmWidth, size.bmHeight,
                 SWP_NOMOVE | SWP_NOREDRAW);
    width = size.bmWidth;
    height = size.bmHeight;
    return;
  }
  // No main background: the window keeps the size it was created with, and so does the canvas.
  RECT client{};
  GetClientRect(ownerWindow, &client);
  width = client.right - client.left;
  height = client.bottom - client.top;
}

int32_t SkinPanel::AddControl(int32_t x, int32_t y, int32_t controlWidth, int32_t controlHeight,
                              const char* fileName, const char* extra, ControlKind kind) {
  if (controlCount >= SKIN_MAX_CONTROLS) return 0;
  char joined[SKIN_NAME_SIZE];
  JoinSkinFileName(skinDirectory, fileName, joined, sizeof joined);
  std::unique_ptr<SkinControl> control(new (std::nothrow) SkinControl());
  if (!control) return 1;
  if (!control->Setup(x, y, controlWidth, controlHeight, joined, kind)) loadError = 1;
  control->index = controlCount;
  if (kind == ControlKind::TEXT) {
    control->textColor = ParseTextColor(extra);
  } else {
    CopyCut(extra, TOOLTIP_LIMIT, control->tooltip, sizeof control->tooltip);
  }
  control->kind = kind;
  controls[controlCount] = std::move(control);
  ++controlCount;
  return 1;
}

// The canvas as a paint starts it: Background1, or black.
HDC SkinPanel::PrepareCanvas() {
  if (canvasBitmap_ == nullptr) {
    canvasBitmap_ = MakeCanvasBitmap(background1, width, height, &canvasCopiesBackground1_);
  }
  HDC canvas = canvas_.Holding(canvasBitmap_);
  if (canvas == nullptr) return nullptr;
  HDC background = canvasCopiesBackground1_ ? background1Dc_.Holding(background1) : nullptr;
  if (background != nullptr) {
    BitBlt(canvas, 0, 0, width, height, background, 0, 0, SRCCOPY);
  } else {
    PatBlt(canvas, 0, 0, width, height, BLACKNESS);
  }
  return canvas;
}

void SkinPanel::Paint(HDC dc) {
  HDC canvas = PrepareCanvas();
  if (canvas == nullptr) return;
  // The kept canvas starts every paint in a fresh DC's state: the text colour and background mode
  // a text control leaves would otherwise show in what the next paint draws before it.
  int freshState = SaveDC(canvas);
  HDC source = background2 ? background2Dc_.Holding(background2) : nullptr;

  if (selectedRegion >= 0 && selectedRegion < SKIN_REGION_COUNT && source != nullptr) {
    CopyRegion(canvas, source, regions[selectedRegion]);
  }
  readout.Draw(canvas);
  // Asked only when a control has the focus: the answer costs a call into the system.
  bool foreground = focusedControl >= 0 && GetForegroundWindow() == ownerWindow;
  for (int32_t i = 0; i < controlCount; ++i) {
    if (!controls[i]) continue;
    controls[i]->Draw(canvas);
    if (foreground && i == focusedControl) DrawFocus(canvas, controls[i]->ControlRect());
  }
  BitBlt(dc, 0, 0, width, height, canvas, 0, 0, SRCCOPY);
  RestoreDC(canvas, freshState);
}

void SkinPanel::ReleaseCanvas() {
  canvas_.Release();
  background1Dc_.Release();
  background2Dc_.Release();
  if (canvasBitmap_ != nullptr) DeleteObject(canvasBitmap_);
  canvasBitmap_ = nullptr;
}

void SkinPanel::Destroy() {
  if (tooltipWindow != nullptr) DestroyWindow(tooltipWindow);
  tooltipWindow = nullptr;
  StopSkinPoll(this);
  ReleaseCanvas();  // before the backgrounds it holds go
  for (std::unique_ptr<SkinControl>& slot : controls) {
    if (!slot) continue;
    slot->ReleaseBitmap();
    slot.reset();
  }
  readout.Release();
  if (background1 != nullptr) DeleteObject(background1);
  if (background2 != nullptr) DeleteObject(background2);
  background1 = nullptr;
  background2 = nullptr;
}
