// The reference kernels: plain integer code that defines the results of every SIMD set.
#include <algorithm>

#include "block_coder.h"
#include "kernels.h"
#include "transform_constants.h"

namespace ovjpeg {
namespace {

namespace c = constants;

// One MCU of pixels `kBytes` apart with red, green and blue at the given byte offsets.
template <int kBytes, int kRed, int kGreen, int kBlue>
void ConvertMcu(const std::uint8_t* pixels, std::ptrdiff_t stride, std::int16_t* luma,
                std::int16_t* chroma) {
  for (int row = 0; row < 16; ++row) {
    const std::uint8_t* p = pixels + row * stride;
    for (int col = 0; col < 16; ++col, p += kBytes) {
      luma[row * 16 + col] = static_cast<std::int16_t>(
          (c::kYr * p[kRed] + c::kYg * p[kGreen] + c::kYb * p[kBlue] + c::kYBias) >> c::kYShift);
    }
  }
  constexpr int kOffsets[3] = {kRed, kGreen, kBlue};
  for (int row = 0; row < 8; ++row) {
    const std::uint8_t* top = pixels + 2 * row * stride;
    const std::uint8_t* bottom = top + stride;
    for (int col = 0; col < 8; ++col) {
      int sum[3];
      for (int ch = 0; ch < 3; ++ch) {
        const int i = 2 * kBytes * col + kOffsets[ch];
        sum[ch] = top[i] + top[i + kBytes] + bottom[i] + bottom[i + kBytes];
      }
      const int cb = c::kCbR * sum[0] + c::kCbG * sum[1] + c::kCbB * sum[2] + c::kCBias;
      const int cr = c::kCrR * sum[0] + c::kCrG * sum[1] + c::kCrB * sum[2] + c::kCBias;
      chroma[row * 16 + col] = static_cast<std::int16_t>(cb >> c::kCShift);
      chroma[row * 16 + 8 + col] = static_cast<std::int16_t>(cr >> c::kCShift);
    }
  }
}

std::int16_t Descale(int sum) {
  const int rounded = (sum + (1 << (c::kDctShift - 1))) >> c::kDctShift;
  return static_cast<std::int16_t>(std::clamp(rounded, -32768, 32767));
}

// One 1-D transform over in[0], in[step], ... in[7 step], the same arithmetic as one lane of
// the SIMD pass (16-bit sums and differences, 32-bit products).
void Dct8(const std::int16_t* in, int step, std::int16_t* out, int out_step) {
  int s[4], d[4];
  for (int n = 0; n < 4; ++n) {
    s[n] = static_cast<std::int16_t>(in[n * step] + in[(7 - n) * step]);
    d[n] = static_cast<std::int16_t>(in[n * step] - in[(7 - n) * step]);
  }
  const int e0 = static_cast<std::int16_t>(s[0] + s[3]);
  const int e1 = static_cast<std::int16_t>(s[1] + s[2]);
  const int e2 = static_cast<std::int16_t>(s[0] - s[3]);
  const int e3 = static_cast<std::int16_t>(s[1] - s[2]);
  out[0] = Descale(e0 * c::kK4 + e1 * c::kK4);
  out[4 * out_step] = Descale(e0 * c::kK4 - e1 * c::kK4);
  out[2 * out_step] = Descale(e2 * c::kC2 + e3 * c::kC6);
  out[6 * out_step] = Descale(e2 * c::kC6 - e3 * c::kC2);
  for (int i = 0; i < 4; ++i) {
    const int* w = c::kOdd[i];
    out[(2 * i + 1) * out_step] =
        Descale((d[0] * w[0] + d[1] * w[1]) + (d[2] * w[2] + d[3] * w[3]));
  }
}

// Columns first, then rows; the result is stored transposed (index 8 x column + row), which is
// what the two-pass SIMD transform produces without a second transpose.
void FdctQuantizeBlock(const std::int16_t* samples, const QuantDivisors& q, CodedBlock& out) {
  std::int16_t columns[64];  // columns[8 x column + k]: k-th vertical frequency of a column
  for (int col = 0; col < 8; ++col) Dct8(samples + col, 16, columns + 8 * col, 1);
  std::int16_t coefficients[64];  // coefficients[8 x v + u]
  for (int k = 0; k < 8; ++k) Dct8(columns + k, 8, coefficients + k, 8);
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) {
    const std::int16_t value = Quantize(coefficients[i], q.half[i], q.mul[i], q.shift_mul[i]);
    out.coefficient[i] = value;
    if (value != 0) mask |= std::uint64_t{1} << i;
  }
  out.mask = mask;
}

void FdctQuantizePair(const std::int16_t* samples, const QuantDivisors& q, CodedBlock* out) {
  FdctQuantizeBlock(samples, q, out[0]);
  FdctQuantizeBlock(samples + 8, q, out[1]);
}

bool CoefficientMask(const std::int16_t* block, std::uint64_t* mask) {
  std::uint64_t bits = 0;
  bool in_range = block[0] >= -1024 && block[0] <= 1023;
  for (int i = 0; i < 64; ++i) {
    if (block[i] != 0) bits |= std::uint64_t{1} << i;
    if (i > 0 && (block[i] < -1023 || block[i] > 1023)) in_range = false;
  }
  *mask = bits;
  return in_range;
}

}  // namespace

void ZigzagEntriesReference(const std::int16_t* block, std::uint16_t* entries,
                            std::uint64_t* mask) {
  const CategoryTable& categories = Categories();
  const BlockLayout& layout = TransposedLayout();
  std::uint64_t bits = 0;
  for (int k = 0; k < 64; ++k) {
    const std::int16_t value = block[layout.position_of_zigzag[k]];
    entries[k] = static_cast<std::uint16_t>(categories[value]);
    if (value != 0) bits |= std::uint64_t{1} << k;
  }
  *mask = bits;
}

const Kernels kScalarKernels = {
    Isa::kScalar,    "scalar", ConvertMcu<3, 0, 1, 2>, ConvertMcu<4, 2, 1, 0>, FdctQuantizePair,
    CoefficientMask, nullptr};

}  // namespace ovjpeg
