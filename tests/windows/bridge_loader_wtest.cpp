#include <windows.h>

#include <gtest/gtest.h>

#include "meter/bridge_library.h"
#include "meter/bridge_loader.h"
#include "meter/meter_link.h"

TEST(BridgeLoader, MissingLibraryFindsNoMeterAndDoesNotCrash) {
  EXPECT_FALSE(LoadBridgeLibrary("NO-SUCH-BRIDGE.DLL"));
  EXPECT_TRUE(IsInvalidBridgeHandle(Bridge().openDevice(0)));
  uint32_t status = 0;
  EXPECT_EQ(Bridge().getStatus(0, &status), 0);
  LinkDevice(0);  // calls into the stand-ins: nothing happens
  SendMeterFrame(BuildValueFrame(1));
  UnlinkDevice();
  meterLink.deviceIndex = NO_DEVICE;
}

TEST(BridgeLoader, LibraryWithoutTheFunctionsCountsAsMissing) {
  // Any DLL lacking the seven exports: a system one serves.
  EXPECT_FALSE(LoadBridgeLibrary("version.dll"));
  EXPECT_TRUE(IsInvalidBridgeHandle(Bridge().openDevice(0)));
}
