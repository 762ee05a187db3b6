// Screen capture as the benchmark does it: the screen's size and depth, the format GDI describes
// a compatible bitmap in, padded DIB rows, 16-bit masks, and reads past the edges.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "gdi_subject.h"

namespace vexmark::testing {
namespace {

constexpr std::uint8_t kUntouched = 0xA5;

std::string ScreenName(const ::testing::TestParamInfo<Screen>& info) {
  const Screen& s = info.param;
  return std::to_string(s.width) + "x" + std::to_string(s.height) + "x" +
         std::to_string(s.bits_per_pixel);
}

// A top-down DIB header of the given format; 16 bits with masks unless they are zero.
BitmapInfo Format(int width, int height, int bits, std::uint32_t red_mask = 0,
                  std::uint32_t green_mask = 0, std::uint32_t blue_mask = 0) {
  BitmapInfo info{};
  info.header.biSize = sizeof(BitmapInfoHeader);
  info.header.biWidth = width;
  info.header.biHeight = -height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<std::uint16_t>(bits);
  info.header.biCompression = red_mask ? kBiBitfields : kBiRgb;
  info.colours[0] = red_mask;
  info.colours[1] = green_mask;
  info.colours[2] = blue_mask;
  return info;
}

class VexmarkGdiContractTest : public ::testing::TestWithParam<Screen> {
 protected:
  void SetUp() override {
    subject_ = MakeGdiSubject(GetParam());
    screen_dc_ = gdi().GetScreenDC();
    ASSERT_NE(screen_dc_, 0u);
    memory_dc_ = gdi().CreateCompatibleDC(screen_dc_);
    ASSERT_NE(memory_dc_, 0u);
  }
  void TearDown() override {
    if (memory_dc_) gdi().DeleteDC(memory_dc_);
    if (screen_dc_) gdi().ReleaseScreenDC(screen_dc_);
  }
  Gdi& gdi() { return subject_->gdi(); }

  // The whole screen blitted into a compatible bitmap, as the capture loop does.
  GdiObject CaptureScreen() {
    const Screen& screen = GetParam();
    GdiObject bitmap = gdi().CreateCompatibleBitmap(screen_dc_, screen.width, screen.height);
    if (bitmap == 0) return 0;
    GdiObject previous = gdi().SelectObject(memory_dc_, bitmap);
    const bool blitted =
        gdi().BitBlt(memory_dc_, 0, 0, screen.width, screen.height, screen_dc_, 0, 0, kSrcCopy);
    gdi().SelectObject(memory_dc_, previous);
    EXPECT_TRUE(blitted);
    return bitmap;
  }

  // GetDIBits of `lines` rows from `start` into a buffer sized for exactly those rows, followed
  // by guard bytes that must stay untouched.
  std::vector<std::uint8_t> Read(GdiObject bitmap, BitmapInfo& format, std::uint32_t start,
                                 std::uint32_t lines, int* copied) {
    const std::uint64_t row = DibRowBytes(GetParam().width, format.header.biBitCount);
    std::vector<std::uint8_t> bytes(row * lines + 64, kUntouched);
    *copied = gdi().GetDIBits(memory_dc_, bitmap, start, lines, bytes.data(), format);
    for (std::size_t i = row * lines; i < bytes.size(); ++i) {
      if (bytes[i] != kUntouched) {
        ADD_FAILURE() << "GetDIBits wrote past its " << lines << " rows of " << row << " bytes";
        break;
      }
    }
    bytes.resize(row * lines);
    return bytes;
  }

  std::unique_ptr<GdiSubject> subject_;
  DcHandle screen_dc_ = 0;
  DcHandle memory_dc_ = 0;
};

TEST_P(VexmarkGdiContractTest, TheScreenReportsItsSizeDepthAndDevice) {
  const Screen& screen = GetParam();
  EXPECT_EQ(gdi().GetSystemMetrics(kSmCxScreen), screen.width);
  EXPECT_EQ(gdi().GetSystemMetrics(kSmCyScreen), screen.height);
  DisplayMode mode;
  ASSERT_TRUE(gdi().CurrentDisplayMode(mode));
  EXPECT_EQ(mode.width, static_cast<std::uint32_t>(screen.width));
  EXPECT_EQ(mode.height, static_cast<std::uint32_t>(screen.height));
  EXPECT_EQ(mode.bitsPerPixel, static_cast<std::uint32_t>(screen.bits_per_pixel));
  EXPECT_EQ(gdi().GetDeviceCaps(screen_dc_, kDevCapsBitsPixel), screen.bits_per_pixel);
  EXPECT_EQ(gdi().GetDeviceCaps(screen_dc_, kDevCapsPlanes), 1);
  EXPECT_EQ((gdi().GetDeviceCaps(screen_dc_, kDevCapsRasterCaps) & kRcPalette) != 0,
            screen.bits_per_pixel == 8);

  DisplayDevice device;
  ASSERT_TRUE(gdi().EnumDisplayDevice(0, device));
  EXPECT_NE(device.state_flags & kDisplayPrimaryDevice, 0u);
  const DcHandle display_dc = gdi().CreateDisplayDC(device.name);
  EXPECT_NE(display_dc, 0u);
  if (display_dc) gdi().DeleteDC(display_dc);
  const DcHandle unknown = gdi().CreateDisplayDC("\\\\.\\DISPLAY9");
  EXPECT_EQ(unknown != 0, subject_->OpensUnknownDisplays());
  if (unknown) gdi().DeleteDC(unknown);
}

TEST_P(VexmarkGdiContractTest, ACompatibleBitmapIsDescribedInTheScreensFormat) {
  const Screen& screen = GetParam();
  GdiObject bitmap = CaptureScreen();
  ASSERT_NE(bitmap, 0u);
  BitmapInfo info{};
  info.header.biSize = sizeof(BitmapInfoHeader);
  // The first call describes the bitmap; the second, given that description, adds the colour
  // table or the masks.
  EXPECT_NE(gdi().GetDIBits(memory_dc_, bitmap, 0, 1, nullptr, info), 0);
  const BitmapInfoHeader& h = info.header;
  EXPECT_EQ(h.biWidth, screen.width);
  EXPECT_EQ(h.biHeight, screen.height);
  EXPECT_EQ(h.biPlanes, 1);
  EXPECT_EQ(h.biBitCount, screen.bits_per_pixel);
  EXPECT_EQ(h.biSizeImage, DibRowBytes(screen.width, screen.bits_per_pixel) * screen.height);
  EXPECT_EQ(h.biCompression, screen.bits_per_pixel == 8 ? kBiRgb : kBiBitfields);
  EXPECT_NE(gdi().GetDIBits(memory_dc_, bitmap, 0, 1, nullptr, info), 0);
  if (screen.bits_per_pixel == 16) {
    const std::uint32_t* masks = subject_->SixteenBitBitmapMasks();
    EXPECT_EQ(info.colours[0], masks[0]);
    EXPECT_EQ(info.colours[1], masks[1]);
    EXPECT_EQ(info.colours[2], masks[2]);
  } else if (screen.bits_per_pixel == 32) {
    EXPECT_EQ(info.colours[0], 0xFF0000u);
    EXPECT_EQ(info.colours[1], 0x00FF00u);
    EXPECT_EQ(info.colours[2], 0x0000FFu);
  }
  gdi().DeleteObject(bitmap);
}

TEST_P(VexmarkGdiContractTest, RowsArePaddedToWordsAndLinesCountFromTheBottom) {
  const Screen& screen = GetParam();
  subject_->PaintRows();
  GdiObject bitmap = CaptureScreen();
  ASSERT_NE(bitmap, 0u);
  BitmapInfo format = screen.bits_per_pixel == 16
                          ? Format(screen.width, screen.height, 16, 0xF800, 0x07E0, 0x001F)
                          : Format(screen.width, screen.height, screen.bits_per_pixel);
  const auto lines = static_cast<std::uint32_t>(screen.height);
  int copied = 0;
  const std::vector<std::uint8_t> whole = Read(bitmap, format, 0, lines, &copied);
  EXPECT_EQ(copied, screen.height);
  const std::uint64_t row = DibRowBytes(screen.width, screen.bits_per_pixel);
  const std::size_t used = static_cast<std::size_t>(screen.width) * screen.bits_per_pixel / 8;
  // Also for a top-down header, scan lines are numbered from the bottom of the bitmap.
  for (std::uint32_t start : {0u, 1u, lines / 2, lines - 2}) {
    const std::vector<std::uint8_t> pair = Read(bitmap, format, start, 2, &copied);
    EXPECT_EQ(copied, 2);
    const std::uint32_t top = lines - start - 2;
    EXPECT_EQ(std::memcmp(pair.data(), whole.data() + row * top, used), 0) << "line " << start;
    EXPECT_EQ(std::memcmp(pair.data() + row, whole.data() + row * (top + 1), used), 0)
        << "line " << start;
  }
  // The painted rows differ, so a row read at another stride or from another line would not match.
  EXPECT_NE(std::memcmp(whole.data(), whole.data() + row * (lines / 2), used), 0);
  // Reading past the last line copies what there is.
  Read(bitmap, format, lines - 2, 5, &copied);
  EXPECT_EQ(copied, 2);
  gdi().DeleteObject(bitmap);
}

std::uint16_t Pack(std::uint32_t rgb, const std::uint32_t (&masks)[3]) {
  std::uint32_t value = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const std::uint32_t mask = masks[channel];
    const std::uint32_t level = (rgb >> (16 - 8 * channel)) & 0xFF;
    value |= (level >> (8 - std::popcount(mask))) << std::countr_zero(mask);
  }
  return static_cast<std::uint16_t>(value);
}

// A plain 16-bit read is 5-5-5 from every screen. A read with masks from a 16-bit screen's
// bitmap comes in the bitmap's own masks, whatever masks were asked for, and says which.
TEST_P(VexmarkGdiContractTest, SixteenBitReadsArePlain555OrInTheBitmapsMasks) {
  const Screen& screen = GetParam();
  subject_->PaintRows();
  GdiObject bitmap = CaptureScreen();
  ASSERT_NE(bitmap, 0u);
  const auto lines = static_cast<std::uint32_t>(screen.height);
  int copied = 0;
  BitmapInfo rgb_format = Format(screen.width, screen.height, 32);
  BitmapInfo plain_format = Format(screen.width, screen.height, 16);
  BitmapInfo masked_format = Format(screen.width, screen.height, 16, 0xF800, 0x07E0, 0x001F);
  if (screen.bits_per_pixel == 16 && subject_->SixteenBitBitmapMasks()[1] == 0x07E0) {
    masked_format = Format(screen.width, screen.height, 16, 0x7C00, 0x03E0, 0x001F);
  }
  const auto rgb = Read(bitmap, rgb_format, 0, lines, &copied);
  const auto plain = Read(bitmap, plain_format, 0, lines, &copied);
  const auto masked = Read(bitmap, masked_format, 0, lines, &copied);
  const std::uint32_t masks555[3] = {0x7C00, 0x03E0, 0x001F};
  const std::uint32_t* own = subject_->SixteenBitBitmapMasks();
  const std::uint32_t masks_own[3] = {own[0], own[1], own[2]};
  if (screen.bits_per_pixel == 16) {
    EXPECT_EQ(masked_format.colours[0], own[0]);
    EXPECT_EQ(masked_format.colours[1], own[1]);
    EXPECT_EQ(masked_format.colours[2], own[2]);
  }
  const std::uint64_t row16 = DibRowBytes(screen.width, 16);
  int plain_mismatches = 0;
  int masked_mismatches = 0;
  for (std::uint32_t y = 0; y < lines; y += 7) {
    for (int x = 0; x < screen.width; x += 5) {
      std::uint32_t pixel;
      std::memcpy(&pixel, rgb.data() + (static_cast<std::size_t>(y) * screen.width + x) * 4, 4);
      std::uint16_t as555, as_own;
      std::memcpy(&as555, plain.data() + row16 * y + x * 2, 2);
      std::memcpy(&as_own, masked.data() + row16 * y + x * 2, 2);
      plain_mismatches += as555 != Pack(pixel, masks555);
      masked_mismatches += as_own != Pack(pixel, masks_own);
    }
  }
  EXPECT_EQ(plain_mismatches, 0);
  if (screen.bits_per_pixel == 16) {
    EXPECT_EQ(masked_mismatches, 0);
  }
  gdi().DeleteObject(bitmap);
}

// The part of the rectangle past the screen's edge comes back black.
TEST_P(VexmarkGdiContractTest, ABlitPartlyOffTheScreenGivesBlackBeyondTheEdge) {
  const Screen& screen = GetParam();
  subject_->PaintRows();
  constexpr int kWidth = 8, kHeight = 6, kInside = 3;
  const BitmapInfo format = Format(kWidth, kHeight, 32);
  std::uint8_t* bits = nullptr;
  GdiObject section = gdi().CreateDIBSection(memory_dc_, format, &bits);
  ASSERT_NE(section, 0u);
  ASSERT_NE(bits, nullptr);
  std::memset(bits, kUntouched, kWidth * kHeight * 4);
  GdiObject previous = gdi().SelectObject(memory_dc_, section);
  EXPECT_TRUE(gdi().BitBlt(memory_dc_, 0, 0, kWidth, kHeight, screen_dc_, screen.width - kInside,
                           screen.height - kInside, kSrcCopy));
  gdi().GdiFlush();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      std::uint32_t pixel;
      std::memcpy(&pixel, bits + (y * kWidth + x) * 4, 4);
      const bool inside = x < kInside && y < kInside;
      if (inside) {
        EXPECT_EQ(pixel >> 24, 0u) << "pixel " << x << "," << y;
        EXPECT_NE(pixel, 0u) << "pixel " << x << "," << y;
      } else {
        EXPECT_EQ(pixel, 0u) << "pixel " << x << "," << y;
      }
    }
  }
  gdi().SelectObject(memory_dc_, previous);
  gdi().DeleteObject(section);
}

INSTANTIATE_TEST_SUITE_P(Screens, VexmarkGdiContractTest, ::testing::ValuesIn(ScreensUnderTest()),
                         ScreenName);

}  // namespace
}  // namespace vexmark::testing
