// The seven functions of the bridge vendor's CH341DLL, with its signatures and undecorated
// stdcall names, answered by the emulated bridges.
#include <windows.h>

#include "virtual-meter/library_service_win32.h"

using vmeter::InterruptRoutine;
using vmeter::LibraryService;
using vmeter::RoutineToken;
using vmeter::VirtualBridges;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) LibraryService::Instance().Start(instance);
  return TRUE;
}

extern "C" __declspec(dllexport) HANDLE WINAPI CH341OpenDevice(ULONG index) {
  intptr_t handle = LibraryService::Instance().Perform(
      [index](VirtualBridges& bridges) { return bridges.OpenDevice(index); });
  LibraryService::Instance().Wake();
  return reinterpret_cast<HANDLE>(handle);
}

extern "C" __declspec(dllexport) BOOL WINAPI CH341ResetDevice(ULONG index) {
  return LibraryService::Instance().Perform(
      [index](VirtualBridges& bridges) { return bridges.ResetDevice(index); });
}

extern "C" __declspec(dllexport) BOOL WINAPI CH341GetStatus(ULONG index, PULONG status) {
  uint32_t word = 0;
  bool read = LibraryService::Instance().GetStatus(index, status ? &word : nullptr);
  if (read) *status = word;
  return read;
}

extern "C" __declspec(dllexport) BOOL WINAPI CH341SetExclusive(ULONG index, ULONG exclusive) {
  return LibraryService::Instance().Perform([index, exclusive](VirtualBridges& bridges) {
    return bridges.SetExclusive(index, exclusive);
  });
}

extern "C" __declspec(dllexport) BOOL WINAPI
    CH341SetIntRoutine(ULONG index, InterruptRoutine routine) {
  RoutineToken token = reinterpret_cast<RoutineToken>(routine);
  BOOL done = LibraryService::Instance().Perform(
      [index, token](VirtualBridges& bridges) { return bridges.SetIntRoutine(index, token); });
  LibraryService::Instance().Wake();
  return done;
}

extern "C" __declspec(dllexport) BOOL WINAPI
    CH341EppWriteData(ULONG index, PVOID buffer, PULONG length) {
  const uint8_t* bytes = buffer && length ? static_cast<const uint8_t*>(buffer) : nullptr;
  uint32_t count = length ? *length : 0;
  BOOL written = LibraryService::Instance().WriteData(index, bytes, count);
  if (!written && length) *length = 0;
  return written;
}

extern "C" __declspec(dllexport) VOID WINAPI CH341CloseDevice(ULONG index) {
  LibraryService::Instance().CloseDevice(index);
}
