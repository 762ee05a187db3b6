#include "bench/gpu/sim/software_shaders.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace vexmark::gpu::sim {
namespace {

using Float4 = std::array<float, 4>;

constexpr float kLuma[3] = {0.299f, 0.587f, 0.114f};
constexpr float kCb[3] = {-0.168736f, -0.331264f, 0.5f};
constexpr float kCr[3] = {0.5f, -0.418688f, -0.081312f};
constexpr float kChromaOffset = 128.0f / 255.0f;

class Constants {
 public:
  explicit Constants(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  Float4 Register(int r) const {
    Float4 v{};
    if (static_cast<std::size_t>(r + 1) * 16 <= bytes_.size()) {
      std::memcpy(v.data(), bytes_.data() + r * 16, 16);
    }
    return v;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Load(): a texel as four floats; outside the texture it reads zero, as the card does.
Float4 Load(const TexelPlane& p, int x, int y) {
  Float4 v{};
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return v;
  const std::uint8_t* t = p.bytes + static_cast<std::size_t>(y) * p.row_pitch +
                          static_cast<std::size_t>(x) * TexelBytes(p.format);
  for (int c = 0; c < 4; ++c) {
    switch (p.format) {
      case TexelFormat::kRgba8Unorm:
        v[c] = static_cast<float>(t[c]) / 255.0f;
        break;
      case TexelFormat::kRgba16Float: {
        std::uint16_t h;
        std::memcpy(&h, t + c * 2, 2);
        v[c] = HalfToFloat(h);
        break;
      }
      case TexelFormat::kRgba16Sint: {
        std::int16_t s;
        std::memcpy(&s, t + c * 2, 2);
        v[c] = static_cast<float>(s);
        break;
      }
    }
  }
  return v;
}

void StoreFloat(const TexelPlane& p, int x, int y, const Float4& v) {
  std::uint8_t* t = p.bytes + static_cast<std::size_t>(y) * p.row_pitch +
                    static_cast<std::size_t>(x) * TexelBytes(p.format);
  for (int c = 0; c < 4; ++c) {
    if (p.format == TexelFormat::kRgba8Unorm) {
      t[c] = static_cast<std::uint8_t>(std::lround(std::clamp(v[c], 0.0f, 1.0f) * 255.0f));
    } else {
      const std::uint16_t h = FloatToHalf(v[c]);
      std::memcpy(t + c * 2, &h, 2);
    }
  }
}

void StoreInt(const TexelPlane& p, int x, int y, const std::array<int, 4>& v) {
  std::uint8_t* t = p.bytes + static_cast<std::size_t>(y) * p.row_pitch + x * 8;
  for (int c = 0; c < 4; ++c) {
    const auto s = static_cast<std::int16_t>(std::clamp(v[c], -32768, 32767));
    std::memcpy(t + c * 2, &s, 2);
  }
}

float Dot3(const Float4& rgb, const float (&w)[3]) {
  return rgb[0] * w[0] + rgb[1] * w[1] + rgb[2] * w[2];
}
float Dot4(const Float4& a, const Float4& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
}

void ColorConversionY(const TexelPlane& source, const TexelPlane& target, int x, int t) {
  Float4 luma;
  for (int c = 0; c < 4; ++c) luma[c] = Dot3(Load(source, x, t * 4 + c), kLuma);
  StoreFloat(target, x, t, luma);
}

void ColorConversionUV(const TexelPlane& source, const TexelPlane& cb, const TexelPlane& cr, int x,
                       int t) {
  Float4 u, v;
  for (int c = 0; c < 4; ++c) {
    const int sx = x * 2;
    const int sy = (t * 4 + c) * 2;
    const Float4 a = Load(source, sx, sy), b = Load(source, sx + 1, sy);
    const Float4 d = Load(source, sx, sy + 1), e = Load(source, sx + 1, sy + 1);
    Float4 mean;
    for (int k = 0; k < 4; ++k) mean[k] = (a[k] + b[k] + d[k] + e[k]) * 0.25f;
    u[c] = Dot3(mean, kCb) + kChromaOffset;
    v[c] = Dot3(mean, kCr) + kChromaOffset;
  }
  StoreFloat(cb, x, t, u);
  StoreFloat(cr, x, t, v);
}

// Block rows past the whole ones hold 4 sample rows, mirrored to 8: row i of the temporary is
// twice D row 2i applied to those 4 samples.
void DctLeft(const Constants& k, const TexelPlane& plane, const TexelPlane& target, int tx, int y) {
  const int b = y / 8;
  const bool mirrored = b >= static_cast<int>(k.Register(16)[0]) / 8;
  const int u = (y % 8) * (mirrored ? 2 : 1);
  Float4 low = k.Register(u);
  Float4 high = k.Register(8 + u);
  for (int i = 0; i < 4; ++i) {
    low[i] *= mirrored ? 2.0f : 1.0f;
    high[i] *= mirrored ? 0.0f : 1.0f;
  }
  Float4 out;
  for (int c = 0; c < 4; ++c) {
    Float4 top = Load(plane, tx * 4 + c, b * 2);
    Float4 bottom = Load(plane, tx * 4 + c, b * 2 + 1);
    for (int i = 0; i < 4; ++i) {
      top[i] = top[i] * 255.0f - 128.0f;
      bottom[i] = bottom[i] * 255.0f - 128.0f;
    }
    out[c] = Dot4(top, low) + Dot4(bottom, high);
  }
  StoreFloat(target, tx, y, out);
}

int RoundAway(float value) {
  return static_cast<int>(value + std::clamp(value * 1.0e30f, -0.5f, 0.5f));
}

// Per block row of the run: whole blocks of 64, then the right half block as 8 rows of its 4 even
// frequencies; after the whole rows, the bottom half row: blocks as 4 even rows of 8, the
// corner as 4 even rows of 4 even frequencies.
void DctRight(const Constants& k, const TexelPlane& temp, const TexelPlane& target, int tx,
              int ty) {
  const Float4 size = k.Register(16);
  const int width = static_cast<int>(size[1]);
  const int blocks_per_row = width / 8;
  const int block_rows = static_cast<int>(size[0]) / 8;
  const bool bottom_half = static_cast<int>(size[0]) % 8 != 0;
  const int index = ty * width + tx * 4;
  const int row = width >= 4 ? index / (8 * width) : block_rows + 1;
  if (row > block_rows || (row == block_rows && !bottom_half)) {
    StoreInt(target, tx, ty, {0, 0, 0, 0});
    return;
  }
  const int local = index % (8 * width);
  const bool strip = row == block_rows;
  const int block_size = strip ? 32 : 64;
  const int whole_span = blocks_per_row * block_size;
  const bool half = local >= whole_span;
  const int column = half ? blocks_per_row : local / block_size;
  const int entry = half ? local - whole_span : local % block_size;
  const int u = half ? entry / 4 : entry / 8;
  const int v = entry % 8;
  const int register_step = strip ? 4 : 2;
  const Float4 left = Load(temp, column * 2, row * 8 + u);
  const Float4 right = Load(temp, column * 2 + 1, row * 8 + u);
  std::array<int, 4> out;
  if (half) {
    const Float4 low = k.Register(17 + register_step * u);
    const Float4 high = k.Register(17 + register_step * u + 1);
    const float reciprocal[4] = {low[0], low[2], high[0], high[2]};
    for (int c = 0; c < 4; ++c) {
      out[c] = RoundAway(Dot4(left, k.Register(2 * c)) * 2.0f * reciprocal[c]);
    }
  } else {
    const Float4 reciprocal = k.Register(17 + register_step * u + v / 4);
    for (int c = 0; c < 4; ++c) {
      out[c] = RoundAway((Dot4(left, k.Register(v + c)) + Dot4(right, k.Register(8 + v + c))) *
                         reciprocal[c]);
    }
  }
  StoreInt(target, tx, ty, out);
}

}  // namespace

std::uint32_t TexelBytes(TexelFormat format) { return format == TexelFormat::kRgba8Unorm ? 4 : 8; }

bool RunPixelShader(const std::string& entry, std::span<const std::uint8_t> constants,
                    const TexelPlane& source, std::span<const TexelPlane> targets,
                    int viewport_width, int viewport_height) {
  const std::size_t needed = entry == "ColorConversionUV" ? 2 : 1;
  if (targets.size() < needed) return false;
  const Constants k(constants);
  const int width = std::min(viewport_width, targets[0].width);
  const int height = std::min(viewport_height, targets[0].height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (entry == "ColorConversionY") {
        ColorConversionY(source, targets[0], x, y);
      } else if (entry == "ColorConversionUV") {
        ColorConversionUV(source, targets[0], targets[1], x, y);
      } else if (entry == "DCT_LeftX") {
        DctLeft(k, source, targets[0], x, y);
      } else if (entry == "DCT_RightX") {
        DctRight(k, source, targets[0], x, y);
      } else {
        return false;
      }
    }
  }
  return true;
}

std::uint16_t FloatToHalf(float value) {
  const std::uint32_t f = std::bit_cast<std::uint32_t>(value);
  const std::uint32_t sign = (f >> 16) & 0x8000;
  const std::uint32_t magnitude = f & 0x7FFFFFFF;
  if (magnitude >= 0x47800000) {  // overflow, infinity or NaN
    return static_cast<std::uint16_t>(sign | (magnitude > 0x7F800000 ? 0x7E00 : 0x7C00));
  }
  if (magnitude < 0x38800000) {  // below the smallest normal half: a subnormal
    const float scaled = std::bit_cast<float>(magnitude) * 16777216.0f;  // in units of 2^-24
    return static_cast<std::uint16_t>(sign | static_cast<std::uint32_t>(std::nearbyint(scaled)));
  }
  const std::uint32_t rebiased = magnitude - 0x38000000;
  const std::uint32_t rounded = rebiased + 0x0FFF + ((rebiased >> 13) & 1);
  return static_cast<std::uint16_t>(sign | (rounded >> 13));
}

float HalfToFloat(std::uint16_t half) {
  const std::uint32_t sign = static_cast<std::uint32_t>(half & 0x8000) << 16;
  const std::uint32_t exponent = (half >> 10) & 0x1F;
  const std::uint32_t mantissa = half & 0x3FF;
  if (exponent == 0) {
    const float value = static_cast<float>(mantissa) / 16777216.0f;
    return sign ? -value : value;
  }
  if (exponent == 31) return std::bit_cast<float>(sign | 0x7F800000 | (mantissa << 13));
  return std::bit_cast<float>(sign | ((exponent + 112) << 23) | (mantissa << 13));
}

}  // namespace vexmark::gpu::sim
