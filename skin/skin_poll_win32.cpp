#include "skin/skin_poll.h"

#include "skin/control_interaction.h"
#include "skin/skin_panel.h"

namespace {

// Process-wide state of the poll: set once by the registration, for the life of the process.
struct SkinPollState {
  SkinPanel* panel = nullptr;
  int32_t lastRadioIndex = -1;  // the radio box whose press was handled last; never reset
  // A window move started by a tick is running. Its loop dispatches the timer, so the ticks that
  // come meanwhile would see the button still down over no control and start a move inside the
  // move, of which one release ends only the innermost: they do nothing until it ends.
  bool dragging = false;
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
  void StartDrag() override {
    skinPoll.dragging = true;
    SendMessageA(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    skinPoll.dragging = false;
  }

 private:
  HWND window_;
};

bool IsPollableWindow(HWND window) {
  return !IsIconic(window) && IsWindowVisible(window) && GetForegroundWindow() == window;
}

void RunTick(HWND window) {
  if (skinPoll.panel == nullptr || skinPoll.dragging) return;
  if (!IsPollableWindow(window)) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(window, &cursor);
  PollSample sample;
  sample.cursorX = cursor.x;
  sample.cursorY = cursor.y;
  RECT client{};
  GetClientRect(window, &client);
  sample.clientWidth = client.right;
  sample.clientHeight = client.bottom;
  sample.buttonDown = (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
  sample.controlCount = skinPoll.panel->controlCount;
  sample.dragEnabled = skinPoll.panel->dragEnabled;
  PolledSlot slots[SKIN_MAX_CONTROLS];
  for (int32_t i = 0; i < SKIN_MAX_CONTROLS; ++i) {
    SkinControl* control = skinPoll.panel->controls[i].get();
    if (control == nullptr) continue;
    slots[i].control = control;
    slots[i].rect = ToSkinRect(control->ControlRect());
  }
  WindowEffects effects(window);
  RunPollTick(sample, slots, skinPoll.lastRadioIndex, effects);
}

}  // namespace

void RegisterSkinPoll(SkinPanel* panel) {
  skinPoll.panel = panel;
}

void CALLBACK SkinPoll(HWND window, UINT, UINT_PTR, DWORD) {
  RunTick(window);
}
