// AVX2 kernels: byte shuffles turn packed RGB or BGRX straight into the 16-bit pairs the
// multiply-add wants, and every 256-bit operation works on two blocks (one per 128-bit lane).
#include <immintrin.h>

#include "force_inline.h"
#include "kernels.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "fdct_simd.h"

namespace ovjpeg {
namespace {

namespace c = constants;

struct V256 {
  using T = __m256i;
  static T Set32(int v) { return _mm256_set1_epi32(v); }
  static T LoadRow(const std::uint16_t* p) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  }
  static constexpr bool kHasMulhrs = true;
  static T Set16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  static T Mulhrs(T a, T b) { return _mm256_mulhrs_epi16(a, b); }
  static T Abs16(T a) { return _mm256_abs_epi16(a); }
  // t with the sign of s (t is 0 where s is 0).
  static T SignOf(T t, T s) { return _mm256_sign_epi16(t, s); }
  static T Add16(T a, T b) { return _mm256_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T Add32(T a, T b) { return _mm256_add_epi32(a, b); }
  static T Madd(T a, T b) { return _mm256_madd_epi16(a, b); }
  static T MulhiU16(T a, T b) { return _mm256_mulhi_epu16(a, b); }
  static T Packs32(T a, T b) { return _mm256_packs_epi32(a, b); }
  template <int n>
  static T Srai32(T a) {
    return _mm256_srai_epi32(a, n);
  }
  static T UnpackLo16(T a, T b) { return _mm256_unpacklo_epi16(a, b); }
  static T UnpackHi16(T a, T b) { return _mm256_unpackhi_epi16(a, b); }
  static T UnpackLo32(T a, T b) { return _mm256_unpacklo_epi32(a, b); }
  static T UnpackHi32(T a, T b) { return _mm256_unpackhi_epi32(a, b); }
  static T UnpackLo64(T a, T b) { return _mm256_unpacklo_epi64(a, b); }
  static T UnpackHi64(T a, T b) { return _mm256_unpackhi_epi64(a, b); }
};

using simd::Weight;

OVJPEG_FORCE_INLINE __m256i Load2(const std::uint8_t* low, const std::uint8_t* high) {
  const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low));
  const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high));
  return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
}

// Byte shuffles for 4 pixels starting `o` bytes into a lane: (R, G) word pairs, (B, 0) pairs.
#define OVJPEG_RG(o) \
  o, -1, o + 1, -1, o + 3, -1, o + 4, -1, o + 6, -1, o + 7, -1, o + 9, -1, o + 10, -1
#define OVJPEG_B(o) o + 2, -1, -1, -1, o + 5, -1, -1, -1, o + 8, -1, -1, -1, o + 11, -1, -1, -1
// The same (R, G) pairs from 4-byte blue, green, red, unused pixels.
#define OVJPEG_RG_X(o) \
  o + 2, -1, o + 1, -1, o + 6, -1, o + 5, -1, o + 10, -1, o + 9, -1, o + 14, -1, o + 13, -1

// One row of 16 pixels as pairs: [0] pixels 0-3 | 4-7, [1] pixels 8-11 | 12-15.
struct RowPairs {
  __m256i rg[2];
  __m256i b[2];
};

// Packed RGB: two 16-byte loads per 256-bit vector, one for each lane's 4 pixels.
class SplitRgb {
 public:
  OVJPEG_FORCE_INLINE SplitRgb()
      : rg_a_(_mm256_setr_epi8(OVJPEG_RG(0), OVJPEG_RG(0))),
        b_a_(_mm256_setr_epi8(OVJPEG_B(0), OVJPEG_B(0))),
        rg_b_(_mm256_setr_epi8(OVJPEG_RG(0), OVJPEG_RG(4))),
        b_b_(_mm256_setr_epi8(OVJPEG_B(0), OVJPEG_B(4))) {}

  OVJPEG_FORCE_INLINE RowPairs Row(const std::uint8_t* p) const {
    // Loads stay inside the row's 48 bytes: the last lane starts at byte 32, 4 bytes early.
    const __m256i a = Load2(p, p + 12);
    const __m256i b = Load2(p + 24, p + 32);
    return {{_mm256_shuffle_epi8(a, rg_a_), _mm256_shuffle_epi8(b, rg_b_)},
            {_mm256_shuffle_epi8(a, b_a_), _mm256_shuffle_epi8(b, b_b_)}};
  }

 private:
  __m256i rg_a_, b_a_, rg_b_, b_b_;
};

// Blue, green, red, unused: one 32-byte load is 8 pixels, 4 in each lane already; blue is the
// low byte of each word.
class SplitBgrx {
 public:
  OVJPEG_FORCE_INLINE SplitBgrx()
      : rg_(_mm256_setr_epi8(OVJPEG_RG_X(0), OVJPEG_RG_X(0))), blue_(_mm256_set1_epi32(0xFF)) {}

  OVJPEG_FORCE_INLINE RowPairs Row(const std::uint8_t* p) const {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    return {{_mm256_shuffle_epi8(a, rg_), _mm256_shuffle_epi8(b, rg_)},
            {_mm256_and_si256(a, blue_), _mm256_and_si256(b, blue_)}};
  }

 private:
  __m256i rg_, blue_;
};

OVJPEG_FORCE_INLINE __m256i Weighted(__m256i rg, __m256i b, __m256i wrg, __m256i wb) {
  return _mm256_add_epi32(_mm256_madd_epi16(rg, wrg), _mm256_madd_epi16(b, wb));
}

// Cb or Cr of a row pair: [s0 s1 s4 s5 | s2 s3 s6 s7] as 32-bit values.
OVJPEG_FORCE_INLINE __m256i ChromaRow(const RowPairs& top, const RowPairs& bottom, __m256i wrg,
                                      __m256i wb) {
  __m256i columns[2];
  for (int h = 0; h < 2; ++h) {
    columns[h] = Weighted(_mm256_add_epi16(top.rg[h], bottom.rg[h]),
                          _mm256_add_epi16(top.b[h], bottom.b[h]), wrg, wb);
  }
  const __m256i sums = _mm256_hadd_epi32(columns[0], columns[1]);
  return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(c::kCBias)), c::kCShift);
}

template <class Split>
void ConvertMcu(const std::uint8_t* pixels, std::ptrdiff_t stride, std::int16_t* luma,
                std::int16_t* chroma) {
  const Split split;
  const __m256i wy = Weight<V256>(c::kYr, c::kYg), wyb = Weight<V256>(c::kYb, 0);
  const __m256i ybias = _mm256_set1_epi32(c::kYBias);
  const __m256i wcb = Weight<V256>(c::kCbR, c::kCbG), wcbb = Weight<V256>(c::kCbB, 0);
  const __m256i wcr = Weight<V256>(c::kCrR, c::kCrG), wcrb = Weight<V256>(c::kCrB, 0);
  const __m256i chroma_order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
  for (int pair = 0; pair < 8; ++pair) {
    RowPairs rows[2];
    for (int i = 0; i < 2; ++i) {
      const int row = 2 * pair + i;
      rows[i] = split.Row(pixels + row * stride);
      __m256i y[2];
      for (int h = 0; h < 2; ++h) {
        y[h] = _mm256_srai_epi32(
            _mm256_add_epi32(Weighted(rows[i].rg[h], rows[i].b[h], wy, wyb), ybias), c::kYShift);
      }
      const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(y[0], y[1]), 0xD8);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(luma + row * 16), packed);
    }
    const __m256i cb = ChromaRow(rows[0], rows[1], wcb, wcbb);
    const __m256i cr = ChromaRow(rows[0], rows[1], wcr, wcrb);
    const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packs_epi32(cb, cr), chroma_order);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(chroma + pair * 16), packed);
  }
}

// Stores the two lanes of v to the two blocks' rows.
OVJPEG_FORCE_INLINE void StoreLanes(std::int16_t* left, std::int16_t* right, __m256i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(left), _mm256_castsi256_si128(v));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(right), _mm256_extracti128_si256(v, 1));
}

void FdctQuantizePair(const std::int16_t* samples, const QuantDivisors& q, CodedBlock* out) {
  __m256i x[8];
  _Pragma("GCC unroll 8") for (int r = 0; r < 8; ++r) {
    x[r] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(samples + 16 * r));
  }
  simd::Fdct<V256>(x);
  simd::Quantize<V256>(x, q);
  const __m256i zero = _mm256_setzero_si256();
  std::uint64_t zeros[2] = {0, 0};
  _Pragma("GCC unroll 8") for (int i = 0; i < 8; ++i) {
    StoreLanes(out[0].coefficient + 8 * i, out[1].coefficient + 8 * i, x[i]);
  }
  _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) {
    const __m256i bytes = _mm256_packs_epi16(_mm256_cmpeq_epi16(x[2 * i], zero),
                                             _mm256_cmpeq_epi16(x[2 * i + 1], zero));
    const std::uint32_t lanes = static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes));
    zeros[0] |= static_cast<std::uint64_t>(lanes & 0xFFFF) << (16 * i);
    zeros[1] |= static_cast<std::uint64_t>(lanes >> 16) << (16 * i);
  }
  out[0].mask = ~zeros[0];
  out[1].mask = ~zeros[1];
}

bool CoefficientMask(const std::int16_t* block, std::uint64_t* mask) {
  const __m256i low = _mm256_set1_epi16(-1023), high = _mm256_set1_epi16(1023);
  const __m256i zero = _mm256_setzero_si256();
  __m256i x[4];
  __m256i outside = zero;
  for (int i = 0; i < 4; ++i) {
    x[i] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 16 * i));
    outside = _mm256_or_si256(
        outside, _mm256_or_si256(_mm256_cmpgt_epi16(low, x[i]), _mm256_cmpgt_epi16(x[i], high)));
  }
  if (!_mm256_testz_si256(outside, outside)) {
    return kScalarKernels.coefficient_mask(block, mask);  // rare: let the reference decide
  }
  std::uint64_t zeros = 0;
  for (int i = 0; i < 2; ++i) {
    const __m256i bytes =
        _mm256_permute4x64_epi64(_mm256_packs_epi16(_mm256_cmpeq_epi16(x[2 * i], zero),
                                                    _mm256_cmpeq_epi16(x[2 * i + 1], zero)),
                                 0xD8);
    zeros |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(bytes)))
             << (32 * i);
  }
  *mask = ~zeros;
  return true;
}

#undef OVJPEG_RG
#undef OVJPEG_B
#undef OVJPEG_RG_X

}  // namespace

const Kernels kAvx2Kernels = {
    Isa::kAvx2,      "avx2", ConvertMcu<SplitRgb>, ConvertMcu<SplitBgrx>, FdctQuantizePair,
    CoefficientMask, nullptr};

}  // namespace ovjpeg

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
