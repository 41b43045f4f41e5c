#pragma once
// Probing the bridges for idle meters, and what the SEARCH dialog does with the result before it
// would ever be shown.
#include <cstdint>
#include <string>

#include "meter/meter_link.h"

// SEARCH dialog results besides a bridge index 0 to 15.
constexpr int32_t SEARCH_NONE_FOUND = 17;
constexpr int32_t SEARCH_CANCELLED = 18;
// AutoSearchResult's answer when the user has to choose.
constexpr int32_t SEARCH_ASK_USER = -1;

// A bridge is idle when bit 0x200 of its status is set and bits 0x100 and 0x800 are clear.
bool IsIdleStatus(uint32_t status);

struct IdleBridges {
  int32_t indices[BRIDGE_INDEX_COUNT] = {};  // in probe order
  int32_t count = 0;
  int32_t lastIdle = -1;
  uint32_t opened = 0;  // bit i: bridge i opened, idle or not
};

// Opens, resets, reads and closes every bridge but the linked one, and lists the idle ones.
// A bridge that does not open, or whose status cannot be read, is left out.
IdleBridges ProbeIdleBridges(int32_t linkedIndex);

// What a probe found, for the event log: "found devices 0, 3; idle: device 3", "found device 0;
// idle: none", or "no bridge found".
std::string DescribeProbe(const IdleBridges& idle);

// SEARCH_NONE_FOUND when nothing is idle; the only idle bridge when there is nothing to choose
// (none linked); otherwise SEARCH_ASK_USER.
int32_t AutoSearchResult(const IdleBridges& idle, int32_t linkedIndex);
