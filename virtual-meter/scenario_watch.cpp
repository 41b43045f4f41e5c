#include "virtual-meter/scenario_watch.h"

namespace vmeter {

namespace {

bool SameStamp(const ScenarioStamp& a, const ScenarioStamp& b) {
  return a.path == b.path && a.present == b.present && a.size == b.size &&
         a.writeTime == b.writeTime;
}

}  // namespace

bool ScenarioWatch::NeedsRead(const ScenarioStamp& stamp) {
  bool read = checksSinceRead_ < 0 || !SameStamp(stamp, last_) ||
              checksSinceRead_ + 1 >= SCENARIO_READ_EVERY;
  last_ = stamp;
  checksSinceRead_ = read ? 0 : checksSinceRead_ + 1;
  return read;
}

}  // namespace vmeter
