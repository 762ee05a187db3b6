// This process's address space as VirtualQuery reports it.
#pragma once
#include "platform/readable_memory.h"

namespace platform::win32 {

class Win32AddressSpace : public AddressSpace {
 public:
  std::optional<MemoryRegion> RegionAt(uint64_t address) override;
};

}  // namespace platform::win32
