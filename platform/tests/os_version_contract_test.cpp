// The version records and the WOW64 answer as the start-up of the removal tool and the
// launcher reads them.
#include <gtest/gtest.h>

#include "os_version_subject.h"

namespace platform::testing {
namespace {

TEST(OsVersionContractTest, TheExtendedRecordCarriesTheProductType) {
  auto subject = MakeOsVersionSubject();
  const OsVersionRecord expected = subject->Expected();
  const auto record = subject->os_version().QueryExtended();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->major, expected.major);
  EXPECT_EQ(record->minor, expected.minor);
  EXPECT_EQ(record->build, expected.build);
  EXPECT_EQ(record->platform_id, expected.platform_id);
  EXPECT_EQ(record->product_type, expected.product_type);
}

TEST(OsVersionContractTest, TheBasicRecordHasTheSameVersionWithoutProductType) {
  auto subject = MakeOsVersionSubject();
  const OsVersionRecord expected = subject->Expected();
  const auto record = subject->os_version().QueryBasic();
  ASSERT_TRUE(record.has_value());
  EXPECT_EQ(record->major, expected.major);
  EXPECT_EQ(record->minor, expected.minor);
  EXPECT_EQ(record->build, expected.build);
  EXPECT_EQ(record->platform_id, expected.platform_id);
  EXPECT_EQ(record->product_type, 0);
}

TEST(OsVersionContractTest, AnswersTheWow64Question) {
  auto subject = MakeOsVersionSubject();
  EXPECT_EQ(subject->os_version().IsWow64(), subject->ExpectedWow64());
}

}  // namespace
}  // namespace platform::testing
