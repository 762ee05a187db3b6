#include "drvsetup/core/inf_qualification.h"

#include <gtest/gtest.h>

#include "host/fakes.h"

namespace drvsetup {
namespace {

using testing::StringTextReader;

const std::vector<std::string> kAudioRequired{"*VQVADSimple"};

bool Qualifies(std::string text, const InfKind& kind, const std::vector<std::string>& required) {
  StringTextReader reader(std::move(text));
  return InfTextQualifies(reader, kind, required);
}

TEST(InfQualification, NeedsTheHardwareIdAndTheClassGuidWithExactCase) {
  const std::string good =
      "[Version]\nClass=MEDIA\nClassGuid={4d36e96c-e325-11ce-bfc1-08002be10318}\n"
      "[Models]\n%Dev%=Install,*VQVADSimple\n";
  EXPECT_TRUE(Qualifies(good, kInfVirtualAudio, kAudioRequired));
  EXPECT_TRUE(Qualifies(good, kInfVirtualAudio, {}));
  // Media class GUID in upper case: the file does not belong to the driver.
  EXPECT_FALSE(
      Qualifies("ClassGuid={4D36E96C-E325-11CE-BFC1-08002BE10318}\n%Dev%=Install,*VQVADSimple\n",
                kInfVirtualAudio, kAudioRequired));
  EXPECT_FALSE(Qualifies("ClassGuid={4d36e96c-e325-11ce-bfc1-08002be10318}\n*vqvadsimple\n",
                         kInfVirtualAudio, kAudioRequired));
  EXPECT_FALSE(Qualifies("*VQVADSimple\n", kInfVirtualAudio, kAudioRequired));
  EXPECT_FALSE(Qualifies("{4d36e96c-e325-11ce-bfc1-08002be10318}\n", kInfVirtualAudio, {}));
  // The display kinds write the GUID in upper case.
  EXPECT_TRUE(Qualifies("{4D36E968-E325-11CE-BFC1-08002BE10318}\nROOT\\DISPLAY\\ZYN_Vqmdd\n",
                        kInfVqmdd, {"ROOT\\DISPLAY\\ZYN_Vqmdd"}));
  EXPECT_FALSE(Qualifies("{4d36e968-e325-11ce-bfc1-08002be10318}\nROOT\\DISPLAY\\ZYN_Vqmdd\n",
                         kInfVqmdd, {"ROOT\\DISPLAY\\ZYN_Vqmdd"}));
}

TEST(InfQualification, RequiredStringMustShareTheHardwareIdsChunk) {
  const std::string guid = "{4D36E968-E325-11CE-BFC1-08002BE10318}\n";
  const std::string both_ids = guid + "ROOT\\DISPLAY\\ZYN_Vfbdd ROOT\\DISPLAY\\Other\n";
  EXPECT_TRUE(Qualifies(both_ids, kInfVfbdd, {"ROOT\\DISPLAY\\Other"}));
  EXPECT_TRUE(Qualifies(both_ids, kInfVfbdd, {"absent", "ROOT\\DISPLAY\\Other"}));
  EXPECT_FALSE(Qualifies(both_ids, kInfVfbdd, {"absent"}));
  const std::string apart = guid + "ROOT\\DISPLAY\\ZYN_Vfbdd\nROOT\\DISPLAY\\Other\n";
  EXPECT_FALSE(Qualifies(apart, kInfVfbdd, {"ROOT\\DISPLAY\\Other"}));
}

TEST(InfQualification, TextSplitAcrossChunksIsNotFound) {
  const std::string guid = "{4d36e972-e325-11ce-bfc1-08002be10318}\n";
  // 250 characters of padding put the id across the 255-character chunk boundary.
  const std::string split = guid + std::string(250, ';') + std::string(kUsbNetworkAdapterId) + "\n";
  EXPECT_FALSE(Qualifies(split, kInfUsbNetwork, {}));
  // With the id starting right at the boundary it fits the next chunk.
  const std::string whole = guid + std::string(255, ';') + std::string(kUsbNetworkAdapterId) + "\n";
  EXPECT_TRUE(Qualifies(whole, kInfUsbNetwork, {}));
}

TEST(InfQualification, StopsReadingOnceBothAreFound) {
  StringTextReader reader(
      "{4d36e96c-e325-11ce-bfc1-08002be10318}\n*VQVADSimple\nmore\nlines\nhere\n");
  EXPECT_TRUE(InfTextQualifies(reader, kInfVirtualAudio, kAudioRequired));
  EXPECT_EQ(reader.chunks_read, 2);
}

TEST(InfQualification, ZeroByteEndsWhatIsSearchedInAChunk) {
  const std::string text =
      std::string("{4d36e96c-e325-11ce-bfc1-08002be10318}\nx\0*VQVADSimple\n", 55);
  EXPECT_FALSE(Qualifies(text, kInfVirtualAudio, kAudioRequired));
  // A UTF-16 file never qualifies.
  std::string wide;
  for (char c : std::string("{4d36e96c-e325-11ce-bfc1-08002be10318}\n*VQVADSimple\n")) {
    wide += c;
    wide += '\0';
  }
  EXPECT_FALSE(Qualifies(wide, kInfVirtualAudio, kAudioRequired));
}

}  // namespace
}  // namespace drvsetup
