#include "ui/sim/paint_recorder.h"

namespace ui::sim {

void PaintRecorder::Record(PaintOp op) {
  op.visible = op.rect.Intersect(clips_.back());
  if (op.visible.IsEmpty()) return;
  ops_.push_back(std::move(op));
}

PaintOp PaintRecorder::Op(PaintOp::Kind kind, const Rect& rect, uint32_t argb) {
  PaintOp op;
  op.kind = kind;
  op.rect = rect;
  op.argb = argb;
  return op;
}

void PaintRecorder::FillRect(const Rect& rect, uint32_t argb) {
  Record(Op(PaintOp::Kind::kFill, rect, argb));
}

void PaintRecorder::DrawBorder(const Rect& rect, uint32_t argb, int) {
  Record(Op(PaintOp::Kind::kBorder, rect, argb));
}

void PaintRecorder::DrawImage(const UiImage& image, const Rect& dest) {
  PaintOp op = Op(PaintOp::Kind::kImage, dest, 0);
  op.image = &image;
  Record(std::move(op));
}

void PaintRecorder::DrawText(const std::u16string& text, const Rect& rect, uint32_t argb,
                             const FontSpec& font, TextAlign) {
  PaintOp op = Op(PaintOp::Kind::kText, rect, argb);
  op.text = text;
  op.font = font;
  Record(std::move(op));
}

void PaintRecorder::PushClip(const Rect& rect) { clips_.push_back(rect.Intersect(clips_.back())); }

void PaintRecorder::PopClip() {
  if (clips_.size() > 1) clips_.pop_back();
}

const UiImage* PaintRecorder::ImageAt(Point point) const {
  for (auto it = ops_.rbegin(); it != ops_.rend(); ++it) {
    if (it->kind == PaintOp::Kind::kImage && it->visible.Contains(point)) return it->image;
  }
  return nullptr;
}

Rect PaintRecorder::WhereDrawn(const UiImage* image) const {
  for (auto it = ops_.rbegin(); it != ops_.rend(); ++it) {
    if (it->kind == PaintOp::Kind::kImage && it->image == image) return it->rect;
  }
  return Rect{};
}

}  // namespace ui::sim
