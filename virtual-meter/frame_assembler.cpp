#include "virtual-meter/frame_assembler.h"

namespace vmeter {

namespace {

constexpr uint8_t SYNC_FIRST = 0xF;
constexpr uint8_t SYNC_SECOND = 0xE;
constexpr int COMMAND_POSITION = 2;

AssemblyEvent MakeEvent(AssemblyEvent::Kind kind) {
  AssemblyEvent event;
  event.kind = kind;
  return event;
}

}  // namespace

void FrameAssembler::Feed(uint8_t wireByte, std::vector<AssemblyEvent>& events) {
  if (wireByte & 0x0F) {
    // The meter reads the nibble from the upper data lines only, so the byte still counts.
    AssemblyEvent event = MakeEvent(AssemblyEvent::LOW_BITS);
    event.byte = wireByte;
    events.push_back(event);
  }
  FeedNibble(static_cast<uint8_t>(wireByte >> 4), events);
}

void FrameAssembler::FeedNibble(uint8_t nibble, std::vector<AssemblyEvent>& events) {
  if (count_ > 0) {
    frame_[count_++] = nibble;
    if (count_ == FRAME_LENGTH) FinishFrame(events);
    return;
  }
  if (afterF_ && nibble == SYNC_SECOND) {
    StartFrame(events);
    return;
  }
  ++outside_;
  afterF_ = nibble == SYNC_FIRST;
}

void FrameAssembler::StartFrame(std::vector<AssemblyEvent>& events) {
  int skipped = outside_ - 1;  // the F just seen belongs to the frame
  if (skipped > 0) {
    AssemblyEvent event = MakeEvent(AssemblyEvent::SKIPPED);
    event.count = skipped;
    events.push_back(event);
  }
  frame_ = WireFrame{};
  frame_[0] = SYNC_FIRST;
  frame_[1] = SYNC_SECOND;
  count_ = 2;
  outside_ = 0;
  afterF_ = false;
}

void FrameAssembler::FinishFrame(std::vector<AssemblyEvent>& events) {
  count_ = 0;
  if (frame_[FRAME_LENGTH - 1] == frame_[COMMAND_POSITION]) {
    AssemblyEvent event = MakeEvent(AssemblyEvent::FRAME);
    event.nibbles = frame_;
    events.push_back(event);
    return;
  }
  // F E is legal inside a payload (the byte 0xFE), so it only marks a cut once the trailer shows
  // that the frame around it is broken. Gathering then resumes from the earliest such mark.
  for (int position = COMMAND_POSITION; position + 1 < FRAME_LENGTH; ++position) {
    if (frame_[position] != SYNC_FIRST || frame_[position + 1] != SYNC_SECOND) continue;
    AssemblyEvent cut = MakeEvent(AssemblyEvent::CUT_SHORT);
    cut.nibbles = frame_;
    cut.count = position;
    for (int i = position; i < FRAME_LENGTH; ++i) cut.nibbles[i] = 0;
    events.push_back(cut);
    WireFrame rest = frame_;
    StartFrame(events);
    for (int i = position + 2; i < FRAME_LENGTH; ++i) frame_[count_++] = rest[i];
    return;
  }
  AssemblyEvent bad = MakeEvent(AssemblyEvent::BAD_TRAILER);
  bad.nibbles = frame_;
  events.push_back(bad);
  afterF_ = frame_[FRAME_LENGTH - 1] == SYNC_FIRST;
  outside_ = afterF_ ? 1 : 0;
}

}  // namespace vmeter
