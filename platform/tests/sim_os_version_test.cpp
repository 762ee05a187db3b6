// The simulated version records: the named systems and the failures a test can choose.
#include "platform/sim/sim_os_version.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

TEST(SimOsVersionTest, RecordsCanFailOneByOne) {
  SimOsVersion os(Windows98());
  EXPECT_EQ(os.QueryBasic()->platform_id, kPlatformWin32Windows);
  EXPECT_EQ(os.QueryExtended()->minor, 10u);
  os.SetExtended(std::nullopt);
  EXPECT_EQ(os.QueryExtended(), std::nullopt);
  EXPECT_TRUE(os.QueryBasic().has_value());
  os.SetWow64(std::nullopt);
  EXPECT_EQ(os.IsWow64(), std::nullopt);
}

TEST(SimOsVersionTest, NamedSystems) {
  for (const auto& [record, major, minor, build] :
       {std::tuple{WindowsXp(), 5u, 1u, 2600u}, std::tuple{WindowsVista(), 6u, 0u, 6002u},
        std::tuple{Windows7(), 6u, 1u, 7601u}, std::tuple{Windows8(), 6u, 2u, 9200u}}) {
    EXPECT_EQ(record.major, major);
    EXPECT_EQ(record.minor, minor);
    EXPECT_EQ(record.build, build);
    EXPECT_EQ(record.platform_id, kPlatformWin32Nt);
    EXPECT_EQ(record.product_type, kProductWorkstation);
  }
}

}  // namespace
}  // namespace platform::sim
