#include "support/fake_bridge.h"

namespace {

FakeBridge& Fake() {
  return FakeBridge::Instance();
}

bool Known(uint32_t index) {
  return index < 16;
}

void* BRIDGE_API FakeOpen(uint32_t index) {
  Fake().calls.push_back({"CH341OpenDevice", index, 0});
  bool opens = Known(index) && Fake().devices[index].opens;
  if (opens && Fake().devices[index].failingOpens > 0) {
    --Fake().devices[index].failingOpens;
    opens = false;
  }
  return reinterpret_cast<void*>(opens ? intptr_t{1} : intptr_t{-1});
}

int32_t BRIDGE_API FakeReset(uint32_t index) {
  Fake().calls.push_back({"CH341ResetDevice", index, 0});
  return 1;
}

int32_t BRIDGE_API FakeGetStatus(uint32_t index, uint32_t* status) {
  Fake().calls.push_back({"CH341GetStatus", index, *status});
  if (!Known(index) || !Fake().devices[index].statusReads) return 0;
  *status = Fake().devices[index].status;
  return Fake().devices[index].statusFailsAnyway ? 0 : 1;
}

int32_t BRIDGE_API FakeSetExclusive(uint32_t index, uint32_t exclusive) {
  Fake().calls.push_back({"CH341SetExclusive", index, exclusive});
  return 1;
}

int32_t BRIDGE_API FakeSetIntRoutine(uint32_t index, BridgeInterruptRoutine routine) {
  Fake().calls.push_back({"CH341SetIntRoutine", index, 0});
  Fake().routine = routine;
  return 1;
}

int32_t BRIDGE_API FakeEppWrite(uint32_t index, void* buffer, uint32_t* length) {
  uint8_t byte = *static_cast<uint8_t*>(buffer);
  Fake().calls.push_back({"CH341EppWriteData", index, byte});
  Fake().writtenBytes.push_back(byte);
  Fake().writtenIndices.push_back(index);
  if (*length != 1) Fake().calls.push_back({"bad length", index, *length});
  if (Fake().afterWrite) Fake().afterWrite(Fake().writtenBytes.size());
  return Fake().writesFail ? 0 : 1;
}

void BRIDGE_API FakeClose(uint32_t index) {
  Fake().calls.push_back({"CH341CloseDevice", index, 0});
}

}  // namespace

FakeBridge& FakeBridge::Instance() {
  static FakeBridge instance;
  return instance;
}

void FakeBridge::Install() {
  Instance().Reset();
  InstallBridgeLibrary({FakeOpen, FakeReset, FakeGetStatus, FakeSetExclusive, FakeSetIntRoutine,
                        FakeEppWrite, FakeClose});
}

void FakeBridge::Reset() {
  for (FakeBridgeDevice& device : devices) device = FakeBridgeDevice{};
  calls.clear();
  writtenBytes.clear();
  writtenIndices.clear();
  routine = nullptr;
  writesFail = false;
  afterWrite = nullptr;
}

int FakeBridge::CountCalls(const std::string& function) const {
  int count = 0;
  for (const FakeBridgeCall& call : calls) count += call.function == function;
  return count;
}
