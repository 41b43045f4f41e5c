#pragma once
// When the library's thread reads the scenario file again. Every check looks at the file's path,
// size and last write time, which costs a fraction of reading it; the file is read when one of
// them has changed, and every SCENARIO_READ_EVERY checks in any case, so that a rewrite which
// leaves them as they were (same size, within one step of the file system's clock) is taken up
// all the same. Plain logic.
#include <cstdint>
#include <string>

namespace vmeter {

constexpr int32_t SCENARIO_READ_EVERY = 10;  // a second at one check every 100 ms

struct ScenarioStamp {
  std::string path;
  bool present = false;
  uint64_t size = 0;
  uint64_t writeTime = 0;
};

class ScenarioWatch {
 public:
  // Whether this check must read the file; remembers `stamp` for the next one.
  bool NeedsRead(const ScenarioStamp& stamp);

 private:
  ScenarioStamp last_;
  int32_t checksSinceRead_ = -1;  // -1: never read
};

}  // namespace vmeter
