#include "test_images.h"

#include <algorithm>
#include <cmath>

namespace ovjpeg::testing {
namespace {

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_;
};

struct Colour {
  std::uint8_t r, g, b;
};

RgbImage Blank(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
  return image;
}

void Put(RgbImage& image, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return;
  std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
  p[0] = c.r, p[1] = c.g, p[2] = c.b;
}

void Fill(RgbImage& image, int x0, int y0, int w, int h, Colour c) {
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) Put(image, x, y, c);
  }
}

// A 5 x 7 glyph of random strokes, like small text.
void Glyph(RgbImage& image, int x0, int y0, Colour ink, Random& random) {
  const std::uint32_t bits = random.Next();
  for (int i = 0; i < 35; ++i) {
    if ((bits >> (i % 32)) & 1 && (i % 3 != 0)) Put(image, x0 + i % 5, y0 + i / 5, ink);
  }
}

void Window(RgbImage& image, int x0, int y0, int w, int h, Random& random) {
  const Colour frame{90, 90, 100}, title{40, 80, 160}, body{250, 250, 250}, ink{20, 20, 20};
  Fill(image, x0, y0, w, h, frame);
  Fill(image, x0 + 2, y0 + 2, w - 4, 20, title);
  for (int x = 0; x < w - 4; ++x) {  // a title-bar gradient
    for (int y = 0; y < 4; ++y) {
      Put(image, x0 + 2 + x, y0 + 18 + y, {static_cast<std::uint8_t>(40 + x * 100 / w), 90, 170});
    }
  }
  Fill(image, x0 + 2, y0 + 24, w - 4, h - 26, body);
  for (int line = y0 + 30; line + 8 < y0 + h - 4; line += 12) {
    const int length = 20 + random.Below(std::max(1, w - 40));
    for (int x = x0 + 8; x < x0 + 8 + length && x + 6 < x0 + w - 4; x += 6) {
      Glyph(image, x, line, ink, random);
    }
  }
}

}  // namespace

RgbImage MakeDesktop(int width, int height, std::uint32_t seed) {
  Random random(seed);
  RgbImage image = Blank(width, height);
  Fill(image, 0, 0, width, height, {0, 100, 130});
  const int windows = 2 + width * height / 250000;
  for (int i = 0; i < windows; ++i) {
    const int w = std::max(8, width / 3 + random.Below(std::max(1, width / 3)));
    const int h = std::max(8, height / 3 + random.Below(std::max(1, height / 3)));
    Window(image, random.Below(std::max(1, width - w / 2)),
           random.Below(std::max(1, height - h / 2)), w, h, random);
  }
  for (int x = 8; x + 32 < width; x += 80) {  // icons along the left edge of a task bar
    Fill(
        image, x, std::max(0, height - 36), 32, 32,
        {static_cast<std::uint8_t>(random.Below(256)), static_cast<std::uint8_t>(random.Below(256)),
         static_cast<std::uint8_t>(random.Below(256))});
  }
  return image;
}

RgbImage MakePhoto(int width, int height, std::uint32_t seed) {
  Random random(seed);
  RgbImage image = Blank(width, height);
  const double fx = 6.2831853 / std::max(width, 1), fy = 6.2831853 / std::max(height, 1);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = x * fx, v = y * fy;
      const double base = 0.5 + 0.25 * std::sin(3 * u + 1.3 * v) + 0.15 * std::cos(7 * v - 2 * u);
      const double texture = 0.08 * std::sin(40 * u) * std::sin(29 * v + 3 * u);
      const double grain = (random.Below(9) - 4) / 255.0;
      auto channel = [&](double tint) {
        const double value = 255 * (base * tint + texture + grain);
        return static_cast<std::uint8_t>(std::clamp(value, 0.0, 255.0));
      };
      Put(image, x, y, {channel(1.0), channel(0.8 + 0.2 * std::sin(u)), channel(0.6)});
    }
  }
  return image;
}

RgbImage MakeNoise(int width, int height, std::uint32_t seed) {
  Random random(seed);
  RgbImage image = Blank(width, height);
  for (std::uint8_t& byte : image.pixels) byte = static_cast<std::uint8_t>(random.Next() >> 24);
  return image;
}

double Psnr(const RgbImage& a, const RgbImage& b) {
  double squared = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    const double d = static_cast<double>(a.pixels[i]) - b.pixels[i];
    squared += d * d;
  }
  if (squared == 0) return 99.0;
  const double mse = squared / static_cast<double>(a.pixels.size());
  return 10.0 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace ovjpeg::testing
