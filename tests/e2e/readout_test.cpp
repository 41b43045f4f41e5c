// End to end: the default skin's display follows what torvex.exe sends the virtual meter, pixel
// for pixel, and a skin without readout keys looks as it always has. The expected pictures are
// put together here from the skin's own bitmaps, where its keys place them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "windows/support/screenshot.h"
#include "windows/support/torvex_log.h"
#include "windows/support/torvex_test.h"
#include "windows/support/user_input.h"

namespace {

// What the display shows; the first run's manual fan and lit backlight hold throughout.
struct Display {
  const char* digits;  // a character per digit
  int litSegments;     // of the bar's 28
  bool linked;
  bool warning = false;
};
constexpr Display NO_METER = {"---", 0, false};
constexpr int DEGREES_FRAME = 2;
constexpr int FAN_MANUAL_FRAME = 1;

// The window as it should look: Background1 and the buttons' first frames, then the readout.
class ExpectedPicture {
 public:
  explicit ExpectedPicture(const std::string& folder) : skin(folder + "\\skin\\") {
    Copy("background1.bmp", 0, 0, 0, picture.Width(), picture.Height());
    const char* buttons[] = {"setup.bmp", "fan.bmp", "hide.bmp", "quit.bmp"};
    for (int i = 0; i < 4; ++i) {
      const RECT& at = COMMAND_CONTROLS[i];
      Copy(buttons[i], 0, at.left, at.top, at.right - at.left, at.bottom - at.top);
    }
  }

  const Screenshot& Showing(const Display& display) {
    Put("Face", 0);
    for (int i = 0; i < 3; ++i) {
      char c = display.digits[i];
      Put("Digits", c == '-' ? 10 : c == ' ' ? 11 : c - '0', i);
    }
    Put("Unit", DEGREES_FRAME);
    Part bar = Read("Bar");  // lit from the full frame, the rest from the empty one
    int lit = bar.width * display.litSegments / 28;
    Copy(bar.file, bar.width, bar.x, bar.y, lit, bar.height);
    Copy(bar.file, lit, bar.x + lit, bar.y, bar.width - lit, bar.height);
    Put("Link", display.linked ? 1 : 0);
    Put("FanMode", FAN_MANUAL_FRAME);
    Put("Backlight", 1);
    Put("Warning", display.warning ? 1 : 0);
    return picture;
  }

  const Screenshot& Picture() const { return picture; }

 private:
  struct Part {
    char file[64] = {};
    int x = 0, y = 0, width = 0, height = 0, count = 1, step = 0;
  };

  Part Read(const char* key) const {
    char value[256] = {};
    GetPrivateProfileStringA("Readout", key, "", value, sizeof value, (skin + "skin.ini").c_str());
    Part p;
    std::sscanf(value, "%63[^,],%d,%d,%d,%d,%d,%d", p.file, &p.x, &p.y, &p.width, &p.height,
                &p.count, &p.step);
    return p;
  }

  void Put(const char* key, int frame, int place = 0) {
    Part p = Read(key);
    Copy(p.file, frame * p.width, p.x + place * p.step, p.y, p.width, p.height);
  }

  void Copy(const char* file, int sourceX, int x, int y, int width, int height) {
    HANDLE bitmap = LoadImageA(nullptr, (skin + file).c_str(), IMAGE_BITMAP, 0, 0,
                               LR_LOADFROMFILE | LR_DEFAULTSIZE);
    HDC source = CreateCompatibleDC(picture.Canvas());
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(picture.Canvas(), x, y, width, height, source, sourceX, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
  }

  std::string skin;
  Screenshot picture{420, 150};
};

class TorvexReadout : public TorvexTest {
 protected:
  // Waits until the window shows `expected` exactly; keeps the last look as an artefact.
  std::unique_ptr<Screenshot> ExpectShown(const Display& display, const char* artefact) {
    ExpectedPicture expected(torvex.Folder());
    const Screenshot& picture = expected.Showing(display);
    std::unique_ptr<Screenshot> shot;
    int64_t different = 0;
    EXPECT_TRUE(WaitUntil(
        [&] {
          shot = std::make_unique<Screenshot>(window);
          different = CountDifferentPixels(*shot, picture);
          return different == 0;
        },
        9000, 100))  // long enough for a meter to fall silent: 5 s after its last packet
        << different << " pixels differ from " << display.digits << "; see " << artefact;
    shot->Save(ArtifactPath(artefact));
    return shot;
  }

  void PlugMeter(bool present, int temperature, const char* notice) {
    scenario.bridges[0].present = present;
    scenario.bridges[0].temperature = temperature;
    ASSERT_TRUE(scenario.Apply());
    HWND box = nullptr;
    EXPECT_EQ(torvex.WaitForMessageBox(&box), notice);
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
};

// The default settings show the temperature and warn at 80 degrees.
TEST_F(TorvexReadout, FollowsTheMeterWarnsAtTheLevelAndShowsDashesWhileItIsSilentOrGone) {
  scenario.bridges[0].present = false;
  ASSERT_TRUE(Start());
  HWND box = nullptr;
  EXPECT_EQ(torvex.WaitForMessageBox(&box), "Not Found Velquin Torvex!\n");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  window = torvex.MainWindow();
  ASSERT_TRUE(window && BringToForeground(window));
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  ExpectShown(NO_METER, "torvex_readout_no_meter.bmp");

  PlugMeter(true, 41, "Velquin Torvex has been Inserted and Linked!");
  auto at41 = ExpectShown({" 41", 11, true}, "torvex_readout_41.bmp");
  scenario.bridges[0].temperature = 88;
  ASSERT_TRUE(scenario.Apply());
  auto at88 = ExpectShown({" 88", 25, true, true}, "torvex_readout_88.bmp");
  EXPECT_GT(CountDifferentPixels(*at41, *at88), 0);
  ExpectedPicture calm(torvex.Folder());
  EXPECT_GT(CountDifferentPixels(*at88, calm.Showing({" 88", 25, true})), 0) << "no warning";

  scenario.packetMs = 60000;  // the meter falls silent: its temperature is no longer known
  ASSERT_TRUE(scenario.Apply());
  ExpectShown({"---", 0, true}, "torvex_readout_silent.bmp");
  PlugMeter(false, 88, "Velquin Torvex has been Ejected!");
  ExpectShown(NO_METER, "torvex_readout_unplugged.bmp");
  // The event log tells the warning's raising and its end, once each.
  TorvexLog log(torvex.LogFolder());
  ASSERT_TRUE(log.WaitFor("The user is told the meter was ejected"));
  std::vector<std::string> warnings;
  for (const std::string& event : log.Events()) {
    if (event.find("Temperature warning") == 0) warnings.push_back(event);
  }
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "Temperature warning raised: the meter reads 88 C, the warning level "
                          "is 80 C",
                          "Temperature warning cleared: the meter has stopped sending its "
                          "temperature"}));
}

TEST_F(TorvexReadout, ASkinWithoutReadoutKeysLooksAsItAlwaysHas) {
  std::string ini = torvex.Folder() + "\\skin\\skin.ini";
  std::stringstream text;
  text << std::ifstream(ini, std::ios::binary).rdbuf();
  size_t readout = text.str().find("\n[Readout]");
  ASSERT_NE(readout, std::string::npos);
  std::ofstream(ini, std::ios::binary | std::ios::trunc) << text.str().substr(0, readout + 1);

  ASSERT_NE(StartInForeground(), nullptr);
  MoveCursorTo(window, BARE_SURFACE.x, BARE_SURFACE.y);
  // Passes one and two have been shown once the third one has begun.
  ASSERT_GE(scenario.Log().WaitForCount(FrameOf(0), 9, 5000).size(), 9u);
  Screenshot shot(window);
  EXPECT_EQ(CountDifferentPixels(shot, ExpectedPicture(torvex.Folder()).Picture()), 0);
  EXPECT_TRUE(shot.Save(ArtifactPath("torvex_without_readout.bmp")));
}

}  // namespace
