#include "ui/label.h"

#include "attribute_values.h"
#include "ui/paint_manager.h"

namespace ui {

std::u16string_view CLabelUI::GetClass() const { return u"LabelUI"; }

void CLabelUI::SetTextColor(uint32_t argb) {
  text_color_ = argb;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(uint32_t argb) {
  disabled_text_color_ = argb;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  font_ = index;
  Invalidate();
}

void CLabelUI::SetTextAlign(TextAlign align) {
  align_ = align;
  Invalidate();
}

void CLabelUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"textcolor") {
    if (auto c = ParseColor(value)) SetTextColor(*c);
  } else if (name == u"disabledtextcolor") {
    if (auto c = ParseColor(value)) SetDisabledTextColor(*c);
  } else if (name == u"font") {
    if (auto v = ParseInt(value)) SetFont(*v);
  } else if (name == u"align") {
    if (value == u"left") SetTextAlign(TextAlign::kLeft);
    if (value == u"center") SetTextAlign(TextAlign::kCenter);
    if (value == u"right") SetTextAlign(TextAlign::kRight);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CLabelUI::DoPaint(PaintSurface& surface, const Rect&) {
  PaintBackground(surface);
  PaintText(surface);
}

void CLabelUI::PaintText(PaintSurface& surface) {
  if (GetText().empty() || GetManager() == nullptr) return;
  surface.DrawText(GetText(), GetPos(), IsEnabled() ? text_color_ : disabled_text_color_,
                   GetManager()->GetFont(font_), align_);
}

std::u16string_view CTextUI::GetClass() const { return u"TextUI"; }

}  // namespace ui
