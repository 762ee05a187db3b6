#include "platform/win32/win32_address_space.h"

#include <windows.h>

#include <cstdint>

namespace platform::win32 {

std::optional<MemoryRegion> Win32AddressSpace::RegionAt(uint64_t address) {
  // An address this process cannot name has no region.
  if (address > UINTPTR_MAX) return std::nullopt;
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), &info,
                   sizeof info) == 0) {
    return std::nullopt;
  }
  return MemoryRegion{reinterpret_cast<uintptr_t>(info.BaseAddress), info.RegionSize,
                      reinterpret_cast<uintptr_t>(info.AllocationBase), info.State == MEM_COMMIT,
                      info.Protect};
}

}  // namespace platform::win32
