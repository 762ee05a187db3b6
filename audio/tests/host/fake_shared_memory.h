// Shared memory whose status block and data area a test writes directly.
#pragma once
#include <atomic>
#include <cstring>
#include <vector>

#include "audio/core/shared_memory_port.h"

namespace audio::testing {

class FakeSharedMemory : public SharedMemory {
 public:
  explicit FakeSharedMemory(size_t data_bytes = 4096) : data(data_bytes) {}

  void SnapshotStatusBlock(StatusBlock* snapshot) override {
    ++snapshots;
    *snapshot = block;
  }
  uint64_t DataAreaBytes() const override { return data.size(); }
  void CopyFromDataArea(uint64_t offset, void* destination, size_t length) override {
    if (offset > data.size() || length > data.size() - offset) {
      out_of_bounds = true;
      return;
    }
    std::memcpy(destination, data.data() + offset, length);
  }

  StatusBlock block{};
  std::vector<uint8_t> data;
  std::atomic<int> snapshots = 0;  // read by tests while a monitor thread polls
  bool out_of_bounds = false;
};

inline WaveFormatEx Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  const auto align = static_cast<uint16_t>(channels * bits / 8);
  return {kWaveFormatPcm, channels, rate, rate * align, align, bits, 0};
}

}  // namespace audio::testing
