#pragma once
// Rebuilds the program's 36-nibble command frames from the bytes written to the bridge, as the
// meter does: it waits for F followed by E, gathers 36 nibbles, and takes the frame only when
// the last nibble repeats the command.
#include <array>
#include <cstdint>
#include <vector>

namespace vmeter {

constexpr int FRAME_LENGTH = 36;
using WireFrame = std::array<uint8_t, FRAME_LENGTH>;

struct AssemblyEvent {
  enum Kind {
    FRAME,        // nibbles: a whole frame whose trailer matches its command
    BAD_TRAILER,  // nibbles: 36 nibbles whose last one is not the command
    CUT_SHORT,    // nibbles: the first `count` nibbles of a frame that a new F E cut short
    SKIPPED,      // count: nibbles written outside any frame
    LOW_BITS,     // byte: a written byte whose low four bits are not zero
  };
  Kind kind;
  WireFrame nibbles{};
  int count = 0;
  uint8_t byte = 0;
};

class FrameAssembler {
 public:
  // Takes one written byte; appends what it completed or found wrong.
  void Feed(uint8_t wireByte, std::vector<AssemblyEvent>& events);

 private:
  void FeedNibble(uint8_t nibble, std::vector<AssemblyEvent>& events);
  void FinishFrame(std::vector<AssemblyEvent>& events);
  void StartFrame(std::vector<AssemblyEvent>& events);

  WireFrame frame_{};
  int count_ = 0;        // nibbles of the frame gathered so far; 0 while waiting for F E
  bool afterF_ = false;  // while waiting: the last nibble was F
  int outside_ = 0;      // while waiting: nibbles seen, counting a trailing F
};

}  // namespace vmeter
