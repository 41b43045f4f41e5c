#include <windows.h>

#include <cstdio>

#include "log/event_log.h"
#include "meter/bridge_library.h"
#include "meter/bridge_loader.h"

namespace {

// GetProcAddress hands back a generic function pointer; going through void (*)() tells the
// compiler the cast to the real signature is meant.
template <typename Function>
Function AsFunction(FARPROC entry) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

bool LoadBridgeLibrary(const char* libraryName) {
  HMODULE module = LoadLibraryA(libraryName);
  if (!module) {
    LogEvent("Bridge library %s not found (error %lu): no meter can be found", libraryName,
             GetLastError());
    InstallBridgeLibrary(AbsentBridgeLibrary());
    return false;
  }
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) snprintf(path, sizeof path, "%s", libraryName);
  FARPROC entries[7];
  for (int i = 0; i < 7; ++i) {
    entries[i] = GetProcAddress(module, BRIDGE_FUNCTION_NAMES[i]);
    if (!entries[i]) {
      LogEvent("Bridge library %s lacks %s: no meter can be found", path, BRIDGE_FUNCTION_NAMES[i]);
      FreeLibrary(module);
      InstallBridgeLibrary(AbsentBridgeLibrary());
      return false;
    }
  }
  LogEvent("Bridge library found: %s", path);
  // The module stays loaded for the life of the process: its interrupt thread calls back into us.
  BridgeLibrary library;
  library.openDevice = AsFunction<decltype(library.openDevice)>(entries[0]);
  library.resetDevice = AsFunction<decltype(library.resetDevice)>(entries[1]);
  library.getStatus = AsFunction<decltype(library.getStatus)>(entries[2]);
  library.setExclusive = AsFunction<decltype(library.setExclusive)>(entries[3]);
  library.setIntRoutine = AsFunction<decltype(library.setIntRoutine)>(entries[4]);
  library.eppWriteData = AsFunction<decltype(library.eppWriteData)>(entries[5]);
  library.closeDevice = AsFunction<decltype(library.closeDevice)>(entries[6]);
  InstallBridgeLibrary(library);
  return true;
}
