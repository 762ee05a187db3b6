// A paint surface that records what was drawn where, for tests. Clipping is applied the way
// a screen would: an operation wholly outside the clip is not recorded, others are recorded
// with the rectangle actually visible.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ui/paint_surface.h"

namespace ui::sim {

struct PaintOp {
  enum class Kind { kFill, kBorder, kImage, kText };
  Kind kind = Kind::kFill;
  Rect rect;     // as requested
  Rect visible;  // after clipping
  uint32_t argb = 0;
  const UiImage* image = nullptr;
  std::u16string text;
  FontSpec font;
};

class PaintRecorder : public PaintSurface {
 public:
  explicit PaintRecorder(Rect bounds) : clips_{bounds} {}

  void FillRect(const Rect& rect, uint32_t argb) override;
  void DrawBorder(const Rect& rect, uint32_t argb, int width) override;
  void DrawImage(const UiImage& image, const Rect& dest) override;
  void DrawText(const std::u16string& text, const Rect& rect, uint32_t argb, const FontSpec& font,
                TextAlign align) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;

  const std::vector<PaintOp>& Ops() const { return ops_; }
  // The last image drawn whose visible part covers the point, or nullptr: what a pixel probe
  // there would show.
  const UiImage* ImageAt(Point point) const;
  // Where the image was last drawn (requested rectangle); empty when it was not drawn.
  Rect WhereDrawn(const UiImage* image) const;
  int ClipDepth() const { return static_cast<int>(clips_.size()); }

 private:
  static PaintOp Op(PaintOp::Kind kind, const Rect& rect, uint32_t argb);
  void Record(PaintOp op);

  std::vector<Rect> clips_;
  std::vector<PaintOp> ops_;
};

}  // namespace ui::sim
