// Where controls paint: the port that a window's double buffer (GDI) or a test recorder
// implements. Colours are 0xAARRGGBB as the skin writes them ("#FFFFFFFF").
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ui/geometry.h"

namespace ui {

// A decoded image; the decoder that made it is the only one that knows its pixels.
class UiImage {
 public:
  virtual ~UiImage() = default;
  virtual Size GetSize() const = 0;
};

struct FontSpec {
  std::u16string face = u"Tahoma";
  int size = 12;  // pixel height
  bool bold = false;
};

// Horizontal text placement within the rectangle; text is always centred vertically.
enum class TextAlign { kLeft, kCenter, kRight };

class PaintSurface {
 public:
  virtual ~PaintSurface() = default;
  virtual void FillRect(const Rect& rect, uint32_t argb) = 0;
  virtual void DrawBorder(const Rect& rect, uint32_t argb, int width) = 0;
  // Scales the whole image into dest, blending its alpha.
  virtual void DrawImage(const UiImage& image, const Rect& dest) = 0;
  virtual void DrawText(const std::u16string& text, const Rect& rect, uint32_t argb,
                        const FontSpec& font, TextAlign align) = 0;
  // Limits drawing to rect (intersected with the current limit) until the matching PopClip.
  virtual void PushClip(const Rect& rect) = 0;
  virtual void PopClip() = 0;
};

}  // namespace ui
