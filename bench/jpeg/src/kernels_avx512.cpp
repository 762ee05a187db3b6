// AVX-512 (F and BW): a block goes to zig-zag order in two 64-byte permutes, and its non-zero
// mask and category entries come out of the same registers, so the Huffman coder reads each
// coefficient's entry by its zig-zag index alone.
#include <immintrin.h>

#include <array>

// The compiler's own 512-bit intrinsics start some results from a deliberately undefined
// register, which its uninitialised-use warning flags.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "force_inline.h"
#include "kernels.h"
#include "quant_tables.h"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw")
#endif

namespace ovjpeg {
namespace {

// Transposed-order index of the k-th zig-zag coefficient.
constexpr std::array<std::uint16_t, 64> kZigzagFromTransposed = [] {
  std::array<std::uint16_t, 64> index{};
  for (int k = 0; k < 64; ++k) {
    index[k] = static_cast<std::uint16_t>((kZigzag[k] % 8) * 8 + kZigzag[k] / 8);
  }
  return index;
}();

OVJPEG_FORCE_INLINE __m256i FloatExponents(__m256i magnitudes) {
  const __m512i as_float =
      _mm512_castps_si512(_mm512_cvtepi32_ps(_mm512_cvtepu16_epi32(magnitudes)));
  return _mm512_cvtepi32_epi16(_mm512_srli_epi32(as_float, 23));
}

// Category entries (bits << 4 | size) of 32 coefficients of magnitude below 4096: the size is
// the exponent of the magnitude as a float, the bits of a negative value are its magnitude's
// complement within the size (its smeared mask, exclusive-or the magnitude).
OVJPEG_FORCE_INLINE __m512i CategoryEntries(__m512i x) {
  const __m512i m = _mm512_abs_epi16(x);
  const __m512i exponents =
      _mm512_inserti64x4(_mm512_castsi256_si512(FloatExponents(_mm512_castsi512_si256(m))),
                         FloatExponents(_mm512_extracti64x4_epi64(m, 1)), 1);
  const __m512i size =
      _mm512_maskz_sub_epi16(_mm512_test_epi16_mask(m, m), exponents, _mm512_set1_epi16(126));
  __m512i smear = _mm512_or_si512(m, _mm512_srli_epi16(m, 1));
  smear = _mm512_or_si512(smear, _mm512_srli_epi16(smear, 2));
  smear = _mm512_or_si512(smear, _mm512_srli_epi16(smear, 4));
  smear = _mm512_or_si512(smear, _mm512_srli_epi16(smear, 8));
  const __m512i bits = _mm512_xor_si512(m, _mm512_and_si512(smear, _mm512_srai_epi16(x, 15)));
  return _mm512_or_si512(_mm512_slli_epi16(bits, 4), size);
}

}  // namespace

void ZigzagEntriesAvx512(const std::int16_t* block, std::uint16_t* entries, std::uint64_t* mask) {
  const __m512i low = _mm512_loadu_si512(block);
  const __m512i high = _mm512_loadu_si512(block + 32);
  const __m512i first =
      _mm512_permutex2var_epi16(low, _mm512_loadu_si512(kZigzagFromTransposed.data()), high);
  const __m512i second =
      _mm512_permutex2var_epi16(low, _mm512_loadu_si512(kZigzagFromTransposed.data() + 32), high);
  *mask = static_cast<std::uint64_t>(_mm512_test_epi16_mask(first, first)) |
          static_cast<std::uint64_t>(_mm512_test_epi16_mask(second, second)) << 32;
  _mm512_storeu_si512(entries, CategoryEntries(first));
  _mm512_storeu_si512(entries + 32, CategoryEntries(second));
}

}  // namespace ovjpeg

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
