#include "launcher/core/version_flags.h"

#include <gtest/gtest.h>

#include <ostream>

#include "platform/sim/sim_os_version.h"

namespace launcher {
namespace {

using platform::OsVersionRecord;
using platform::sim::SimOsVersion;

struct FlagCase {
  const char* name;
  OsVersionRecord record;
  bool vista_or_later;
  bool vista;
  bool windows7;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class VersionFlagsTest : public testing::TestWithParam<FlagCase> {};

TEST_P(VersionFlagsTest, FlagsFollowTheVersion) {
  SimOsVersion os(GetParam().record);
  const VersionFlags flags = DetermineVersionFlags(os);
  EXPECT_EQ(flags.vista_or_later, GetParam().vista_or_later);
  EXPECT_EQ(flags.vista, GetParam().vista);
  EXPECT_EQ(flags.windows7, GetParam().windows7);
}

constexpr uint32_t kNt = platform::kPlatformWin32Nt;

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionFlagsTest,
    testing::Values(
        FlagCase{"WindowsXp", platform::sim::WindowsXp(), false, false, false},
        FlagCase{"Windows2000", {5, 0, 2195, kNt, 1}, false, false, false},  // 2000
        FlagCase{"Server2003", {5, 2, 3790, kNt, 3}, false, false, false},   // Server 2003
        FlagCase{"Vista", platform::sim::WindowsVista(), true, true, false},
        FlagCase{"Server2008", {6, 0, 6001, kNt, 3}, true, true, false},  // Server 2008
        FlagCase{"Windows7", platform::sim::Windows7(), true, false, true},
        FlagCase{"Windows8", platform::sim::Windows8(), true, false, false},
        FlagCase{"Windows10", {10, 0, 19045, kNt, 1}, true, false, false},
        FlagCase{"Windows98", platform::sim::Windows98(), false, false, false},
        // Only the NT family counts, whatever the numbers say.
        FlagCase{
            "NineXFamilyAt61", {6, 1, 0, platform::kPlatformWin32Windows, 0}, false, false, false},
        FlagCase{"Win32sAt60", {6, 0, 0, platform::kPlatformWin32s, 0}, false, false, false}),
    [](const testing::TestParamInfo<FlagCase>& info) { return info.param.name; });

TEST(VersionFlagsFallbackTest, BasicRecordIsUsedWhenTheExtendedOneFails) {
  SimOsVersion os(platform::sim::WindowsXp());
  os.SetExtended(std::nullopt);
  os.SetBasic(platform::sim::Windows7());
  EXPECT_TRUE(DetermineVersionFlags(os).windows7);
}

TEST(VersionFlagsFallbackTest, ExtendedRecordWinsOverTheBasicOne) {
  SimOsVersion os(platform::sim::WindowsVista());
  os.SetBasic(platform::sim::Windows7());
  const VersionFlags flags = DetermineVersionFlags(os);
  EXPECT_TRUE(flags.vista);
  EXPECT_FALSE(flags.windows7);
}

TEST(VersionFlagsFallbackTest, UnreadableVersionLeavesEveryFlagClear) {
  SimOsVersion os(platform::sim::Windows7());
  os.SetExtended(std::nullopt);
  os.SetBasic(std::nullopt);
  const VersionFlags flags = DetermineVersionFlags(os);
  EXPECT_FALSE(flags.vista_or_later || flags.vista || flags.windows7);
}

}  // namespace
}  // namespace launcher
