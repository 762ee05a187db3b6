#include "ui/control.h"

#include "attribute_values.h"
#include "ui/paint_manager.h"

namespace ui {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (manager_ != nullptr) manager_->ReapObjects(this);
}

std::u16string_view CControlUI::GetClass() const { return u"ControlUI"; }

void CControlUI::SetText(std::u16string text) {
  text_ = std::move(text);
  Invalidate();
}

void CControlUI::SetPos(const Rect& pos) {
  if (pos_ == pos) return;
  Invalidate();
  pos_ = pos;
  Invalidate();
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  NeedUpdate();
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void CControlUI::SetFixedWidth(int cx) {
  fixed_.cx = cx < 0 ? 0 : cx;
  NeedUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
  fixed_.cy = cy < 0 ? 0 : cy;
  NeedUpdate();
}

void CControlUI::SetMinWidth(int cx) {
  min_.cx = cx < 0 ? 0 : cx;
  NeedUpdate();
}

void CControlUI::SetMaxWidth(int cx) {
  max_.cx = cx < 0 ? 0 : cx;
  NeedUpdate();
}

void CControlUI::SetMinHeight(int cy) {
  min_.cy = cy < 0 ? 0 : cy;
  NeedUpdate();
}

void CControlUI::SetMaxHeight(int cy) {
  max_.cy = cy < 0 ? 0 : cy;
  NeedUpdate();
}

void CControlUI::SetFloat(bool floating) {
  float_ = floating;
  NeedUpdate();
}

void CControlUI::SetFloatPos(const Rect& pos) {
  float_pos_ = pos;
  NeedUpdate();
}

void CControlUI::SetBkImage(std::u16string image) {
  bk_image_ = std::move(image);
  Invalidate();
}

void CControlUI::SetBkColor(uint32_t argb) {
  bk_color_ = argb;
  Invalidate();
}

void CControlUI::SetBorderColor(uint32_t argb) {
  border_color_ = argb;
  Invalidate();
}

void CControlUI::SetBorderSize(int width) {
  border_size_ = width < 0 ? 0 : width;
  Invalidate();
}

void CControlUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"name") {
    SetName(std::u16string(value));
  } else if (name == u"text") {
    SetText(std::u16string(value));
  } else if (name == u"bkimage") {
    SetBkImage(std::u16string(value));
  } else if (name == u"bkcolor") {
    if (auto c = ParseColor(value)) SetBkColor(*c);
  } else if (name == u"bordercolor") {
    if (auto c = ParseColor(value)) SetBorderColor(*c);
  } else if (name == u"bordersize") {
    if (auto v = ParseInt(value)) SetBorderSize(*v);
  } else if (name == u"width") {
    if (auto v = ParseInt(value)) SetFixedWidth(*v);
  } else if (name == u"height") {
    if (auto v = ParseInt(value)) SetFixedHeight(*v);
  } else if (name == u"minwidth") {
    if (auto v = ParseInt(value)) SetMinWidth(*v);
  } else if (name == u"maxwidth") {
    if (auto v = ParseInt(value)) SetMaxWidth(*v);
  } else if (name == u"minheight") {
    if (auto v = ParseInt(value)) SetMinHeight(*v);
  } else if (name == u"maxheight") {
    if (auto v = ParseInt(value)) SetMaxHeight(*v);
  } else if (name == u"visible") {
    if (auto v = ParseBool(value)) SetVisible(*v);
  } else if (name == u"enabled") {
    if (auto v = ParseBool(value)) SetEnabled(*v);
  } else if (name == u"mouse") {
    if (auto v = ParseBool(value)) SetMouseEnabled(*v);
  } else if (name == u"float") {
    if (auto v = ParseBool(value)) SetFloat(*v);
  } else if (name == u"pos") {
    if (auto r = ParseRect(value)) SetFloatPos(*r);
  } else if (name == u"tag") {
    if (auto v = ParseInt(value)) SetTag(static_cast<uintptr_t>(*v));
  }
}

void CControlUI::Invalidate() {
  if (manager_ != nullptr && !pos_.IsEmpty()) manager_->Invalidate(pos_);
}

void CControlUI::NeedUpdate() {
  if (manager_ != nullptr) manager_->NeedUpdate();
}

CControlUI* CControlUI::FindControlAt(Point point) {
  if (!visible_ || !mouse_enabled_ || !pos_.Contains(point)) return nullptr;
  return this;
}

CControlUI* CControlUI::FindControlByName(std::u16string_view name) {
  return name_ == name ? this : nullptr;
}

void CControlUI::DoPaint(PaintSurface& surface, const Rect&) { PaintBackground(surface); }

void CControlUI::DoEvent(const TEventUI&) {}

void CControlUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  manager_ = manager;
  parent_ = parent;
}

void CControlUI::PaintBackground(PaintSurface& surface) {
  if (bk_color_ >> 24 != 0) surface.FillRect(pos_, bk_color_);
  PaintImage(surface, bk_image_, pos_);
  if (border_size_ > 0 && border_color_ >> 24 != 0) {
    surface.DrawBorder(pos_, border_color_, border_size_);
  }
}

void CControlUI::PaintImage(PaintSurface& surface, const std::u16string& image, const Rect& dest) {
  if (image.empty() || manager_ == nullptr) return;
  if (const UiImage* decoded = manager_->GetImage(image)) surface.DrawImage(*decoded, dest);
}

}  // namespace ui
