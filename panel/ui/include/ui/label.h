// Text controls: CLabelUI ("LabelUI") and CTextUI ("TextUI"), which differ only in kind.
#pragma once
#include "ui/control.h"

namespace ui {

class CLabelUI : public CControlUI {
 public:
  std::u16string_view GetClass() const override;

  uint32_t GetTextColor() const { return text_color_; }
  void SetTextColor(uint32_t argb);
  void SetDisabledTextColor(uint32_t argb);
  // Index into the paint manager's font list; -1 for its default font.
  int GetFont() const { return font_; }
  void SetFont(int index);
  void SetTextAlign(TextAlign align);

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;

 protected:
  void PaintText(PaintSurface& surface);

 private:
  uint32_t text_color_ = 0xFF000000;
  uint32_t disabled_text_color_ = 0xFF808080;
  int font_ = -1;
  TextAlign align_ = TextAlign::kLeft;
};

class CTextUI : public CLabelUI {
 public:
  std::u16string_view GetClass() const override;
};

}  // namespace ui
