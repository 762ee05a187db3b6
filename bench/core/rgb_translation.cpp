#include "bench/core/rgb_translation.h"

#include <cstring>

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

std::vector<std::uint8_t> ScaledValues(std::uint16_t max) {
  std::vector<std::uint8_t> values(static_cast<std::size_t>(max) + 1);
  for (std::uint32_t v = 0; v <= max; ++v) {
    values[v] = static_cast<std::uint8_t>(max ? v * 255u / max : 0);
  }
  return values;
}

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

bool IsBgrxFormat(const PixelFormat& local, const PixelFormat& remote) {
  return remote.bitsPerPixel == 32 && IsFastTranslateFormat(remote) &&
         local.bigEndian == remote.bigEndian && !remote.bigEndian && remote.redShift == 16 &&
         remote.greenShift == 8 && remote.blueShift == 0;
}

RgbTranslator::RgbTranslator(const PixelFormat& local, const PixelFormat& remote, bool fast)
    : local_(local), remote_(remote), fast_(fast), swap_(local.bigEndian != remote.bigEndian) {
  if (remote.bitsPerPixel == 16 || local.bitsPerPixel == 16) {
    // The same tables serve both directions: the two formats are the same in this program.
    const PixelFormat& f = remote.bitsPerPixel == 16 ? remote : local;
    scaled_[0] = ScaledValues(f.redMax);
    scaled_[1] = ScaledValues(f.greenMax);
    scaled_[2] = ScaledValues(f.blueMax);
  }
}

void RgbTranslator::ToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width) const {
  const PixelFormat& f = remote_;
  if (f.bitsPerPixel == 32 && fast_) {
    if (swap_) {
      Translate32Fast(source, rgb, width, 24u - f.redShift, 24u - f.greenShift, 24u - f.blueShift);
    } else {
      Translate32Fast(source, rgb, width, f.redShift, f.greenShift, f.blueShift);
    }
    return;
  }
  if (f.bitsPerPixel == 32) {
    for (int x = 0; x < width; ++x, source += 4, rgb += 3) {
      std::uint32_t p = Load32(source);
      if (swap_) p = Swap32(p);
      rgb[0] = Scale(p, f.redShift, f.redMax);
      rgb[1] = Scale(p, f.greenShift, f.greenMax);
      rgb[2] = Scale(p, f.blueShift, f.blueMax);
    }
    return;
  }
  if (f.bitsPerPixel == 16) {
    for (int x = 0; x < width; ++x, source += 2, rgb += 3) {
      std::uint16_t p = Load16(source);
      if (swap_) p = Swap16(p);
      rgb[0] = scaled_[0][(p >> f.redShift) & f.redMax];
      rgb[1] = scaled_[1][(p >> f.greenShift) & f.greenMax];
      rgb[2] = scaled_[2][(p >> f.blueShift) & f.blueMax];
    }
  }
}

void RgbTranslator::ToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width) const {
  const PixelFormat& f = local_;
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
      rgba[0] = scaled_[0][(p >> f.redShift) & f.redMax];
      rgba[1] = scaled_[1][(p >> f.greenShift) & f.greenMax];
      rgba[2] = scaled_[2][(p >> f.blueShift) & f.blueMax];
      rgba[3] = 255;
    }
  }
}

void TranslateRowToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width,
                       const PixelFormat& local, const PixelFormat& remote, bool fast) {
  RgbTranslator(local, remote, fast).ToRgb(source, rgb, width);
}

void TranslateRowToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width,
                        const PixelFormat& local) {
  RgbTranslator(local, local, false).ToRgba(source, rgba, width);
}

}  // namespace vexmark
