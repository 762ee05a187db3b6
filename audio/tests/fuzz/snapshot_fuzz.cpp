// Arbitrary status blocks and ring records from the driver, fed to the stream monitor's Poll
// and, through local playback, to the ring reader. Whatever the driver writes, nothing may be
// read outside the mapping and nothing may divide by zero. Each input stays cheap: a few
// snapshots, one notification round each, and a card whose buffers are small (a format asking
// for more is refused as by a card without the memory).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/core/local_playback.h"
#include "audio/core/stream_monitor.h"
#include "audio/sim/sim_sound_card.h"
#include "audio/tests/host/held_thread_sync.h"
#include "platform/sim/sim_sync.h"

namespace {

constexpr size_t kDataAreaBytes = 8192;
constexpr int kMaxSnapshots = 12;
constexpr platform::Guid kCard{1, 1, 1, {1}};

// Hands out the input's status blocks one snapshot at a time, then a quiet ready block.
class FuzzedMemory : public audio::SharedMemory {
 public:
  FuzzedMemory(const uint8_t* data, size_t size) : input_(data, data + size) {
    for (size_t i = 0; i < area_.size(); ++i) area_[i] = static_cast<uint8_t>(i * 7);
  }

  bool NextBlock() {
    if (at_ + sizeof(audio::StatusBlock) > input_.size()) return false;
    std::memcpy(&block_, input_.data() + at_, sizeof block_);
    at_ += sizeof block_;
    return true;
  }
  void SnapshotStatusBlock(audio::StatusBlock* snapshot) override {
    *snapshot = block_;
    // The ready wait must end: the field rises after a few reads, as a driver's would.
    if (++reads_ % 4 == 0) snapshot->ready |= 1;
  }
  uint64_t DataAreaBytes() const override { return area_.size(); }
  void CopyFromDataArea(uint64_t offset, void* destination, size_t length) override {
    if (offset > area_.size() || length > area_.size() - offset) std::abort();
    std::memcpy(destination, area_.data() + offset, length);
  }

 private:
  std::vector<uint8_t> input_;
  size_t at_ = 0;
  uint32_t reads_ = 0;
  audio::StatusBlock block_{};
  std::vector<uint8_t> area_ = std::vector<uint8_t>(kDataAreaBytes);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::sim::VirtualClock clock(1000);
  audio::testing::HeldThreadSync sync;
  audio::sim::SimSoundCard card(clock);
  card.faults().largest_buffer_bytes = 64 << 10;
  card.AddDevice({true, kCard, u"card", u""});
  FuzzedMemory memory(data, size);
  audio::LocalPlayback playback(card, memory, sync, clock);
  playback.OpenLocalPlayback(&kCard);
  audio::CStreamMonitor monitor(memory, playback, sync, clock);
  for (int snapshot = 0; snapshot < kMaxSnapshots && memory.NextBlock(); ++snapshot) {
    monitor.Poll();
    clock.Advance(audio::kMonitorPollMs);
    card.CatchUp();
    playback.HandleNotification();
  }
  return 0;
}
