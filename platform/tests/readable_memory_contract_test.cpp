// Readable memory as the system reports it: an allocation is readable to its end, and a guard
// page, a no-access page inside it, or its release ends what may be read.
#include <gtest/gtest.h>

#include "readable_memory_subject.h"

namespace platform::testing {
namespace {

class ReadableMemoryContractTest : public ::testing::Test {
 protected:
  std::unique_ptr<ReadableMemorySubject> subject_ = MakeReadableMemorySubject();
  AddressSpace& space_ = subject_->space();
  const uint64_t page_ = subject_->PageSize();
};

TEST_F(ReadableMemoryContractTest, AnAllocationIsReadableToItsEndAndNoFurther) {
  const uint64_t base = subject_->Allocate(4);
  ASSERT_NE(base, 0u);
  EXPECT_EQ(ReadableExtent(space_, base), 4 * page_);
  EXPECT_EQ(ReadableExtent(space_, base + 100), 4 * page_ - 100);
  EXPECT_TRUE(IsReadableRange(space_, base + 100, 4 * page_ - 100));
  EXPECT_FALSE(IsReadableRange(space_, base, 4 * page_ + 1));
  EXPECT_TRUE(subject_->Release(base));
}

TEST_F(ReadableMemoryContractTest, GuardAndNoAccessPagesInsideEndTheReadableExtent) {
  const uint64_t base = subject_->Allocate(6);
  ASSERT_NE(base, 0u);
  ASSERT_TRUE(subject_->Protect(base + 4 * page_, 1, kPageReadWrite | kPageGuard));
  ASSERT_TRUE(subject_->Protect(base + 2 * page_, 1, kPageNoAccess));
  EXPECT_EQ(ReadableExtent(space_, base + 10), 2 * page_ - 10);
  EXPECT_EQ(ReadableExtent(space_, base + 2 * page_), 0u);
  EXPECT_EQ(ReadableExtent(space_, base + 3 * page_), page_) << "up to the guard page";
  EXPECT_EQ(ReadableExtent(space_, base + 4 * page_ + 8), 0u);
  EXPECT_EQ(ReadableExtent(space_, base + 5 * page_), page_);
  EXPECT_FALSE(IsReadableRange(space_, base, 3 * page_));
  EXPECT_FALSE(IsReadableRange(space_, base + 3 * page_, 2 * page_));
  EXPECT_TRUE(IsReadableRange(space_, base + 5 * page_, page_));
  EXPECT_TRUE(subject_->Release(base));
}

TEST_F(ReadableMemoryContractTest, ReleasedMemoryIsNoLongerReadable) {
  const uint64_t base = subject_->Allocate(2);
  ASSERT_NE(base, 0u);
  ASSERT_EQ(ReadableExtent(space_, base), 2 * page_);
  ASSERT_TRUE(subject_->Release(base));
  EXPECT_EQ(ReadableExtent(space_, base), 0u);
  EXPECT_FALSE(IsReadableRange(space_, base + page_, 1));
}

}  // namespace
}  // namespace platform::testing
