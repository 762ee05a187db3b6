#include <gtest/gtest.h>

#include "platform/os_version.h"
#include "platform/paths.h"
#include "platform/sim/sim_os_version.h"

namespace {

using platform::FolderOf;
using platform::JoinPath;

TEST(Paths, JoinAddsOneSeparator) {
  EXPECT_EQ(JoinPath("C:\\Windows", "inf"), "C:\\Windows\\inf");
  EXPECT_EQ(JoinPath("C:\\", "inf"), "C:\\inf");
  EXPECT_EQ(JoinPath(u"C:\\dir\\", u"a.tlb"), u"C:\\dir\\a.tlb");
}

TEST(Paths, FolderKeepsItsFinalSeparator) {
  EXPECT_EQ(FolderOf("C:\\dir\\a.exe"), "C:\\dir\\");
  EXPECT_EQ(FolderOf(u"C:\\it's here\\Ombrivue.dll"), u"C:\\it's here\\");
  EXPECT_EQ(FolderOf(u"C:/dir/a.dll"), u"C:/dir/");
  EXPECT_EQ(FolderOf("C:a.exe"), "C:");
  EXPECT_EQ(FolderOf("a.exe"), "");
  EXPECT_EQ(FolderOf(u"C:\\dir\\"), u"C:\\dir\\");
}

TEST(QueryVersion, TakesTheBasicRecordOnlyWithoutAnExtendedOne) {
  platform::sim::SimOsVersion os(platform::sim::Windows7());
  os.SetBasic(platform::sim::WindowsXp());
  EXPECT_EQ(platform::QueryVersion(os)->minor, 1u);
  EXPECT_EQ(platform::QueryVersion(os)->major, 6u);
  os.SetExtended(std::nullopt);
  EXPECT_EQ(platform::QueryVersion(os)->major, 5u);
  os.SetBasic(std::nullopt);
  EXPECT_FALSE(platform::QueryVersion(os).has_value());
}

}  // namespace
