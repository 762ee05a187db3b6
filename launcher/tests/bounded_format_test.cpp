#include "launcher/core/bounded_format.h"

#include <gtest/gtest.h>

#include <string>

namespace launcher {
namespace {

TEST(FormatBoundedTest, InsertsArgumentsInOrder) {
  EXPECT_EQ(FormatBounded(260, "%s\\%s\\%s.exe", {"C:\\Windows", "ZYN", "Skyrow"}),
            "C:\\Windows\\ZYN\\Skyrow.exe");
  EXPECT_EQ(FormatBounded(260, "config SSDPSRV start= auto", {}), "config SSDPSRV start= auto");
}

TEST(FormatBoundedTest, ArgumentsAreInsertedVerbatim) {
  // A "%s" inside an inserted text is not a placeholder.
  EXPECT_EQ(FormatBounded(260, "a=%s b=%s", {"%s", "x"}), "a=%s b=x");
}

TEST(FormatBoundedTest, LongestTextThatFitsIsKeptWhole) {
  const std::string arg(255, 'x');
  EXPECT_EQ(FormatBounded(260, "%s.exe", {arg}), arg + ".exe");
  EXPECT_EQ(FormatBounded(260, "ab%scd", {arg}), "ab" + arg + "cd");
}

TEST(FormatBoundedTest, TextThatNeedsTheTerminatorSlotIsRefused) {
  EXPECT_EQ(FormatBounded(260, "%s", {std::string(260, 'x')}), std::nullopt);
  EXPECT_EQ(FormatBounded(260, "%s.exe", {std::string(256, 'x')}), std::nullopt);
  EXPECT_EQ(FormatBounded(4, "abcd", {}), std::nullopt);
  EXPECT_EQ(FormatBounded(0, "", {}), std::nullopt);
}

TEST(FormatBoundedTest, ArgumentCountMustMatchPlaceholders) {
  EXPECT_EQ(FormatBounded(260, "%s %s", {"one"}), std::nullopt);
  EXPECT_EQ(FormatBounded(260, "%s", {"one", "two"}), std::nullopt);
  EXPECT_EQ(FormatBounded(260, "none", {"one"}), std::nullopt);
}

}  // namespace
}  // namespace launcher
