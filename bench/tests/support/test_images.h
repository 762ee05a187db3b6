// Synthetic pictures for the JPEG tests and benchmarks: packed RGB, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ovjpeg::testing {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width x height x 3
};

// Desktop content: flat background, windows with borders and title bars, rows of small
// text-like glyphs, a few icons.
RgbImage MakeDesktop(int width, int height, std::uint32_t seed = 1);
// Photo-like content: smooth gradients and low-frequency texture with a little grain.
RgbImage MakePhoto(int width, int height, std::uint32_t seed = 2);
// Uniform random noise.
RgbImage MakeNoise(int width, int height, std::uint32_t seed = 3);

// PSNR in dB over all three channels; both images have the same size.
double Psnr(const RgbImage& a, const RgbImage& b);

}  // namespace ovjpeg::testing
