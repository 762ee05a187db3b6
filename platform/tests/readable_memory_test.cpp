// The rules of readable memory over regions as a system might report them, including reports
// no well-behaved system makes: a walk must end and its arithmetic must not wrap.
#include "platform/readable_memory.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace platform {
namespace {

constexpr uint64_t kTop = std::numeric_limits<uint64_t>::max();

// The listed region that holds the address, else `otherwise`.
class ListedSpace : public AddressSpace {
 public:
  std::optional<MemoryRegion> RegionAt(uint64_t address) override {
    for (const MemoryRegion& region : regions) {
      if (address >= region.base && address - region.base < region.size) return region;
    }
    return otherwise;
  }
  std::vector<MemoryRegion> regions;
  std::optional<MemoryRegion> otherwise;
};

MemoryRegion Committed(uint64_t base, uint64_t size, uint32_t protection,
                       uint64_t allocation = 0x10000) {
  return {base, size, allocation, true, protection};
}

TEST(ReadableMemory, OnlyCommittedPagesThatAllowReadingAndAreNoGuard) {
  for (uint32_t protection : {kPageReadOnly, kPageReadWrite, kPageWriteCopy, kPageExecuteRead,
                              kPageExecuteReadWrite, kPageExecuteWriteCopy}) {
    EXPECT_TRUE(IsReadable(Committed(0x10000, 0x1000, protection))) << protection;
  }
  EXPECT_FALSE(IsReadable(Committed(0x10000, 0x1000, kPageExecute))) << "execute-only";
  EXPECT_FALSE(IsReadable(Committed(0x10000, 0x1000, kPageNoAccess)));
  EXPECT_FALSE(IsReadable(Committed(0x10000, 0x1000, kPageReadWrite | kPageGuard)));
  EXPECT_FALSE(IsReadable(Committed(0x10000, 0x1000, 0))) << "no protection reported";
  EXPECT_FALSE(IsReadable({0x10000, 0x1000, 0x10000, false, kPageReadWrite})) << "reserved";
}

TEST(ReadableMemory, ExtentEndsAtAnUnreadablePageOrTheAllocationAndRangesMayCrossIt) {
  ListedSpace space;
  space.regions = {
      Committed(0x10000, 0x2000, kPageReadWrite), Committed(0x12000, 0x1000, kPageReadOnly),
      Committed(0x13000, 0x1000, kPageNoAccess), Committed(0x14000, 0x1000, kPageReadWrite),
      Committed(0x15000, 0x1000, kPageReadWrite, 0x15000)};
  EXPECT_EQ(ReadableExtent(space, 0x10800), 0x2800u) << "two regions, up to the no-access page";
  EXPECT_EQ(ReadableExtent(space, 0x13000), 0u);
  EXPECT_EQ(ReadableExtent(space, 0x14000), 0x1000u) << "not into the next allocation";
  EXPECT_EQ(ReadableExtent(space, 0x20000), 0u) << "nothing reported there";

  EXPECT_TRUE(IsReadableRange(space, 0x10800, 0x2800));
  EXPECT_FALSE(IsReadableRange(space, 0x10800, 0x2801));
  EXPECT_TRUE(IsReadableRange(space, 0x14000, 0x2000)) << "a range may span allocations";
  EXPECT_FALSE(IsReadableRange(space, 0, 0x10)) << "the null address";
}

TEST(ReadableMemory, TheTopOfTheSpaceAndBrokenReportsEndTheWalk) {
  ListedSpace space;
  space.regions = {Committed(kTop - 0xFFF, 0x1000, kPageReadWrite)};
  EXPECT_EQ(ReadableExtent(space, kTop - 0x10), 0x10u) << "counted up to the top, not past it";
  EXPECT_TRUE(IsReadableRange(space, kTop - 0x10, 0x10));
  EXPECT_FALSE(IsReadableRange(space, kTop - 0x10, 0x11)) << "would pass the top";

  space.regions = {Committed(0x10000, kTop, kPageReadWrite)};  // a size that runs past the top
  EXPECT_EQ(ReadableExtent(space, 0x10000), kTop - 0x10000);

  space.regions = {};
  space.otherwise = Committed(0x10000, 0, kPageReadWrite);  // an empty region everywhere
  EXPECT_EQ(ReadableExtent(space, 0x10000), 0u);
  space.otherwise = Committed(0x10000, 0x1000, kPageReadWrite);  // the same region everywhere
  EXPECT_EQ(ReadableExtent(space, 0x10000), 0x1000u) << "a region that does not hold the next";
  EXPECT_FALSE(IsReadableRange(space, 0x10000, 0x1001));
}

}  // namespace
}  // namespace platform
