// Wildcard matching and 8.3 aliases; the expected aliases are what Wine 8 gave these names.
#include "platform/sim/file_name_pattern.h"

#include <gtest/gtest.h>

namespace platform::sim {
namespace {

TEST(FileNamePatternTest, StarsAndQuestionMarksWithoutRegardToCase) {
  EXPECT_TRUE(MatchesFileNamePattern("oem*.inf", "OEM12.INF"));
  EXPECT_TRUE(MatchesFileNamePattern("oem*.inf", "oem.inf"));
  EXPECT_FALSE(MatchesFileNamePattern("oem*.inf", "xoem1.inf"));
  EXPECT_FALSE(MatchesFileNamePattern("oem*.inf", "oem1.inf.bak"));
  EXPECT_TRUE(MatchesFileNamePattern("*.inf", "a.b.inf"));
  EXPECT_TRUE(MatchesFileNamePattern("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(MatchesFileNamePattern("a*b*c", "aXbYcZ"));
  EXPECT_TRUE(MatchesFileNamePattern("?", "b"));
  EXPECT_FALSE(MatchesFileNamePattern("??", "b"));
  EXPECT_TRUE(MatchesFileNamePattern("*?", "b"));
  EXPECT_TRUE(MatchesFileNamePattern("S?tupOv.exe", "SetupOv.exe"));
  EXPECT_FALSE(MatchesFileNamePattern("*a", "alpha.inf"));
  EXPECT_FALSE(MatchesFileNamePattern("", "a"));
}

TEST(FileNamePatternTest, LeftoverDotsAndStarsMatchTheEndOfTheName) {
  EXPECT_TRUE(MatchesFileNamePattern("*.*", "noext"));
  EXPECT_TRUE(MatchesFileNamePattern("*.*", "."));
  EXPECT_TRUE(MatchesFileNamePattern("*.*", ".."));
  EXPECT_TRUE(MatchesFileNamePattern("noext.*", "noext"));
  EXPECT_TRUE(MatchesFileNamePattern("*.", "zeta.txt"));
  EXPECT_TRUE(MatchesFileNamePattern(".*", ".."));
  EXPECT_FALSE(MatchesFileNamePattern(".*", "a.b"));
  EXPECT_FALSE(MatchesFileNamePattern("*.?", "noext"));
}

TEST(FileNamePatternTest, AliasesOfNamesThatAreNot83) {
  EXPECT_EQ(ShortFileName("oem1.info"), "OEM1~C2X.INF");
  EXPECT_EQ(ShortFileName("a.b.c"), "A_B~~54C.C");
  EXPECT_EQ(ShortFileName("aaaaaaaaaaaa.txt"), "AAAA~KLM.TXT");
  EXPECT_EQ(ShortFileName("Program Files"), "PROG~FBU");
  EXPECT_EQ(ShortFileName("ProgramData"), "PROG~BDQ");
}

TEST(FileNamePatternTest, ValidShortNamesHaveNoAlias) {
  for (const char* name : {"Alpha.INF", "oem12.inf", "noext", "b", "12345678.123", ".", ".."}) {
    EXPECT_EQ(ShortFileName(name), std::nullopt) << name;
  }
  for (const char* name : {"123456789", "a.1234", "a b", "x+y.txt", ".hidden", "trail."}) {
    EXPECT_NE(ShortFileName(name), std::nullopt) << name;
  }
}

TEST(FileNamePatternTest, SortedListingComparesUpperCaseForms) {
  EXPECT_TRUE(ListsBefore("a.b.c", "aaaa.txt"));  // '.' before letters
  EXPECT_TRUE(ListsBefore("aaaa.txt", "Alpha.INF"));
  EXPECT_TRUE(ListsBefore("oem1.info", "oem12.inf"));
  EXPECT_TRUE(ListsBefore("Z", "_"));  // upper case letters come before '_'
  EXPECT_TRUE(ListsBefore("ab", "abc"));
  EXPECT_FALSE(ListsBefore("B", "a"));
  EXPECT_TRUE(EqualsIgnoringCase("SetupOv.EXE", "setupov.exe"));
  EXPECT_FALSE(EqualsIgnoringCase("SetupOv.exe", "SetupOv64.exe"));
}

}  // namespace
}  // namespace platform::sim
