// The forward DCT and quantiser written once over a vector type: V is a set of static
// wrappers around 128-bit or 256-bit integer intrinsics. All shuffles used are lane-local, so
// a 256-bit V transforms two blocks at once, one per 128-bit lane. The arithmetic is that of
// the scalar reference (kernels_scalar.cpp), lane by lane.
//
// The includer provides the intrinsics and the target options; V must have internal linkage
// so that each instruction set gets its own instantiations.
#pragma once

#include "force_inline.h"
#include "quant_tables.h"
#include "transform_constants.h"

namespace ovjpeg::simd {

// Unrolled loops let the weights fold into constants.
#define OVJPEG_UNROLL _Pragma("GCC unroll 8")

template <class V>
OVJPEG_FORCE_INLINE typename V::T Descale(typename V::T lo, typename V::T hi) {
  const auto round = V::Set32(1 << (constants::kDctShift - 1));
  return V::Packs32(V::template Srai32<constants::kDctShift>(V::Add32(lo, round)),
                    V::template Srai32<constants::kDctShift>(V::Add32(hi, round)));
}

template <class V>
OVJPEG_FORCE_INLINE typename V::T Weight(int first, int second) {
  return V::Set32(static_cast<int>((static_cast<unsigned>(second) << 16) |
                                   (static_cast<unsigned>(first) & 0xFFFF)));
}

// Weighted sum of one interleaved pair of rows: first x a + second x b per lane.
template <class V>
OVJPEG_FORCE_INLINE typename V::T Rotate(typename V::T lo, typename V::T hi, typename V::T w) {
  return Descale<V>(V::Madd(lo, w), V::Madd(hi, w));
}

template <class V>
OVJPEG_FORCE_INLINE typename V::T Rotate2(typename V::T lo01, typename V::T hi01, typename V::T w01,
                                          typename V::T lo23, typename V::T hi23,
                                          typename V::T w23) {
  return Descale<V>(V::Add32(V::Madd(lo01, w01), V::Madd(lo23, w23)),
                    V::Add32(V::Madd(hi01, w01), V::Madd(hi23, w23)));
}

// One 1-D pass down the columns of x[0..7]. In the first pass e0 + e1 fits in 16 bits (the
// inputs have 12), so where V has a rounding high multiply, k4 (e0 +- e1) takes one multiply
// instead of a multiply-add: (x 2 k4 + 2^14) >> 15 is the same integer as (x k4 + 2^13) >> 14.
template <class V, bool kFirstPass>
OVJPEG_FORCE_INLINE void DctPass(typename V::T* x) {
  namespace c = constants;
  using T = typename V::T;
  const T s0 = V::Add16(x[0], x[7]), d0 = V::Sub16(x[0], x[7]);
  const T s1 = V::Add16(x[1], x[6]), d1 = V::Sub16(x[1], x[6]);
  const T s2 = V::Add16(x[2], x[5]), d2 = V::Sub16(x[2], x[5]);
  const T s3 = V::Add16(x[3], x[4]), d3 = V::Sub16(x[3], x[4]);
  const T e0 = V::Add16(s0, s3), e1 = V::Add16(s1, s2);
  const T e2 = V::Sub16(s0, s3), e3 = V::Sub16(s1, s2);

  if constexpr (kFirstPass && V::kHasMulhrs) {
    const T k4 = V::Set16(2 * c::kK4);
    x[0] = V::Mulhrs(V::Add16(e0, e1), k4);
    x[4] = V::Mulhrs(V::Sub16(e0, e1), k4);
  } else {
    const T e01l = V::UnpackLo16(e0, e1), e01h = V::UnpackHi16(e0, e1);
    x[0] = Rotate<V>(e01l, e01h, Weight<V>(c::kK4, c::kK4));
    x[4] = Rotate<V>(e01l, e01h, Weight<V>(c::kK4, -c::kK4));
  }
  const T e23l = V::UnpackLo16(e2, e3), e23h = V::UnpackHi16(e2, e3);
  x[2] = Rotate<V>(e23l, e23h, Weight<V>(c::kC2, c::kC6));
  x[6] = Rotate<V>(e23l, e23h, Weight<V>(c::kC6, -c::kC2));

  const T d01l = V::UnpackLo16(d0, d1), d01h = V::UnpackHi16(d0, d1);
  const T d23l = V::UnpackLo16(d2, d3), d23h = V::UnpackHi16(d2, d3);
  OVJPEG_UNROLL
  for (int i = 0; i < 4; ++i) {
    const int* w = c::kOdd[i];
    x[2 * i + 1] = Rotate2<V>(d01l, d01h, Weight<V>(w[0], w[1]), d23l, d23h, Weight<V>(w[2], w[3]));
  }
}

template <class V>
OVJPEG_FORCE_INLINE void Transpose(typename V::T* x) {
  using T = typename V::T;
  const T a0 = V::UnpackLo16(x[0], x[1]), a1 = V::UnpackHi16(x[0], x[1]);
  const T a2 = V::UnpackLo16(x[2], x[3]), a3 = V::UnpackHi16(x[2], x[3]);
  const T a4 = V::UnpackLo16(x[4], x[5]), a5 = V::UnpackHi16(x[4], x[5]);
  const T a6 = V::UnpackLo16(x[6], x[7]), a7 = V::UnpackHi16(x[6], x[7]);
  const T b0 = V::UnpackLo32(a0, a2), b1 = V::UnpackHi32(a0, a2);
  const T b2 = V::UnpackLo32(a1, a3), b3 = V::UnpackHi32(a1, a3);
  const T b4 = V::UnpackLo32(a4, a6), b5 = V::UnpackHi32(a4, a6);
  const T b6 = V::UnpackLo32(a5, a7), b7 = V::UnpackHi32(a5, a7);
  x[0] = V::UnpackLo64(b0, b4), x[1] = V::UnpackHi64(b0, b4);
  x[2] = V::UnpackLo64(b1, b5), x[3] = V::UnpackHi64(b1, b5);
  x[4] = V::UnpackLo64(b2, b6), x[5] = V::UnpackHi64(b2, b6);
  x[6] = V::UnpackLo64(b3, b7), x[7] = V::UnpackHi64(b3, b7);
}

// Both passes: on return x[v] holds horizontal frequency v, lane u the vertical frequency.
template <class V>
OVJPEG_FORCE_INLINE void Fdct(typename V::T* x) {
  DctPass<V, true>(x);
  Transpose<V>(x);
  DctPass<V, false>(x);
}

// Quantises x[i] with row i of the (transposed) divisor tables in place.
template <class V>
OVJPEG_FORCE_INLINE void Quantize(typename V::T* x, const QuantDivisors& q) {
  using T = typename V::T;
  OVJPEG_UNROLL
  for (int i = 0; i < 8; ++i) {
    T t = V::Add16(V::Abs16(x[i]), V::LoadRow(q.half + 8 * i));
    t = V::MulhiU16(t, V::LoadRow(q.mul + 8 * i));
    t = V::MulhiU16(t, V::LoadRow(q.shift_mul + 8 * i));
    x[i] = V::SignOf(t, x[i]);  // t is 0 where x is 0
  }
}

#undef OVJPEG_UNROLL

}  // namespace ovjpeg::simd
