#pragma once
// Tells the program that a device was plugged in or pulled out.

namespace vmeter {

// Posts WM_DEVICECHANGE with DBT_DEVNODES_CHANGED to every top-level window of this process, as
// the system does when a device node appears or goes away.
void AnnounceDeviceChange();

}  // namespace vmeter
