// COptionUI ("OptionUI"): a check box. A click flips the selection and sends "click" and
// "selectchanged"; options of the same group behave as radio buttons.
#pragma once
#include "ui/button.h"

namespace ui {

class COptionUI : public CButtonUI {
 public:
  std::u16string_view GetClass() const override;

  bool IsSelected() const { return selected_; }
  // Changes the selection; sends "selectchanged" when it changed and notify is true.
  void Selected(bool selected, bool notify = true);
  void SetSelectedImage(std::u16string image);
  void SetGroup(std::u16string group);

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;

 protected:
  void Activate(Point point) override;
  const std::u16string* StateImage() const override;

 private:
  bool selected_ = false;
  std::u16string selected_image_;
  std::u16string group_;
};

}  // namespace ui
