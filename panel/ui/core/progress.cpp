#include "ui/progress.h"

#include "attribute_values.h"
#include "ui/notify.h"
#include "ui/paint_manager.h"

namespace ui {

std::u16string_view CProgressUI::GetClass() const { return u"ProgressUI"; }

void CProgressUI::SetMinValue(int value) {
  min_ = value;
  if (max_ < min_) max_ = min_;
  SetValue(value_);
}

void CProgressUI::SetMaxValue(int value) {
  max_ = value;
  if (min_ > max_) min_ = max_;
  SetValue(value_);
}

void CProgressUI::SetValue(int value) {
  value = value < min_ ? min_ : value > max_ ? max_ : value;
  if (value == value_) return;
  value_ = value;
  Invalidate();
}

void CProgressUI::SetForeImage(std::u16string image) {
  fore_image_ = std::move(image);
  Invalidate();
}

void CProgressUI::SetThumbImage(std::u16string image) {
  thumb_image_ = std::move(image);
  Invalidate();
}

void CProgressUI::SetThumbSize(Size size) {
  thumb_ = size;
  Invalidate();
}

void CProgressUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"min") {
    if (auto v = ParseInt(value)) SetMinValue(*v);
  } else if (name == u"max") {
    if (auto v = ParseInt(value)) SetMaxValue(*v);
  } else if (name == u"value") {
    if (auto v = ParseInt(value)) SetValue(*v);
  } else if (name == u"slider") {
    if (auto v = ParseBool(value)) slider_ = *v;
  } else if (name == u"foreimage") {
    SetForeImage(std::u16string(value));
  } else if (name == u"thumbimage") {
    SetThumbImage(std::u16string(value));
  } else if (name == u"thumbsize") {
    if (auto s = ParseSize(value)) SetThumbSize(*s);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

// The track runs between the centres of the thumb at its two ends.
int CProgressUI::PositionOf(int value) const {
  const Rect& p = GetPos();
  int track = p.Width() - thumb_.cx;
  if (max_ == min_ || track <= 0) return p.left + p.Width() / 2;
  return p.left + thumb_.cx / 2 +
         static_cast<int>(static_cast<int64_t>(track) * (value - min_) / (max_ - min_));
}

int CProgressUI::ValueAt(int x) const {
  const Rect& p = GetPos();
  int track = p.Width() - thumb_.cx;
  if (max_ == min_ || track <= 0) return min_;
  int64_t offset = x - (p.left + thumb_.cx / 2);
  int64_t range = max_ - min_;
  // Nearest whole step.
  int64_t value = min_ + (offset * range * 2 + track) / (2 * static_cast<int64_t>(track));
  if (offset < 0) value = min_;
  return static_cast<int>(value < min_ ? min_ : value > max_ ? max_ : value);
}

Rect CProgressUI::ThumbRect() const {
  const Rect& p = GetPos();
  int x = PositionOf(value_);
  int top = p.top + (p.Height() - thumb_.cy) / 2;
  return Rect{x - thumb_.cx / 2, top, x - thumb_.cx / 2 + thumb_.cx, top + thumb_.cy};
}

void CProgressUI::DoPaint(PaintSurface& surface, const Rect&) {
  PaintBackground(surface);
  if (!fore_image_.empty()) {
    Rect fore = GetPos();
    if (slider_) {
      fore.right = PositionOf(value_);
    } else if (max_ > min_) {
      fore.right = fore.left + static_cast<int>(static_cast<int64_t>(fore.Width()) *
                                                (value_ - min_) / (max_ - min_));
    }
    surface.PushClip(fore);
    PaintImage(surface, fore_image_, GetPos());
    surface.PopClip();
  }
  if (slider_ && !thumb_image_.empty()) PaintImage(surface, thumb_image_, ThumbRect());
  PaintText(surface);
}

void CProgressUI::TrackTo(Point point) {
  int value = ValueAt(point.x);
  if (value == value_) return;
  SetValue(value);
  if (GetManager() != nullptr) GetManager()->SendNotify(this, kNotifyValueChanged);
}

void CProgressUI::DoEvent(const TEventUI& event) {
  if (!slider_ || !IsEnabled()) return;
  switch (event.type) {
    case TEventUI::Type::kButtonDown:
    case TEventUI::Type::kDblClick:
      tracking_ = true;
      TrackTo(event.ptMouse);
      break;
    case TEventUI::Type::kMouseMove:
      if (tracking_) TrackTo(event.ptMouse);
      break;
    case TEventUI::Type::kButtonUp:
      tracking_ = false;
      break;
    default:
      break;
  }
}

}  // namespace ui
