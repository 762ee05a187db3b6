// An address space of pages a test allocates, protects and releases, reported region by region
// as VirtualQuery reports it: a run of pages of one allocation with the same state and
// protection.
#pragma once
#include <cstdint>
#include <map>
#include <optional>

#include "platform/readable_memory.h"

namespace platform::sim {

class SimAddressSpace : public AddressSpace {
 public:
  static constexpr uint64_t kPageSize = 4096;

  // Commits the pages, readable and writable, as one allocation; its address.
  uint64_t Allocate(uint64_t pages);
  void Protect(uint64_t address, uint64_t pages, uint32_t protection);
  // Releases the whole allocation that starts at the address.
  void Release(uint64_t allocation_base);

  std::optional<MemoryRegion> RegionAt(uint64_t address) override;

 private:
  struct Page {
    uint64_t allocation_base;
    uint32_t protection;
  };
  bool SameRun(uint64_t page, const Page& like) const;

  std::map<uint64_t, Page> pages_;  // by address
  uint64_t next_allocation_ = 0x10000;
};

}  // namespace platform::sim
