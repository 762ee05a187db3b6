// SSE2 kernels: the floor of the 32-bit Windows build. Without byte shuffles the pixels are
// read as 32-bit words (a 4-byte pixel is one already) and masked into 16-bit planes; all
// arithmetic is vectorised.
#include <emmintrin.h>

#include <cstring>

#include "fdct_simd.h"
#include "kernels.h"

namespace ovjpeg {
namespace {

namespace c = constants;

struct V128 {
  using T = __m128i;
  static T Set32(int v) { return _mm_set1_epi32(v); }
  static T LoadRow(const std::uint16_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static constexpr bool kHasMulhrs = false;
  static T Abs16(T a) { return _mm_max_epi16(a, _mm_sub_epi16(_mm_setzero_si128(), a)); }
  // t with the sign of s.
  static T SignOf(T t, T s) {
    const T sign = _mm_srai_epi16(s, 15);
    return _mm_sub_epi16(_mm_xor_si128(t, sign), sign);
  }
  static T Add16(T a, T b) { return _mm_add_epi16(a, b); }
  static T Sub16(T a, T b) { return _mm_sub_epi16(a, b); }
  static T Add32(T a, T b) { return _mm_add_epi32(a, b); }
  static T Madd(T a, T b) { return _mm_madd_epi16(a, b); }
  static T MulhiU16(T a, T b) { return _mm_mulhi_epu16(a, b); }
  static T Packs32(T a, T b) { return _mm_packs_epi32(a, b); }
  template <int n>
  static T Srai32(T a) {
    return _mm_srai_epi32(a, n);
  }
  static T UnpackLo16(T a, T b) { return _mm_unpacklo_epi16(a, b); }
  static T UnpackHi16(T a, T b) { return _mm_unpackhi_epi16(a, b); }
  static T UnpackLo32(T a, T b) { return _mm_unpacklo_epi32(a, b); }
  static T UnpackHi32(T a, T b) { return _mm_unpackhi_epi32(a, b); }
  static T UnpackLo64(T a, T b) { return _mm_unpacklo_epi64(a, b); }
  static T UnpackHi64(T a, T b) { return _mm_unpackhi_epi64(a, b); }
};

using simd::Weight;

__m128i Load(const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
void Store(std::int16_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// Weighted sum of three 16-bit planes (8 lanes), rounded and shifted.
template <int shift>
__m128i Combine(__m128i r, __m128i g, __m128i b, __m128i wrg, __m128i wb, __m128i bias) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(r, g), wrg),
                                                 _mm_madd_epi16(_mm_unpacklo_epi16(b, zero), wb)),
                                   bias);
  const __m128i hi = _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(r, g), wrg),
                                                 _mm_madd_epi16(_mm_unpackhi_epi16(b, zero), wb)),
                                   bias);
  return _mm_packs_epi32(_mm_srai_epi32(lo, shift), _mm_srai_epi32(hi, shift));
}

// Sums of horizontally adjacent lanes of two 8-lane vectors: 8 lanes.
__m128i PairSums(__m128i a, __m128i b) {
  const __m128i ones = _mm_set1_epi16(1);
  return _mm_packs_epi32(_mm_madd_epi16(a, ones), _mm_madd_epi16(b, ones));
}

// One row of 16 pixels as 16-bit planes: channel[c][h] holds pixels 8 h .. 8 h + 7.
struct RowPlanes {
  __m128i channel[3][2];
};

std::uint32_t PixelWord(const std::uint8_t* p) {
  std::uint32_t word;
  std::memcpy(&word, p, 4);
  return word;
}

// Red, green and blue planes of 16 pixel words (four per vector), each channel `shift` bits up.
template <int kRedShift, int kBlueShift>
RowPlanes PlanesOfWords(const __m128i* words) {
  const __m128i byte = _mm_set1_epi32(0xFF);
  RowPlanes planes;
  for (int h = 0; h < 2; ++h) {
    const __m128i a = words[2 * h], b = words[2 * h + 1];
    planes.channel[0][h] = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(a, kRedShift), byte),
                                           _mm_and_si128(_mm_srli_epi32(b, kRedShift), byte));
    planes.channel[1][h] = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(a, 8), byte),
                                           _mm_and_si128(_mm_srli_epi32(b, 8), byte));
    planes.channel[2][h] = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(a, kBlueShift), byte),
                                           _mm_and_si128(_mm_srli_epi32(b, kBlueShift), byte));
  }
  return planes;
}

// Packed RGB: each pixel is read as a 4-byte word (its 3 bytes and the next pixel's first); the
// last one is assembled byte by byte so that nothing past the row's 48 bytes is read.
struct SplitRgb {
  static RowPlanes Row(const std::uint8_t* p) {
    const std::uint32_t last = p[45] | (p[46] << 8) | (p[47] << 16);
    __m128i words[4];
    for (int q = 0; q < 4; ++q) {
      const std::uint8_t* s = p + 12 * q;
      words[q] = _mm_setr_epi32(static_cast<int>(PixelWord(s)), static_cast<int>(PixelWord(s + 3)),
                                static_cast<int>(PixelWord(s + 6)),
                                static_cast<int>(q == 3 ? last : PixelWord(s + 9)));
    }
    return PlanesOfWords<0, 16>(words);
  }
};

// Blue, green, red, unused: one load holds four pixels as words.
struct SplitBgrx {
  static RowPlanes Row(const std::uint8_t* p) {
    __m128i words[4];
    for (int q = 0; q < 4; ++q)
      words[q] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * q));
    return PlanesOfWords<16, 0>(words);
  }
};

template <class Split>
void ConvertMcu(const std::uint8_t* pixels, std::ptrdiff_t stride, std::int16_t* luma,
                std::int16_t* chroma) {
  const __m128i wy = Weight<V128>(c::kYr, c::kYg), wyb = Weight<V128>(c::kYb, 0);
  const __m128i ybias = _mm_set1_epi32(c::kYBias), cbias = _mm_set1_epi32(c::kCBias);
  const __m128i wcb = Weight<V128>(c::kCbR, c::kCbG), wcbb = Weight<V128>(c::kCbB, 0);
  const __m128i wcr = Weight<V128>(c::kCrR, c::kCrG), wcrb = Weight<V128>(c::kCrB, 0);
  for (int pair = 0; pair < 8; ++pair) {
    RowPlanes rows[2];
    for (int i = 0; i < 2; ++i) {
      const int row = 2 * pair + i;
      rows[i] = Split::Row(pixels + row * stride);
      const auto& ch = rows[i].channel;
      for (int h = 0; h < 2; ++h) {
        Store(luma + row * 16 + 8 * h,
              Combine<c::kYShift>(ch[0][h], ch[1][h], ch[2][h], wy, wyb, ybias));
      }
    }
    __m128i sums[3];
    for (int k = 0; k < 3; ++k) {
      sums[k] = PairSums(_mm_add_epi16(rows[0].channel[k][0], rows[1].channel[k][0]),
                         _mm_add_epi16(rows[0].channel[k][1], rows[1].channel[k][1]));
    }
    std::int16_t* out = chroma + pair * 16;
    Store(out, Combine<c::kCShift>(sums[0], sums[1], sums[2], wcb, wcbb, cbias));
    Store(out + 8, Combine<c::kCShift>(sums[0], sums[1], sums[2], wcr, wcrb, cbias));
  }
}

std::uint64_t NonZeroMask(const __m128i* x) {
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t zeros = 0;
  _Pragma("GCC unroll 4") for (int i = 0; i < 4; ++i) {
    const __m128i bytes =
        _mm_packs_epi16(_mm_cmpeq_epi16(x[2 * i], zero), _mm_cmpeq_epi16(x[2 * i + 1], zero));
    zeros |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(bytes)))
             << (16 * i);
  }
  return ~zeros;
}

void FdctQuantizePair(const std::int16_t* samples, const QuantDivisors& q, CodedBlock* out) {
  for (int b = 0; b < 2; ++b) {
    __m128i x[8];
    _Pragma("GCC unroll 8") for (int r = 0; r < 8; ++r) x[r] = Load(samples + 16 * r + 8 * b);
    simd::Fdct<V128>(x);
    simd::Quantize<V128>(x, q);
    for (int i = 0; i < 8; ++i) Store(out[b].coefficient + 8 * i, x[i]);
    out[b].mask = NonZeroMask(x);
  }
}

bool CoefficientMask(const std::int16_t* block, std::uint64_t* mask) {
  __m128i x[8];
  __m128i low = _mm_set1_epi16(-1023), high = _mm_set1_epi16(1023);
  __m128i below = _mm_setzero_si128(), above = _mm_setzero_si128();
  for (int i = 0; i < 8; ++i) {
    x[i] = Load(block + 8 * i);
    below = _mm_or_si128(below, _mm_cmplt_epi16(x[i], low));
    above = _mm_or_si128(above, _mm_cmpgt_epi16(x[i], high));
  }
  if (_mm_movemask_epi8(_mm_or_si128(below, above)) != 0) {
    return kScalarKernels.coefficient_mask(block, mask);  // rare: let the reference decide
  }
  *mask = NonZeroMask(x);
  return true;
}

}  // namespace

const Kernels kSse2Kernels = {
    Isa::kSse2,      "sse2", ConvertMcu<SplitRgb>, ConvertMcu<SplitBgrx>, FdctQuantizePair,
    CoefficientMask, nullptr};

}  // namespace ovjpeg
