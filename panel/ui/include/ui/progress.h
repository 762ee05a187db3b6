// CProgressUI ("ProgressUI"): a horizontal bar from a minimum to a maximum value. With the
// attribute slider="true" the user sets its value by clicking or dragging, which sends
// "valuechanged" (values snap to whole steps).
#pragma once
#include "ui/label.h"

namespace ui {

class CProgressUI : public CLabelUI {
 public:
  std::u16string_view GetClass() const override;

  int GetMinValue() const { return min_; }
  int GetMaxValue() const { return max_; }
  void SetMinValue(int value);
  void SetMaxValue(int value);
  int GetValue() const { return value_; }
  // Clamped to the range; no notification.
  void SetValue(int value);
  bool IsSlider() const { return slider_; }
  void SetForeImage(std::u16string image);
  void SetThumbImage(std::u16string image);
  void SetThumbSize(Size size);

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;
  void DoEvent(const TEventUI& event) override;

  // The thumb's rectangle for the current value (centred on the value's position).
  Rect ThumbRect() const;

 private:
  int ValueAt(int x) const;
  int PositionOf(int value) const;
  void TrackTo(Point point);

  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  bool slider_ = false;
  bool tracking_ = false;
  std::u16string fore_image_;
  std::u16string thumb_image_;
  Size thumb_{12, 12};
};

}  // namespace ui
