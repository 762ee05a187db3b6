#include "ui/button.h"

#include "ui/notify.h"
#include "ui/paint_manager.h"

namespace ui {

std::u16string_view CButtonUI::GetClass() const { return u"ButtonUI"; }

void CButtonUI::SetNormalImage(std::u16string image) {
  normal_image_ = std::move(image);
  Invalidate();
}

void CButtonUI::SetHotImage(std::u16string image) {
  hot_image_ = std::move(image);
  Invalidate();
}

void CButtonUI::SetPushedImage(std::u16string image) {
  pushed_image_ = std::move(image);
  Invalidate();
}

void CButtonUI::SetDisabledImage(std::u16string image) {
  disabled_image_ = std::move(image);
  Invalidate();
}

void CButtonUI::SetEnabled(bool enabled) {
  if (!enabled) hot_ = pushed_ = false;
  CLabelUI::SetEnabled(enabled);
}

void CButtonUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"normalimage") {
    SetNormalImage(std::u16string(value));
  } else if (name == u"hotimage") {
    SetHotImage(std::u16string(value));
  } else if (name == u"pushedimage") {
    SetPushedImage(std::u16string(value));
  } else if (name == u"disabledimage") {
    SetDisabledImage(std::u16string(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

const std::u16string* CButtonUI::StateImage() const {
  if (!IsEnabled() && !disabled_image_.empty()) return &disabled_image_;
  if (pushed_ && !pushed_image_.empty()) return &pushed_image_;
  if (hot_ && !hot_image_.empty()) return &hot_image_;
  return nullptr;
}

void CButtonUI::DoPaint(PaintSurface& surface, const Rect&) {
  PaintBackground(surface);
  const std::u16string* image = StateImage();
  PaintImage(surface, image != nullptr ? *image : normal_image_, GetPos());
  PaintText(surface);
}

void CButtonUI::DoEvent(const TEventUI& event) {
  if (!IsEnabled()) return;
  switch (event.type) {
    case TEventUI::Type::kMouseEnter:
      hot_ = true;
      break;
    case TEventUI::Type::kMouseLeave:
      hot_ = false;
      break;
    case TEventUI::Type::kButtonDown:
    case TEventUI::Type::kDblClick:
      pushed_ = true;
      break;
    case TEventUI::Type::kMouseMove:
      return;
    case TEventUI::Type::kButtonUp: {
      bool was_pushed = pushed_;
      pushed_ = false;
      Invalidate();
      if (was_pushed && GetPos().Contains(event.ptMouse)) Activate(event.ptMouse);
      return;
    }
  }
  Invalidate();
}

void CButtonUI::Activate(Point) {
  if (GetManager() != nullptr) GetManager()->SendNotify(this, kNotifyClick);
}

}  // namespace ui
