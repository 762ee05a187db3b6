#include "readable_memory_subject.h"

#include "platform/sim/sim_address_space.h"

namespace platform::testing {

namespace {

class SimReadableMemorySubject : public ReadableMemorySubject {
 public:
  AddressSpace& space() override { return sim_; }
  uint64_t PageSize() override { return sim::SimAddressSpace::kPageSize; }
  uint64_t Allocate(uint64_t pages) override { return sim_.Allocate(pages); }
  bool Protect(uint64_t address, uint64_t pages, uint32_t protection) override {
    sim_.Protect(address, pages, protection);
    return true;
  }
  bool Release(uint64_t allocation) override {
    sim_.Release(allocation);
    return true;
  }

 private:
  sim::SimAddressSpace sim_;
};

}  // namespace

std::unique_ptr<ReadableMemorySubject> MakeReadableMemorySubject() {
  return std::make_unique<SimReadableMemorySubject>();
}

}  // namespace platform::testing
