#include "bench/core/rgb_translation.h"

#include <cstring>
#include <vector>

namespace vexmark {

namespace {

std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

std::uint16_t Load16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

std::uint32_t Swap32(std::uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

std::uint16_t Swap16(std::uint16_t v) { return static_cast<std::uint16_t>((v >> 8) | (v << 8)); }

std::uint8_t Scale(std::uint32_t pixel, std::uint8_t shift, std::uint16_t max) {
  if (max == 0) return 0;
  return static_cast<std::uint8_t>(((pixel >> shift) & max) * 255u / max);
}

// value x 255 / max for every value of a channel.
class ChannelTable {
 public:
  explicit ChannelTable(std::uint16_t max) : values_(static_cast<std::size_t>(max) + 1) {
    for (std::uint32_t v = 0; v <= max; ++v) {
      values_[v] = static_cast<std::uint8_t>(max ? v * 255u / max : 0);
    }
  }
  std::uint8_t operator[](std::uint32_t value) const { return values_[value]; }

 private:
  std::vector<std::uint8_t> values_;
};

void Translate32Fast(const std::uint8_t* source, std::uint8_t* rgb, int width, unsigned rs,
                     unsigned gs, unsigned bs) {
  if (rs == 16 && gs == 8 && bs == 0) {
    // The common little-endian desktop: blue, green, red, pad in memory.
    for (int x = 0; x < width; ++x, source += 4, rgb += 3) {
      rgb[0] = source[2];
      rgb[1] = source[1];
      rgb[2] = source[0];
    }
    return;
  }
  for (int x = 0; x < width; ++x, source += 4, rgb += 3) {
    std::uint32_t p = Load32(source);
    rgb[0] = static_cast<std::uint8_t>(p >> rs);
    rgb[1] = static_cast<std::uint8_t>(p >> gs);
    rgb[2] = static_cast<std::uint8_t>(p >> bs);
  }
}

}  // namespace

bool IsFastTranslateFormat(const PixelFormat& remote) {
  return remote.depth == 24 && remote.redMax == 255 && remote.greenMax == 255 &&
         remote.blueMax == 255;
}

void TranslateRowToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width,
                       const PixelFormat& local, const PixelFormat& remote, bool fast) {
  bool swap = local.bigEndian != remote.bigEndian;
  const PixelFormat& f = remote;
  if (f.bitsPerPixel == 32 && fast) {
    if (swap) {
      Translate32Fast(source, rgb, width, 24u - f.redShift, 24u - f.greenShift, 24u - f.blueShift);
    } else {
      Translate32Fast(source, rgb, width, f.redShift, f.greenShift, f.blueShift);
    }
    return;
  }
  if (f.bitsPerPixel == 32) {
    for (int x = 0; x < width; ++x, source += 4, rgb += 3) {
      std::uint32_t p = Load32(source);
      if (swap) p = Swap32(p);
      rgb[0] = Scale(p, f.redShift, f.redMax);
      rgb[1] = Scale(p, f.greenShift, f.greenMax);
      rgb[2] = Scale(p, f.blueShift, f.blueMax);
    }
    return;
  }
  if (f.bitsPerPixel == 16) {
    // Every 16-bit pixel value has its colour worked out once per row: the scaling divides.
    ChannelTable red(f.redMax), green(f.greenMax), blue(f.blueMax);
    for (int x = 0; x < width; ++x, source += 2, rgb += 3) {
      std::uint16_t p = Load16(source);
      if (swap) p = Swap16(p);
      rgb[0] = red[(p >> f.redShift) & f.redMax];
      rgb[1] = green[(p >> f.greenShift) & f.greenMax];
      rgb[2] = blue[(p >> f.blueShift) & f.blueMax];
    }
  }
}

void TranslateRowToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width,
                        const PixelFormat& f) {
  if (f.bitsPerPixel == 32) {
    for (int x = 0; x < width; ++x, source += 4, rgba += 4) {
      std::uint32_t p = Load32(source);
      rgba[0] = static_cast<std::uint8_t>(p >> f.redShift);
      rgba[1] = static_cast<std::uint8_t>(p >> f.greenShift);
      rgba[2] = static_cast<std::uint8_t>(p >> f.blueShift);
      rgba[3] = 255;
    }
    return;
  }
  if (f.bitsPerPixel == 16) {
    for (int x = 0; x < width; ++x, source += 2, rgba += 4) {
      std::uint16_t p = Load16(source);
      rgba[0] = Scale(p, f.redShift, f.redMax);
      rgba[1] = Scale(p, f.greenShift, f.greenMax);
      rgba[2] = Scale(p, f.blueShift, f.blueMax);
      rgba[3] = 255;
    }
  }
}

}  // namespace vexmark
