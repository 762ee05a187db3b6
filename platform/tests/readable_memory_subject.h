// The address space under test and a way to shape memory in it: the simulated pages on Linux,
// this process's own memory under Wine.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/readable_memory.h"

namespace platform::testing {

class ReadableMemorySubject {
 public:
  virtual ~ReadableMemorySubject() = default;

  virtual AddressSpace& space() = 0;
  virtual uint64_t PageSize() = 0;
  // Commits the pages, readable and writable, as one allocation of their own; its address, or 0.
  virtual uint64_t Allocate(uint64_t pages) = 0;
  virtual bool Protect(uint64_t address, uint64_t pages, uint32_t protection) = 0;
  virtual bool Release(uint64_t allocation) = 0;
};

std::unique_ptr<ReadableMemorySubject> MakeReadableMemorySubject();

}  // namespace platform::testing
