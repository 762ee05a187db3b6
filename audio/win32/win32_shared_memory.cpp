#include <windows.h>

#include <cstring>

#include "audio/win32/win32_audio_adapters.h"
#include "platform/readable_memory.h"
#include "platform/win32/win32_address_space.h"

namespace audio::win32 {

namespace {

// Bytes readable from the address on: the committed, readable regions of its allocation.
uint64_t ReadableExtent(uintptr_t address) {
  platform::win32::Win32AddressSpace space;
  return platform::ReadableExtent(space, address);
}

class Win32SharedMemory : public SharedMemory {
 public:
  Win32SharedMemory(uintptr_t status_block, uintptr_t data_area, uint64_t data_bytes)
      : status_block_(status_block), data_area_(data_area), data_bytes_(data_bytes) {}

  void SnapshotStatusBlock(StatusBlock* snapshot) override {
    // Word by word from memory the driver changes at any time.
    const auto* live = reinterpret_cast<const volatile uint32_t*>(status_block_);
    uint32_t words[sizeof(StatusBlock) / 4];
    for (size_t i = 0; i < sizeof(StatusBlock) / 4; ++i) words[i] = live[i];
    std::memcpy(snapshot, words, sizeof words);
  }
  uint64_t DataAreaBytes() const override { return data_bytes_; }
  void CopyFromDataArea(uint64_t offset, void* destination, size_t length) override {
    std::memcpy(destination, reinterpret_cast<const void*>(data_area_ + offset), length);
  }

 private:
  uintptr_t status_block_;
  uintptr_t data_area_;
  uint64_t data_bytes_;
};

}  // namespace

std::unique_ptr<SharedMemory> Win32SharedMemoryResolver::Resolve(const SharedAddresses& addresses) {
  const uintptr_t status_block = addresses.status_block;
  const uintptr_t data_area = addresses.data_area;
  if (data_area == 0 || ReadableExtent(status_block) < sizeof(StatusBlock)) return nullptr;
  const uint64_t data_bytes = ReadableExtent(data_area);
  if (data_bytes == 0) return nullptr;
  return std::make_unique<Win32SharedMemory>(status_block, data_area, data_bytes);
}

}  // namespace audio::win32
