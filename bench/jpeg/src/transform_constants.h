// Fixed-point constants shared by every kernel set, so all of them compute the same integers.
#pragma once

#include <cstdint>

namespace ovjpeg::constants {

// Samples carry 4 fraction bits: 16 x (value - 128).
inline constexpr int kSampleFractionBits = 4;

// Luma: Y = 0.299 R + 0.587 G + 0.114 B in 1/32768 (the weights sum to exactly 32768 so grey
// stays grey). Shifting by 11 leaves 4 fraction bits; the centring offset is folded in.
inline constexpr int kYr = 9798, kYg = 19234, kYb = 3736;
inline constexpr int kYShift = 11;
inline constexpr int kYBias = (1 << (kYShift - 1)) - (2048 << kYShift);

// Chroma from the sums of a 2 x 2 group (4 x the mean): Cb = -0.168736 R - 0.331264 G + 0.5 B,
// Cr = 0.5 R - 0.418688 G - 0.081312 B in 1/32768; each row sums to 0. Shift 13 turns the
// 4-pixel sum into 4 fraction bits.
inline constexpr int kCbR = -5529, kCbG = -10855, kCbB = 16384;
inline constexpr int kCrR = 16384, kCrG = -13720, kCrB = -2664;
inline constexpr int kCShift = 13;
inline constexpr int kCBias = 1 << (kCShift - 1);

// 8-point DCT-II, orthonormal, in 1/16384: each pass keeps 4 fraction bits (shift 14).
//   y0 = k4 (e0 + e1), y4 = k4 (e0 - e1)              e = sums of mirrored inputs
//   y2 = c2 e2 + c6 e3,  y6 = c6 e2 - c2 e3            c_j = cos(j pi / 16) / 2
//   y1, y3, y5, y7 from the mirrored differences d0..d3 with c1, c3, c5, c7.
inline constexpr int kDctShift = 14;
inline constexpr int kK4 = 5793;  // 16384 / sqrt(8)
inline constexpr int kC1 = 8035, kC2 = 7568, kC3 = 6811, kC5 = 4551, kC6 = 3135, kC7 = 1598;

// Odd outputs as weights of (d0, d1, d2, d3).
inline constexpr int kOdd[4][4] = {
    {kC1, kC3, kC5, kC7},     // y1
    {kC3, -kC7, -kC1, -kC5},  // y3
    {kC5, -kC1, kC7, kC3},    // y5
    {kC7, -kC5, kC3, -kC1},   // y7
};

}  // namespace ovjpeg::constants
