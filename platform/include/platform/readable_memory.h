// Which memory of this process can be read, decided over the regions the system reports for
// it: a pointer from outside (a driver, a shared mapping) is read only where this says so.
#pragma once
#include <cstdint>
#include <optional>

namespace platform {

// Page protections with their Windows values; a region's protection combines them.
enum PageProtection : uint32_t {
  kPageNoAccess = 0x01,
  kPageReadOnly = 0x02,
  kPageReadWrite = 0x04,
  kPageWriteCopy = 0x08,
  kPageExecute = 0x10,
  kPageExecuteRead = 0x20,
  kPageExecuteReadWrite = 0x40,
  kPageExecuteWriteCopy = 0x80,
  kPageGuard = 0x100,
};

// A run of pages with the same state and protection, as VirtualQuery reports it.
struct MemoryRegion {
  uint64_t base = 0;
  uint64_t size = 0;
  uint64_t allocation_base = 0;  // where the allocation holding the region starts
  bool committed = false;
  uint32_t protection = 0;
};

class AddressSpace {
 public:
  virtual ~AddressSpace() = default;
  // The region holding the address; nullopt where the system reports none.
  virtual std::optional<MemoryRegion> RegionAt(uint64_t address) = 0;
};

// Committed, with a protection that allows reading, and neither a guard page nor no-access.
// Execute-only pages fault when read.
bool IsReadable(const MemoryRegion& region);

// Bytes readable from the address on, up to the end of the last readable region of the
// allocation holding it; 0 when the address itself cannot be read.
uint64_t ReadableExtent(AddressSpace& space, uint64_t address);

// Whether every byte of [address, address + length) can be read, across allocations; false for
// the null address and for a range that would pass the top of the address space.
bool IsReadableRange(AddressSpace& space, uint64_t address, uint64_t length);

}  // namespace platform
