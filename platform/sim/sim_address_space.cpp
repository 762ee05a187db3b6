#include "platform/sim/sim_address_space.h"

namespace platform::sim {

uint64_t SimAddressSpace::Allocate(uint64_t pages) {
  const uint64_t base = next_allocation_;
  for (uint64_t i = 0; i < pages; ++i) pages_[base + i * kPageSize] = {base, kPageReadWrite};
  // A free page between allocations keeps them apart, as the allocation granularity does.
  next_allocation_ += (pages + 1) * kPageSize;
  return base;
}

void SimAddressSpace::Protect(uint64_t address, uint64_t pages, uint32_t protection) {
  for (uint64_t i = 0; i < pages; ++i) {
    const auto page = pages_.find(address + i * kPageSize);
    if (page != pages_.end()) page->second.protection = protection;
  }
}

void SimAddressSpace::Release(uint64_t allocation_base) {
  std::erase_if(pages_,
                [&](const auto& page) { return page.second.allocation_base == allocation_base; });
}

bool SimAddressSpace::SameRun(uint64_t page, const Page& like) const {
  const auto found = pages_.find(page);
  return found != pages_.end() && found->second.allocation_base == like.allocation_base &&
         found->second.protection == like.protection;
}

std::optional<MemoryRegion> SimAddressSpace::RegionAt(uint64_t address) {
  const uint64_t page = address - address % kPageSize;
  const auto found = pages_.find(page);
  if (found == pages_.end()) return MemoryRegion{page, kPageSize, 0, false, kPageNoAccess};
  const Page& like = found->second;
  uint64_t first = page;
  while (first > like.allocation_base && SameRun(first - kPageSize, like)) first -= kPageSize;
  uint64_t end = page + kPageSize;
  while (SameRun(end, like)) end += kPageSize;
  return MemoryRegion{first, end - first, like.allocation_base, true, like.protection};
}

}  // namespace platform::sim
