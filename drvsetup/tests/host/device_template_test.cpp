#include "drvsetup/core/device_template.h"

#include <gtest/gtest.h>

#include "host/fakes.h"

namespace drvsetup {
namespace {

const SingleByteCodePage kSingleByte;
const testing::DoubleByteCodePage kDoubleByte;

bool Matches(std::string_view id, std::string_view text, const CodePage& cp = kSingleByte) {
  return MatchesTemplate(id, BuildDeviceTemplate(text, cp), cp);
}

TEST(DeviceTemplate, KindsAndWildcardPosition) {
  const DeviceTemplate all = BuildDeviceTemplate("*", kSingleByte);
  EXPECT_EQ(all.kind, TemplateKind::kAllDevices);
  EXPECT_TRUE(all.NeedsSearch());

  const DeviceTemplate instance = BuildDeviceTemplate("@ROOT\\MEDIA\\0000", kSingleByte);
  EXPECT_EQ(instance.kind, TemplateKind::kInstanceId);
  EXPECT_EQ(instance.text, "ROOT\\MEDIA\\0000");
  EXPECT_FALSE(instance.wildcard);
  EXPECT_FALSE(instance.NeedsSearch());

  const DeviceTemplate instance_search = BuildDeviceTemplate("@ROOT\\MEDIA\\*", kSingleByte);
  EXPECT_EQ(instance_search.wildcard, 11u);
  EXPECT_TRUE(instance_search.NeedsSearch());

  const DeviceTemplate literal = BuildDeviceTemplate("'*VQVADSimple", kSingleByte);
  EXPECT_EQ(literal.kind, TemplateKind::kLiteral);
  EXPECT_EQ(literal.text, "*VQVADSimple");
  EXPECT_FALSE(literal.wildcard);
  EXPECT_TRUE(literal.NeedsSearch());

  const DeviceTemplate hardware = BuildDeviceTemplate("*VQVADSimple", kSingleByte);
  EXPECT_EQ(hardware.kind, TemplateKind::kHardwareId);
  EXPECT_EQ(hardware.wildcard, 0u);
}

TEST(DeviceTemplate, WithoutWildcardTheWholeIdMustEqualIgnoringCase) {
  EXPECT_TRUE(Matches("ROOT\\DISPLAY\\ZYN_Vfbdd", "ROOT\\DISPLAY\\ZYN_Vfbdd"));
  EXPECT_TRUE(Matches("root\\display\\zyn_vfbdd", "ROOT\\DISPLAY\\ZYN_Vfbdd"));
  EXPECT_FALSE(Matches("ROOT\\DISPLAY\\ZYN_Vfbdd2", "ROOT\\DISPLAY\\ZYN_Vfbdd"));
  EXPECT_FALSE(Matches("ROOT\\DISPLAY\\ZYN_Vfbd", "ROOT\\DISPLAY\\ZYN_Vfbdd"));
  EXPECT_FALSE(Matches("ROOT\\DISPLAY\\ZYN_Vqmdd", "ROOT\\DISPLAY\\ZYN_Vfbdd"));
}

TEST(DeviceTemplate, LeadingWildcardMatchesEveryIdEndingInTheRest) {
  EXPECT_TRUE(Matches("*VQVADSimple", "*VQVADSimple"));
  EXPECT_TRUE(Matches("ROOT\\vqvadsimple", "*VQVADSimple"));
  EXPECT_TRUE(Matches("VQVADSimple", "*VQVADSimple"));
  EXPECT_FALSE(Matches("*VQVADSimple2", "*VQVADSimple"));
  EXPECT_FALSE(Matches("QVADSimple", "*VQVADSimple"));
}

TEST(DeviceTemplate, InnerRunsAreFoundInOrderAndTheLastIsASuffix) {
  EXPECT_TRUE(Matches("USB\\VID_1234&PID_8500&REV_0001", "USB\\*PID_8500*"));
  EXPECT_TRUE(Matches("USB\\VID_1234&PID_8500", "USB\\*&PID_*"));
  EXPECT_FALSE(Matches("PCI\\VID_1234&PID_8500", "USB\\*PID_8500*"));
  // Runs must appear in the template's order.
  EXPECT_FALSE(Matches("xBAx", "x*A*B*"));
  EXPECT_TRUE(Matches("xABx", "x*A*B*"));
  // The first occurrence of a run is taken: "ab" here leaves "abab" for the suffix.
  EXPECT_TRUE(Matches("abababab", "*ab*abab"));
  // The suffix may not overlap text already consumed by an inner run.
  EXPECT_FALSE(Matches("abc", "*abc*bc"));
  EXPECT_TRUE(Matches("abcbc", "*abc*bc"));
  // Neighbouring stars act as one.
  EXPECT_TRUE(Matches("a-z", "a**z"));
  EXPECT_FALSE(Matches("a-y", "a**z"));
  EXPECT_TRUE(Matches("anything", "*"));
}

TEST(DeviceTemplate, LiteralTemplateGivesTheStarNoMeaning) {
  EXPECT_TRUE(Matches("*vqvadsimple", "'*VQVADSimple"));
  EXPECT_FALSE(Matches("ROOT\\VQVADSimple", "'*VQVADSimple"));
}

TEST(DeviceTemplate, DoubleByteCharactersAreWholeAndNotFolded) {
  // 0x82 0x41 is one character whose second byte is an 'A': it is neither folded nor a place
  // where a run may begin.
  const std::string id = "X\x82\x41Z";
  EXPECT_TRUE(Matches(id, "X\x82\x41Z", kDoubleByte));
  EXPECT_FALSE(Matches("X\x82\x61Z", "X\x82\x41Z", kDoubleByte));
  EXPECT_FALSE(Matches(id, "*AZ", kDoubleByte));
  EXPECT_TRUE(Matches(id, "*AZ", kSingleByte));
  EXPECT_FALSE(Matches(id, "X*A*", kDoubleByte));
  EXPECT_TRUE(Matches(id, "x*\x82\x41*", kDoubleByte));
  // A '*' that is the second byte of a character is no wildcard.
  const DeviceTemplate t = BuildDeviceTemplate("\x82*B", kDoubleByte);
  EXPECT_FALSE(t.wildcard);
  EXPECT_TRUE(MatchesTemplate("\x82*b", t, kDoubleByte));
  // A lead byte at the very end stands alone and does not reach past the text.
  EXPECT_TRUE(Matches("AB\x82", "*B\x82", kDoubleByte));
}

}  // namespace
}  // namespace drvsetup
