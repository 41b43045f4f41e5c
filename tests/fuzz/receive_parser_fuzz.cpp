// The receive parser over any stream of interrupt status words, one input byte per word (its high
// four bits stand for the status bits the parser must ignore).
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "meter/receive_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReceiveState state;
  uint8_t previous[2] = {0xFF, 0xFF};  // the two nibbles fed before this one
  for (size_t i = 0; i < size; ++i) {
    uint8_t nibble = data[i] & 0xF;
    int32_t gathered = state.count;
    int32_t temperature = FeedReceivedNibble(state, data[i]);
    FUZZ_CHECK(state.count >= 0 && state.count <= 5);
    FUZZ_CHECK(temperature >= -1 && temperature <= 255);
    if (temperature >= 0) {
      // Only the trailer 2, 3 completes a packet, which then starts afresh.
      FUZZ_CHECK(previous[1] == 2 && nibble == 3 && state.count == 0);
    }
    // F then E among the nibbles being gathered restarts the gathering; an F that ended the six
    // before is not among them.
    if (gathered > 0 && previous[1] == 0xF && nibble == 0xE) {
      FUZZ_CHECK(state.count == 0 && temperature == -1);
    }
    previous[0] = previous[1];
    previous[1] = nibble;
  }
  return 0;
}
