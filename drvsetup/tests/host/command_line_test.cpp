#include "drvsetup/core/command_line.h"

#include <gtest/gtest.h>

#include "drvsetup/core/component_mask.h"

namespace drvsetup {
namespace {

TEST(CommandLine, ComponentValuesAddUp) {
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 8 -S").components, 8u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 24 -S").components, 24u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -o 3").components, 3u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe /O 1 /o 16").components, 17u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 1 -O 1").components, 1u);
  // Bits above 4 are ignored; the low bits of a huge number are exact.
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 40").components, 8u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 99999999999999999999999").components, 31u);
  // Leading digits only; blanks before the value are skipped.
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O    12abc").components, 12u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O 0").components, 0u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O x").components, 0u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe -O").components, 0u);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe").components, 0u);
}

TEST(CommandLine, ValueRunsToABlankBeforeAnOption) {
  // "4 x" is one value; only its leading digits count, and "x" is not an option.
  const CommandLineOptions a = ParseCommandLine("SetupOv.exe -O 4 x -S");
  EXPECT_FALSE(a.usage);
  EXPECT_EQ(a.components, 4u);
  // "-q" inside the value is not preceded by a blank, so it belongs to the value.
  const CommandLineOptions b = ParseCommandLine("SetupOv.exe -O 2-q");
  EXPECT_FALSE(b.usage);
  EXPECT_EQ(b.components, 2u);
  // After the value the next option is read normally.
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -O 2 -x").usage);
}

TEST(CommandLine, BadOptionsAskForUsage) {
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -O8").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -?").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe /?").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -SS").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -x").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -").usage);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -O 8 -").usage);
  EXPECT_FALSE(ParseCommandLine("SetupOv.exe -s").usage);
  EXPECT_FALSE(ParseCommandLine("SetupOv.exe\t-S\t-O\t8").usage);
  EXPECT_EQ(ParseCommandLine("SetupOv.exe\t-S\t-O\t8").components, 8u);
  // Text outside options is skipped.
  EXPECT_FALSE(ParseCommandLine("SetupOv.exe stray words -S").usage);
}

TEST(CommandLine, ProgramNameIsSkipped) {
  // A quoted name may hold blanks and option characters.
  EXPECT_FALSE(ParseCommandLine("\"C:\\My -x Folder\\SetupOv.exe\" -O 8").usage);
  EXPECT_EQ(ParseCommandLine("\"C:\\My -x Folder\\SetupOv.exe\" -O 8").components, 8u);
  EXPECT_FALSE(ParseCommandLine("C:\\a-b\\SetupOv.exe -S").usage);
  // An unquoted name ends at the first blank.
  EXPECT_TRUE(ParseCommandLine("C:\\a -b\\SetupOv.exe").usage);
  // An unterminated quote takes the whole line.
  EXPECT_FALSE(ParseCommandLine("\"C:\\SetupOv.exe -x").usage);
  EXPECT_FALSE(ParseCommandLine("").usage);
}

TEST(CommandLine, QuietFlagIsSetFromTheStart) {
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -O 8").quiet);
  EXPECT_TRUE(ParseCommandLine("SetupOv.exe -O 8 -S").quiet);
}

TEST(CommandLine, OverlongValueIsSkippedWhole) {
  const std::string fits = "SetupOv.exe -O 1" + std::string(258, '0') + " -O 2";
  EXPECT_EQ(ParseCommandLine(fits).components, 2u);  // 1 followed by zeros: bits 0-4 clear
  const std::string too_long = "SetupOv.exe -O 7" + std::string(259, '1') + " -O 16";
  EXPECT_EQ(ParseCommandLine(too_long).components, 16u);
  const std::string exactly = "SetupOv.exe -O " + std::string(258, '0') + "8";
  EXPECT_EQ(ParseCommandLine(exactly).components, 8u);
}

TEST(ComponentMask, DefaultsDependOnWindows7) {
  EXPECT_EQ(EffectiveComponentMask(0, false), 15u);
  EXPECT_EQ(EffectiveComponentMask(0, true), 31u);
  EXPECT_EQ(EffectiveComponentMask(8, false), 8u);
  EXPECT_EQ(EffectiveComponentMask(16, false), 16u);
}

}  // namespace
}  // namespace drvsetup
