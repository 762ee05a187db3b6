// The properties record and its checks, the bound on the output buffer, and the marker
// segments (tables as libjpeg-turbo writes them for the same quality).
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "bench/jpeg/ijl.h"
#include "bench/tests/support/ijl_encode.h"
#include "bench/tests/support/turbo.h"

namespace ovjpeg::testing {
namespace {

class Record {
 public:
  explicit Record(const RgbImage& image, std::size_t capacity = 0)
      : out_(capacity ? capacity : image.pixels.size() + 4096) {
    ijlInit(&props_);
    props_.DIBBytes = image.pixels.data();
    props_.DIBWidth = image.width;
    props_.DIBHeight = image.height;
    props_.JPGBytes = out_.data();
    props_.JPGSizeBytes = static_cast<int>(out_.size());
    props_.JPGWidth = image.width;
    props_.JPGHeight = image.height;
    props_.jquality = 80;
  }
  ~Record() { ijlFree(&props_); }

  JPEG_CORE_PROPERTIES& props() { return props_; }
  std::vector<std::uint8_t>& out() { return out_; }
  IJLERR Write() { return ijlWrite(&props_, IJL_JBUFF_WRITEWHOLEIMAGE); }
  std::vector<std::uint8_t> Stream() const {
    return {out_.begin(), out_.begin() + props_.JPGSizeBytes};
  }

 private:
  JPEG_CORE_PROPERTIES props_;
  std::vector<std::uint8_t> out_;
};

TEST(JpegInterface, InitSetsTheDefaultsAndWriteCodesTheCallersPicture) {
  JPEG_CORE_PROPERTIES props;
  ASSERT_EQ(ijlInit(&props), IJL_OK);
  EXPECT_EQ(props.DIBChannels, 3);
  EXPECT_EQ(props.DIBColor, IJL_RGB);
  EXPECT_EQ(props.JPGColor, IJL_YCBCR);
  EXPECT_EQ(props.JPGSubsampling, IJL_411);
  EXPECT_EQ(ijlFree(&props), IJL_OK);

  const RgbImage image = MakePhoto(48, 40);
  Record record(image);
  ASSERT_EQ(record.Write(), IJL_OK);
  EXPECT_EQ(record.Stream(), EncodeWithKernels(image, 80, kScalarKernels));
}

TEST(JpegInterface, BadRecordsAreRefusedWithTheirError) {
  EXPECT_EQ(ijlInit(nullptr), IJL_INVALID_PROPERTIES);
  EXPECT_EQ(ijlWrite(nullptr, IJL_JBUFF_WRITEWHOLEIMAGE), IJL_INVALID_PROPERTIES);
  EXPECT_EQ(ijlFree(nullptr), IJL_INVALID_PROPERTIES);

  const RgbImage image = MakeDesktop(32, 16);
  const std::map<std::string, std::pair<void (*)(JPEG_CORE_PROPERTIES&), IJLERR>> cases = {
      {"no init", {[](JPEG_CORE_PROPERTIES& p) { p.initialised = 0; }, IJL_INVALID_PROPERTIES}},
      {"no pixels", {[](JPEG_CORE_PROPERTIES& p) { p.DIBBytes = nullptr; }, IJL_INVALID_PARAMETER}},
      {"no buffer", {[](JPEG_CORE_PROPERTIES& p) { p.JPGBytes = nullptr; }, IJL_INVALID_PARAMETER}},
      {"empty buffer",
       {[](JPEG_CORE_PROPERTIES& p) { p.JPGSizeBytes = 0; }, IJL_INVALID_PARAMETER}},
      {"zero width",
       {[](JPEG_CORE_PROPERTIES& p) { p.JPGWidth = p.DIBWidth = 0; }, IJL_INVALID_PARAMETER}},
      {"negative height",
       {[](JPEG_CORE_PROPERTIES& p) { p.JPGHeight = p.DIBHeight = -16; }, IJL_INVALID_PARAMETER}},
      {"too wide",
       {[](JPEG_CORE_PROPERTIES& p) { p.JPGWidth = p.DIBWidth = 65536; }, IJL_INVALID_PARAMETER}},
      {"sizes differ", {[](JPEG_CORE_PROPERTIES& p) { p.DIBWidth = 31; }, IJL_INVALID_PARAMETER}},
      {"negative pad",
       {[](JPEG_CORE_PROPERTIES& p) { p.DIBPadBytes = -1; }, IJL_INVALID_PARAMETER}},
      {"bgr", {[](JPEG_CORE_PROPERTIES& p) { p.DIBColor = IJL_BGR; }, IJL_UNSUPPORTED}},
      {"four channels", {[](JPEG_CORE_PROPERTIES& p) { p.DIBChannels = 4; }, IJL_UNSUPPORTED}},
      {"grey out", {[](JPEG_CORE_PROPERTIES& p) { p.JPGColor = IJL_G; }, IJL_UNSUPPORTED}},
      {"4:2:2", {[](JPEG_CORE_PROPERTIES& p) { p.JPGSubsampling = IJL_422; }, IJL_UNSUPPORTED}},
      {"1x1 sampling", {[](JPEG_CORE_PROPERTIES& p) { p.hsampling = 1; }, IJL_UNSUPPORTED}},
      {"missing table",
       {[](JPEG_CORE_PROPERTIES& p) { p.use_external_qtables = 1; }, IJL_INVALID_PARAMETER}},
      {"no planes",
       {[](JPEG_CORE_PROPERTIES& p) { p.raw_coefficients = 1; }, IJL_INVALID_PARAMETER}},
  };
  for (const auto& [name, c] : cases) {
    Record record(image);
    c.first(record.props());
    const int size_before = record.props().JPGSizeBytes;
    EXPECT_EQ(record.Write(), c.second) << name;
    EXPECT_EQ(record.props().JPGSizeBytes, size_before) << name;
  }
  Record record(image);
  EXPECT_EQ(ijlWrite(&record.props(), static_cast<IJLIOTYPE>(3)), IJL_UNSUPPORTED);
}

TEST(JpegInterface, WriteAfterFreeIsRefused) {
  const RgbImage image = MakeDesktop(16, 16);
  Record record(image);
  ASSERT_EQ(ijlFree(&record.props()), IJL_OK);
  EXPECT_EQ(record.Write(), IJL_INVALID_PROPERTIES);
  ijlInit(&record.props());  // so the destructor's free pairs with an init
}

// Packed RGB and 32-bit BGRX rows with padding code as the packed RGB picture; only three
// channels in RGB order and four in BGR order are taken.
TEST(JpegInterface, RowPaddingIsSkippedAndBgrxCodesLikeRgb) {
  const RgbImage image = MakePhoto(37, 21);
  std::vector<std::uint8_t> padded;
  for (int y = 0; y < image.height; ++y) {
    const auto row = image.pixels.begin() + y * image.width * 3;
    padded.insert(padded.end(), row, row + image.width * 3);
    padded.insert(padded.end(), 5, 0xAB);
  }
  const std::vector<std::uint8_t> want = EncodeWithIjl(image, 80);
  Record record(image);
  record.props().DIBBytes = padded.data();
  record.props().DIBPadBytes = 5;
  ASSERT_EQ(record.Write(), IJL_OK);
  EXPECT_EQ(record.Stream(), want);

  const std::vector<std::uint8_t> bgrx = ToBgrx(image, 6);
  Record bgrx_record(image);
  bgrx_record.props().DIBBytes = bgrx.data();
  bgrx_record.props().DIBPadBytes = 6;
  bgrx_record.props().DIBChannels = 4;
  bgrx_record.props().DIBColor = IJL_BGR;
  ASSERT_EQ(bgrx_record.Write(), IJL_OK);
  EXPECT_EQ(bgrx_record.Stream(), want);

  for (auto [channels, colour] : {std::pair{4, IJL_RGB}, std::pair{3, IJL_BGR}}) {
    Record refused(image);
    refused.props().DIBChannels = channels;
    refused.props().DIBColor = colour;
    EXPECT_EQ(refused.Write(), IJL_UNSUPPORTED) << channels;
  }
}

// Every buffer size below what the stream needs fails cleanly without a byte written past it;
// the exact size succeeds with the same stream.
TEST(JpegInterface, OutputNeverPassesTheCallersBuffer) {
  for (const RgbImage& image : {MakeNoise(40, 24), MakeDesktop(64, 64)}) {
    const std::vector<std::uint8_t> full = EncodeWithIjl(image, 80);
    ASSERT_FALSE(full.empty());
    for (std::size_t size = 1; size <= full.size(); ++size) {
      constexpr std::size_t kGuard = 64;
      Record record(image, size + kGuard);
      std::fill(record.out().begin(), record.out().end(), 0x5A);
      record.props().JPGSizeBytes = static_cast<int>(size);
      const IJLERR status = record.Write();
      for (std::size_t i = size; i < size + kGuard; ++i) {
        ASSERT_EQ(record.out()[i], 0x5A) << "byte " << i << " written with a buffer of " << size;
      }
      if (size < full.size()) {
        ASSERT_EQ(status, IJL_BUFFER_TOO_SMALL) << size;
      } else {
        ASSERT_EQ(status, IJL_OK);
        EXPECT_EQ(record.Stream(), full);
      }
    }
  }
}

// Marker segments of a stream: marker -> payloads, in order.
std::multimap<int, std::vector<std::uint8_t>> Segments(const std::vector<std::uint8_t>& jpeg) {
  std::multimap<int, std::vector<std::uint8_t>> segments;
  std::size_t i = 2;
  while (i + 4 <= jpeg.size() && jpeg[i] == 0xFF && jpeg[i + 1] != 0xDA) {
    const std::size_t length = static_cast<std::size_t>(jpeg[i + 2] << 8 | jpeg[i + 3]);
    segments.emplace(jpeg[i + 1], std::vector<std::uint8_t>(jpeg.begin() + i + 4,
                                                            jpeg.begin() + i + 2 + length));
    i += 2 + length;
  }
  return segments;
}

// Tables split per segment differ between encoders; compare the concatenated table entries.
std::vector<std::uint8_t> Joined(const std::multimap<int, std::vector<std::uint8_t>>& s, int m) {
  std::vector<std::uint8_t> all;
  for (auto [it, end] = s.equal_range(m); it != end; ++it) {
    all.insert(all.end(), it->second.begin(), it->second.end());
  }
  return all;
}

TEST(JpegInterface, TablesAreTheStandardOnesScaledLikeLibjpegDoes) {
  const RgbImage image = MakePhoto(64, 32);
  for (int quality : {1, 10, 25, 50, 75, 80, 99, 100}) {
    const auto ours = Segments(EncodeWithIjl(image, quality));
    const auto theirs = Segments(EncodeWithTurbo(image, quality));
    EXPECT_EQ(Joined(ours, 0xDB), Joined(theirs, 0xDB)) << quality;
    EXPECT_EQ(Joined(ours, 0xC4), Joined(theirs, 0xC4)) << quality;
    EXPECT_EQ(Joined(ours, 0xC0), Joined(theirs, 0xC0)) << quality;
    EXPECT_EQ(Joined(ours, 0xE0), Joined(theirs, 0xE0)) << quality;
  }
}

TEST(JpegInterface, ExternalTablesAreScaledByQuality) {
  const RgbImage image = MakePhoto(32, 32);
  std::vector<std::uint8_t> luma(64), chroma(64);
  for (int k = 0; k < 64; ++k) {
    luma[k] = static_cast<std::uint8_t>(10 + k);
    chroma[k] = static_cast<std::uint8_t>(200);
  }
  Record record(image);
  record.props().use_external_qtables = 1;
  record.props().qtables[0] = luma.data();
  record.props().qtables[1] = chroma.data();
  record.props().jquality = 25;  // scale 200 %
  ASSERT_EQ(record.Write(), IJL_OK);
  const std::vector<std::uint8_t> dqt = Joined(Segments(record.Stream()), 0xDB);
  ASSERT_EQ(dqt.size(), 130u);
  for (int k = 0; k < 64; ++k) {
    EXPECT_EQ(dqt[1 + k], std::min(255, (luma[k] * 200 + 50) / 100)) << k;
    EXPECT_EQ(dqt[66 + k], 255) << k;
  }
  EXPECT_TRUE(DecodeWithTurbo(record.Stream()).has_value());

  // The tables are kept between writes, but not past a change of the bytes in place or of the
  // quality.
  luma[5] = 40;
  record.props().JPGSizeBytes = static_cast<int>(record.out().size());
  ASSERT_EQ(record.Write(), IJL_OK);
  EXPECT_EQ(Joined(Segments(record.Stream()), 0xDB)[1 + 5], 80);
  record.props().jquality = 50;
  record.props().JPGSizeBytes = static_cast<int>(record.out().size());
  ASSERT_EQ(record.Write(), IJL_OK);
  EXPECT_EQ(Joined(Segments(record.Stream()), 0xDB)[1 + 5], 40);
}

}  // namespace
}  // namespace ovjpeg::testing
