#pragma once
// What the soak reads from the virtual meter's log as it grows: the object counts, the plug
// cycles the meter went through, and the two faults a storm must not show: a write to a bridge
// after the program has found it gone, and a frame that reached a meter broken.
#include <cstdint>
#include <string>
#include <vector>

#include "windows/support/meter_log.h"

struct CensusSample {
  int64_t tMs = 0;
  // The process's kernel handles less those Wine's spooler leaks (virtual-meter/README.md).
  int64_t handles = 0;
  int64_t wineSpoolerMutexes = 0;
  int64_t gdi = 0, user = 0, privateKb = 0, workingSetKb = 0;
};

class SoakLog {
 public:
  explicit SoakLog(const std::string& path) : log_(path) {}

  // Reads what was added to the log since the last call.
  void Update();

  const std::vector<CensusSample>& Samples() const { return samples_; }
  // Times bridge 0 was pulled out and plugged back in, as the meter saw it.
  int Cycles() const { return cycles_; }
  int64_t Frames() const { return frames_; }
  int64_t LostWrites() const { return lostWrites_; }
  // Failed status reads of a bridge the meter had pulled out: the program noticing a removal.
  int RemovalsSeen() const { return removalsSeen_; }
  // Bridges the program claimed (a link) and let go (a release), as the library saw them.
  int Links() const { return links_; }
  int Releases() const { return releases_; }
  // Lines that show a fault, as they were read.
  const std::vector<std::string>& WritesAfterRemovalSeen() const { return writesAfterSeen_; }
  const std::vector<std::string>& BrokenFrames() const { return brokenFrames_; }

 private:
  void Take(const MeterLogRecord& record);

  static constexpr int BRIDGES = 16;
  MeterLog log_;
  std::vector<CensusSample> samples_;
  bool present_[BRIDGES] = {};
  bool removalSeen_[BRIDGES] = {};  // the program has read the status of the pulled bridge
  bool pulled_ = false;             // bridge 0 is out; its next plug completes a cycle
  int cycles_ = 0;
  int links_ = 0;
  int releases_ = 0;
  int64_t frames_ = 0;
  int64_t lostWrites_ = 0;
  int removalsSeen_ = 0;
  std::vector<std::string> writesAfterSeen_;
  std::vector<std::string> brokenFrames_;
};
