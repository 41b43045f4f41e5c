#pragma once
// The seven functions of the CH341 bridge vendor's library (CH341DLL) that Torvex calls.
// The library is loaded at run time; everything else reaches the bridge only through the
// table installed here, so tests can put a fake behind it.
#include <cstdint>

#if defined(_WIN32)
#define BRIDGE_API __stdcall
#else
#define BRIDGE_API
#endif

// ULONG and BOOL are 32 bits wide on Windows; the widths here match the vendor's signatures.
using BridgeInterruptRoutine = void(BRIDGE_API*)(uint32_t status);

struct BridgeLibrary {
  void*(BRIDGE_API* openDevice)(uint32_t index);  // INVALID_HANDLE_VALUE (-1) when unusable
  int32_t(BRIDGE_API* resetDevice)(uint32_t index);
  int32_t(BRIDGE_API* getStatus)(uint32_t index, uint32_t* status);  // nonzero on success
  int32_t(BRIDGE_API* setExclusive)(uint32_t index, uint32_t exclusive);
  int32_t(BRIDGE_API* setIntRoutine)(uint32_t index, BridgeInterruptRoutine routine);
  int32_t(BRIDGE_API* eppWriteData)(uint32_t index, void* buffer, uint32_t* length);
  void(BRIDGE_API* closeDevice)(uint32_t index);
};

// The names the functions are exported under, in the order of the table's fields.
constexpr const char* BRIDGE_FUNCTION_NAMES[7] = {
    "CH341OpenDevice",    "CH341ResetDevice",  "CH341GetStatus",  "CH341SetExclusive",
    "CH341SetIntRoutine", "CH341EppWriteData", "CH341CloseDevice"};

constexpr const char* BRIDGE_LIBRARY_NAME = "CH341DLL.DLL";

inline bool IsInvalidBridgeHandle(void* handle) {
  return reinterpret_cast<intptr_t>(handle) == -1;
}

// Stand-ins for a missing library: every open fails, every status read fails, every other
// call does nothing, so the program simply finds no meter.
const BridgeLibrary& AbsentBridgeLibrary();

// The table in use; the absent one until a library is installed.
const BridgeLibrary& Bridge();

// Installs a table. Any null entry makes the whole table count as absent: a library that lacks
// one of the seven functions cannot drive a meter.
void InstallBridgeLibrary(const BridgeLibrary& library);
