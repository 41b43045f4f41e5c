#include "skin/skin_panel.h"

#include <commctrl.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "skin/display_dpi.h"
#include "skin/skin_file.h"
#include "skin/skin_poll.h"
#include "skin/skin_scale.h"

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

// A control's tool: its place on the display and its tip.
TTTOOLINFOA ToolOf(HWND owner, SkinControl& control) {
  TTTOOLINFOA info{};
  info.cbSize = TOOLINFO_SIZE;
  info.uFlags = TTF_SUBCLASS | TTF_CENTERTIP;
  info.hwnd = owner;
  info.uId = static_cast<UINT_PTR>(control.index);
  info.rect = control.DisplayRect();
  info.hinst = nullptr;
  info.lpszText = control.tooltip;
  return info;
}

void AddTooltip(HWND tooltipWindow, HWND owner, SkinControl& control) {
  TTTOOLINFOA info = ToolOf(owner, control);
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
  Reset(owner, directory, sectionName);
  InitCommonControls();
  char skinFile[SKIN_NAME_SIZE];
  FormSkinFilePath(skinDirectory, skinFile, sizeof skinFile);
  SkinProfileReader reader = ProfileFileReader(skinFile);
  dpi_ = WindowDpi(owner);
  CopyCut(ReadSkinValue(reader, section, TWICE_SIZE_KEY, BACKGROUND_VALUE_LIMIT),
          BACKGROUND_VALUE_LIMIT, twiceSizeFolder_, sizeof twiceSizeFolder_);
  LoadBackgrounds(reader);
  TakeWindowSize();
  LoadRegions(reader);
  LoadControls(reader);
  MakeTooltips();
  readout.Load(reader, skinDirectory, twiceSizeFolder_, dpi_);
  StartSkinPoll(this, poll);
  return this;
}

void SkinPanel::Reset(HWND owner, const char* directory, const char* sectionName) {
  std::snprintf(skinDirectory, sizeof skinDirectory, "%s", directory);
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
  background1.Release();
  background2.Release();
}

const char* SkinPanel::TwiceSizeName(const char* fileName, char (&joined)[SKIN_NAME_SIZE]) const {
  return FormTwiceSizeFileName(skinDirectory, twiceSizeFolder_, fileName, joined, sizeof joined)
             ? joined
             : nullptr;
}

void SkinPanel::LoadBackgrounds(const SkinProfileReader& reader) {
  SkinBitmap* backgrounds[] = {&background1, &background2};
  const char* keys[] = {"Background1", "Background2"};
  for (int32_t i = 0; i < 2; ++i) {
    char fileName[SKIN_NAME_SIZE], twiceSize[SKIN_NAME_SIZE];
    std::string name =
        ReadBackgroundFileName(reader, section, keys[i], skinDirectory, fileName, sizeof fileName);
    if (!backgrounds[i]->Load(fileName, TwiceSizeName(name.c_str(), twiceSize))) loadError = 1;
  }
}

void SkinPanel::TakeWindowSize() {
  if (background1.Loaded()) {
    width = background1.Width();
    height = background1.Height();
    displayWidth_ = ScaleToDpi(width, dpi_);
    displayHeight_ = ScaleToDpi(height, dpi_);
    SetWindowPos(ownerWindow, nullptr, 0, 0, displayWidth_, displayHeight_,
                 SWP_NOMOVE | SWP_NOREDRAW);
  } else {
    // No main background: the window keeps the size it was created with, and so does the canvas.
    RECT client{};
    GetClientRect(ownerWindow, &client);
    width = displayWidth_ = client.right - client.left;
    height = displayHeight_ = client.bottom - client.top;
  }
  DrawBackgroundsForDpi();
}

// Each background fills its own size at the DPI, as one frame.
void SkinPanel::DrawBackgroundsForDpi() {
  for (SkinBitmap* background : {&background1, &background2}) {
    background->MakeForDpi(dpi_, background->Width(), background->Height(), 1,
                           ScaleToDpi(background->Width(), dpi_),
                           ScaleToDpi(background->Height(), dpi_));
  }
}

void SkinPanel::LoadRegions(const SkinProfileReader& reader) {
  SkinRect fileRegions[SKIN_REGION_COUNT];
  ReadSkinRegions(reader, section, fileRegions);
  for (int32_t i = 0; i < REGIONS_IN_FILE; ++i) regions[i] = ToRect(fileRegions[i]);
}

void SkinPanel::LoadControls(const SkinProfileReader& reader) {
  for (const ControlEntry& entry : ReadControlEntries(reader, section)) {
    AddControl(entry.x, entry.y, entry.width, entry.height, entry.fileName, entry.extra,
               entry.kind);
  }
}

// A tip for every control but the text ones.
void SkinPanel::MakeTooltips() {
  tooltipWindow = CreateTooltipWindow(ownerWindow);
  for (int32_t i = 0; i < controlCount; ++i) {
    if (controls[i] && controls[i]->kind != ControlKind::TEXT) {
      AddTooltip(tooltipWindow, ownerWindow, *controls[i]);
    }
  }
}

void SkinPanel::MoveTooltips() {
  for (int32_t i = 0; i < controlCount; ++i) {
    if (!controls[i] || controls[i]->kind == ControlKind::TEXT) continue;
    TTTOOLINFOA info = ToolOf(ownerWindow, *controls[i]);
    SendMessageA(tooltipWindow, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void SkinPanel::ChangeDpi(int32_t dpi, const RECT* suggested) {
  ReleaseCanvas();  // it holds the backgrounds' pictures, which are drawn anew
  dpi_ = dpi;
  if (background1.Loaded()) {
    displayWidth_ = ScaleToDpi(width, dpi_);
    displayHeight_ = ScaleToDpi(height, dpi_);
  }
  DrawBackgroundsForDpi();
  for (int32_t i = 0; i < controlCount; ++i) {
    if (controls[i]) controls[i]->ScaleTo(dpi_);
  }
  MoveTooltips();
  readout.ScaleTo(dpi_);
  RECT now{};
  GetWindowRect(ownerWindow, &now);
  SkinRect placed = RescaledWindowRect(background1.Loaded() ? width : 0, height, dpi_,
                                       ToSkinRect(suggested != nullptr ? *suggested : now));
  SetWindowPos(ownerWindow, nullptr, placed.left, placed.top, placed.right - placed.left,
               placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (!background1.Loaded()) {
    RECT client{};
    GetClientRect(ownerWindow, &client);
    displayWidth_ = client.right - client.left;
    displayHeight_ = client.bottom - client.top;
  }
  InvalidateRect(ownerWindow, nullptr, FALSE);
}

bool SkinPanel::DisplaySizeAt(int32_t dpi, SIZE* size) const {
  if (!background1.Loaded()) return false;
  size->cx = ScaleToDpi(width, dpi);
  size->cy = ScaleToDpi(height, dpi);
  return true;
}

int32_t SkinPanel::AddControl(int32_t x, int32_t y, int32_t controlWidth, int32_t controlHeight,
                              const char* fileName, const char* extra, ControlKind kind) {
  if (controlCount >= SKIN_MAX_CONTROLS) return 0;
  char joined[SKIN_NAME_SIZE], twiceSize[SKIN_NAME_SIZE];
  JoinSkinFileName(skinDirectory, fileName, joined, sizeof joined);
  std::unique_ptr<SkinControl> control(new (std::nothrow) SkinControl());
  if (!control) return 1;
  const char* twiceSizeName =
      kind == ControlKind::TEXT ? nullptr : TwiceSizeName(fileName, twiceSize);
  if (!control->Setup(x, y, controlWidth, controlHeight, joined, kind, twiceSizeName)) {
    loadError = 1;
  }
  control->ScaleTo(dpi_);
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
    canvasBitmap_ = MakeCanvasBitmap(background1.Handle(), displayWidth_, displayHeight_,
                                     &canvasCopiesBackground1_);
  }
  HDC canvas = canvas_.Holding(canvasBitmap_);
  if (canvas == nullptr) return nullptr;
  HDC background =
      canvasCopiesBackground1_ ? background1Dc_.Holding(background1.Handle()) : nullptr;
  if (background != nullptr) {
    BitBlt(canvas, 0, 0, displayWidth_, displayHeight_, background, 0, 0, SRCCOPY);
  } else {
    PatBlt(canvas, 0, 0, displayWidth_, displayHeight_, BLACKNESS);
  }
  return canvas;
}

void SkinPanel::Paint(HDC dc) {
  HDC canvas = PrepareCanvas();
  if (canvas == nullptr) return;
  // The kept canvas starts every paint in a fresh DC's state: the text colour and background mode
  // a text control leaves would otherwise show in what the next paint draws before it.
  int freshState = SaveDC(canvas);
  HDC source = background2.Handle() ? background2Dc_.Holding(background2.Handle()) : nullptr;

  if (selectedRegion >= 0 && selectedRegion < SKIN_REGION_COUNT && source != nullptr) {
    CopyRegion(canvas, source, ToRect(ScaleRectToDpi(ToSkinRect(regions[selectedRegion]), dpi_)));
  }
  readout.Draw(canvas);
  // Asked only when a control has the focus: the answer costs a call into the system.
  bool foreground = focusedControl >= 0 && GetForegroundWindow() == ownerWindow;
  for (int32_t i = 0; i < controlCount; ++i) {
    if (!controls[i]) continue;
    controls[i]->Draw(canvas);
    if (foreground && i == focusedControl) DrawFocus(canvas, controls[i]->DisplayRect());
  }
  BitBlt(dc, 0, 0, displayWidth_, displayHeight_, canvas, 0, 0, SRCCOPY);
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
  background1.Release();
  background2.Release();
}
