#include "meter/bridge_library.h"

#include "meter/meter_link.h"

namespace {

void* BRIDGE_API AbsentOpenDevice(uint32_t) {
  return reinterpret_cast<void*>(intptr_t{-1});
}
int32_t BRIDGE_API AbsentResetDevice(uint32_t) {
  return 0;
}
int32_t BRIDGE_API AbsentGetStatus(uint32_t, uint32_t*) {
  return 0;
}
int32_t BRIDGE_API AbsentSetExclusive(uint32_t, uint32_t) {
  return 0;
}
int32_t BRIDGE_API AbsentSetIntRoutine(uint32_t, BridgeInterruptRoutine) {
  return 0;
}
int32_t BRIDGE_API AbsentEppWriteData(uint32_t, void*, uint32_t*) {
  return 0;
}
void BRIDGE_API AbsentCloseDevice(uint32_t) {}

const BridgeLibrary ABSENT_LIBRARY = {AbsentOpenDevice,   AbsentResetDevice,   AbsentGetStatus,
                                      AbsentSetExclusive, AbsentSetIntRoutine, AbsentEppWriteData,
                                      AbsentCloseDevice};

bool IsComplete(const BridgeLibrary& library) {
  return library.openDevice && library.resetDevice && library.getStatus && library.setExclusive &&
         library.setIntRoutine && library.eppWriteData && library.closeDevice;
}

}  // namespace

const BridgeLibrary& AbsentBridgeLibrary() {
  return ABSENT_LIBRARY;
}

const BridgeLibrary& Bridge() {
  return meterLink.bridge;
}

void InstallBridgeLibrary(const BridgeLibrary& library) {
  meterLink.bridge = IsComplete(library) ? library : ABSENT_LIBRARY;
}
