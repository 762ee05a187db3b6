// The mapping adapter on memory of this process placed below 4 GiB, as the driver maps it:
// the extent comes from the system, and addresses that name no readable memory are refused.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "audio/win32/win32_audio_adapters.h"

namespace audio {
namespace {

constexpr size_t kBytes = 64 * 1024;

// Committed read-write memory at an address that fits 32 bits; nullptr when none is free.
uint8_t* AllocateLow() {
  for (uintptr_t at = 0x10000000; at < 0x7F000000; at += 0x01000000) {
    void* memory =
        VirtualAlloc(reinterpret_cast<void*>(at), kBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory) return static_cast<uint8_t*>(memory);
  }
  return nullptr;
}

uint32_t Low(const void* address) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

TEST(SharedMemoryWineTest, ExtentComesFromTheMappingAndBadAddressesAreRefused) {
  uint8_t* memory = AllocateLow();
  ASSERT_NE(memory, nullptr);
  StatusBlock block{};
  block.stream_id = 42;
  std::memcpy(memory, &block, sizeof block);
  std::memset(memory + 4096, 0x5A, kBytes - 4096);

  win32::Win32SharedMemoryResolver resolver;
  const std::unique_ptr<SharedMemory> shared = resolver.Resolve({Low(memory), Low(memory + 4096)});
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->DataAreaBytes(), kBytes - 4096);
  StatusBlock snapshot{};
  shared->SnapshotStatusBlock(&snapshot);
  EXPECT_EQ(snapshot.stream_id, 42u);
  uint8_t last = 0;
  shared->CopyFromDataArea(kBytes - 4096 - 1, &last, 1);
  EXPECT_EQ(last, 0x5A);

  EXPECT_EQ(resolver.Resolve({Low(memory), 0}), nullptr) << "no data area";
  EXPECT_EQ(resolver.Resolve({Low(memory + kBytes - 40), Low(memory + 4096)}), nullptr)
      << "a status block that runs past the mapping";
  EXPECT_EQ(resolver.Resolve({0x1000, Low(memory + 4096)}), nullptr) << "nothing mapped there";

  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(memory + 32768, 4096, PAGE_NOACCESS, &old));
  const std::unique_ptr<SharedMemory> cut = resolver.Resolve({Low(memory), Low(memory + 4096)});
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(cut->DataAreaBytes(), 32768u - 4096) << "the extent ends at the unreadable page";
  VirtualFree(memory, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace audio
