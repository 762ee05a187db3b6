// The screen's geometry and pixel layout as the desktop object hands them to the encoders.
#pragma once
#include <cstdint>

namespace vexmark {

struct PixelFormat {
  std::uint8_t bitsPerPixel = 0;
  std::uint8_t depth = 0;
  std::uint8_t bigEndian = 0;
  std::uint8_t trueColour = 0;
  std::uint16_t redMax = 0;
  std::uint16_t greenMax = 0;
  std::uint16_t blueMax = 0;
  std::uint8_t redShift = 0;
  std::uint8_t greenShift = 0;
  std::uint8_t blueShift = 0;
};

struct ScreenInfo {
  std::uint16_t framebufferWidth = 0;
  std::uint16_t framebufferHeight = 0;
  PixelFormat format;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

}  // namespace vexmark
