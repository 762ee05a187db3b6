#include "platform/readable_memory.h"

#include <algorithm>
#include <limits>

namespace platform {

namespace {

constexpr uint32_t kReadableProtections = kPageReadOnly | kPageReadWrite | kPageWriteCopy |
                                          kPageExecuteRead | kPageExecuteReadWrite |
                                          kPageExecuteWriteCopy;

// The region at the address when it is readable and really holds the address: a report that
// does not (an empty region, one that ends before the address) ends the walk.
std::optional<MemoryRegion> ReadableRegionAt(AddressSpace& space, uint64_t address) {
  const std::optional<MemoryRegion> region = space.RegionAt(address);
  if (!region || !IsReadable(*region) || address < region->base ||
      address - region->base >= region->size) {
    return std::nullopt;
  }
  return region;
}

// Readable bytes from the address on, counted no further than limit. The walk counts in
// integers, so no address past the top of the space is ever formed.
uint64_t ReadableBytes(AddressSpace& space, uint64_t address, uint64_t limit,
                       bool across_allocations) {
  const std::optional<MemoryRegion> first = ReadableRegionAt(space, address);
  if (!first) return 0;
  uint64_t extent = 0;
  uint64_t at = address;
  for (std::optional<MemoryRegion> region = first; region;) {
    const uint64_t rest = region->size - (at - region->base);
    const uint64_t room = std::numeric_limits<uint64_t>::max() - at;
    if (rest > room) {  // the region reaches the top of the space
      extent += room;
      break;
    }
    extent += rest;
    if (extent >= limit) break;
    at += rest;
    region = ReadableRegionAt(space, at);
    if (region && !across_allocations && region->allocation_base != first->allocation_base) {
      break;
    }
  }
  return std::min(extent, limit);
}

}  // namespace

bool IsReadable(const MemoryRegion& region) {
  return region.committed && (region.protection & kReadableProtections) != 0 &&
         (region.protection & (kPageGuard | kPageNoAccess)) == 0;
}

uint64_t ReadableExtent(AddressSpace& space, uint64_t address) {
  return ReadableBytes(space, address, std::numeric_limits<uint64_t>::max(), false);
}

bool IsReadableRange(AddressSpace& space, uint64_t address, uint64_t length) {
  if (address == 0 || length > std::numeric_limits<uint64_t>::max() - address) return false;
  return ReadableBytes(space, address, length, true) >= length;
}

}  // namespace platform
