#include "skin/skin_poll.h"

#include "skin/control_interaction.h"
#include "skin/skin_panel.h"

namespace {

// The timer procedure's integer parameters carry the registration's two pointers; that works
// only where a pointer fits in them, as on 32-bit Windows.
static_assert(sizeof(void*) == sizeof(UINT), "SkinPoll registration needs 32-bit pointers");
static_assert(sizeof(void*) == sizeof(UINT_PTR), "SkinPoll registration needs 32-bit pointers");

UINT PointerAsMessage(void* pointer) {
  return static_cast<UINT>(reinterpret_cast<UINT_PTR>(pointer));
}

template <typename T>
T* PointerFromWord(UINT_PTR word) {
  return reinterpret_cast<T*>(word);
}

// Process-wide state of the poll: set once by the registration, for the life of the process.
struct SkinPollState {
  SkinPanel* panel = nullptr;
  std::unique_ptr<SkinControl>* controls = nullptr;
  int32_t lastRadioIndex = -1;
};

SkinPollState skinPoll;

class WindowEffects : public PollEffects {
 public:
  explicit WindowEffects(HWND window) : window_(window) {}
  void Invalidate(const SkinRect& rect) override {
    RECT area = ToRect(rect);
    InvalidateRect(window_, &area, FALSE);
  }
  void SendCommand(int32_t index) override {
    SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(static_cast<uint16_t>(index)), 0);
  }
  // The window's default processing then moves it with the mouse until the button is released.
  void StartDrag() override { SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

 private:
  HWND window_;
};

bool IsPollableWindow(HWND window) {
  return !IsIconic(window) && IsWindowVisible(window) && GetForegroundWindow() == window;
}

void RunTick(HWND window) {
  if (skinPoll.panel == nullptr || skinPoll.controls == nullptr) return;
  if (!IsPollableWindow(window)) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window, &cursor);
  PollSample sample;
  sample.cursorX = cursor.x;
  sample.cursorY = cursor.y;
  sample.buttonDown = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  sample.controlCount = skinPoll.panel->controlCount;
  sample.dragEnabled = skinPoll.panel->dragEnabled;
  PolledSlot slots[SKIN_MAX_CONTROLS];
  for (int32_t i = 0; i < SKIN_MAX_CONTROLS; ++i) {
    SkinControl* control = skinPoll.controls[i].get();
    if (control == nullptr) continue;
    slots[i].control = control;
    slots[i].rect = ToSkinRect(control->ControlRect());
  }
  WindowEffects effects(window);
  RunPollTick(sample, slots, skinPoll.lastRadioIndex, effects);
}

}  // namespace

void CALLBACK SkinPoll(HWND window, UINT message, UINT_PTR timerId, DWORD) {
  if (window == nullptr) {
    skinPoll.controls = PointerFromWord<std::unique_ptr<SkinControl>>(message);
    skinPoll.panel = PointerFromWord<SkinPanel>(timerId);
    return;
  }
  RunTick(window);
}

void RegisterSkinPoll(TIMERPROC poll, std::unique_ptr<SkinControl>* controls, SkinPanel* panel) {
  poll(nullptr, PointerAsMessage(controls), reinterpret_cast<UINT_PTR>(panel), 0);
}
