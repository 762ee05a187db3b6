#include "ui/zip_archive.h"

#include <gtest/gtest.h>

#include <string>

#include "zip_writer.h"

namespace ui {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> TwoEntryArchive() {
  skin::ZipWriter writer;
  writer.Add("skin.xml", Bytes("<Window/>"));
  writer.Add("big.bin", std::vector<uint8_t>(100000, 7));
  return writer.Finish();
}

std::optional<ZipArchive> Open(std::vector<uint8_t> bytes, std::string* error) {
  return ZipArchive::Open(std::move(bytes), error);
}

TEST(ZipArchiveTest, ReadsDeflatedEntriesByExactName) {
  std::string error;
  auto archive = Open(TwoEntryArchive(), &error);
  ASSERT_TRUE(archive) << error;
  EXPECT_EQ(archive->Entries().size(), 2u);
  EXPECT_EQ(archive->Read("skin.xml", &error), Bytes("<Window/>"));
  EXPECT_EQ(archive->Read("big.bin", &error), std::vector<uint8_t>(100000, 7));
  EXPECT_FALSE(archive->Read("SKIN.XML", &error));
  EXPECT_NE(error.find("not in the archive"), std::string::npos);
}

TEST(ZipArchiveTest, NotAnArchiveOrACutArchiveIsAClearError) {
  std::string error;
  EXPECT_FALSE(Open({}, &error));
  EXPECT_FALSE(Open(Bytes("PK\x05\x06 this is not a zip archive at all"), &error));
  std::vector<uint8_t> cut = TwoEntryArchive();
  cut.resize(cut.size() - 30);
  EXPECT_FALSE(Open(cut, &error));
  EXPECT_FALSE(error.empty());
}

TEST(ZipArchiveTest, DamagedDataOrDirectoryNeverReadsOutside) {
  std::vector<uint8_t> good = TwoEntryArchive();
  std::string error;
  // Every single byte flipped in turn: opening and reading both entries either succeed with
  // the right contents or fail with a message.
  for (size_t at = 0; at<good.size(); at += good.size()> 4000 ? 7 : 1) {
    std::vector<uint8_t> damaged = good;
    damaged[at] ^= 0xFF;
    auto archive = Open(damaged, &error);
    if (!archive) continue;
    for (const char* name : {"skin.xml", "big.bin"}) {
      auto data = archive->Read(name, &error);
      if (data && std::string(name) == "skin.xml") {
        EXPECT_EQ(*data, Bytes("<Window/>")) << at;
      }
    }
  }
}

TEST(ZipArchiveTest, ChecksumMismatchIsReported) {
  std::vector<uint8_t> bytes = TwoEntryArchive();
  // The central directory's CRC of the first entry.
  size_t directory = bytes.size() - 22;
  uint32_t offset = bytes[directory + 16] | bytes[directory + 17] << 8 |
                    bytes[directory + 18] << 16 | bytes[directory + 19] << 24;
  bytes[offset + 16] ^= 1;
  std::string error;
  auto archive = Open(bytes, &error);
  ASSERT_TRUE(archive) << error;
  EXPECT_FALSE(archive->Read("skin.xml", &error));
  EXPECT_NE(error.find("checksum"), std::string::npos);
}

}  // namespace
}  // namespace ui
