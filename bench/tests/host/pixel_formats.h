// Pixel formats that the tests and benchmarks hand the encoders.
#pragma once
#include "bench/core/pixel_format.h"

namespace vexmark::test {

// True colour, 32 bits a pixel: 0x00RRGGBB.
inline PixelFormat Format32() {
  PixelFormat f;
  f.bitsPerPixel = 32;
  f.depth = 24;
  f.trueColour = 1;
  f.redMax = f.greenMax = f.blueMax = 255;
  f.redShift = 16;
  f.greenShift = 8;
  return f;
}

// True colour, 16 bits a pixel: 5 bits red, 6 green, 5 blue.
inline PixelFormat Format565() {
  PixelFormat f;
  f.bitsPerPixel = 16;
  f.depth = 16;
  f.trueColour = 1;
  f.redMax = 31;
  f.greenMax = 63;
  f.blueMax = 31;
  f.redShift = 11;
  f.greenShift = 5;
  return f;
}

}  // namespace vexmark::test
