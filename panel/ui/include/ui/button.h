// CButtonUI ("ButtonUI"): a label with images for its states that sends "click" when the
// mouse is pressed and released over it while it is enabled.
#pragma once
#include "ui/label.h"

namespace ui {

class CButtonUI : public CLabelUI {
 public:
  std::u16string_view GetClass() const override;

  const std::u16string& GetNormalImage() const { return normal_image_; }
  void SetNormalImage(std::u16string image);
  void SetHotImage(std::u16string image);
  void SetPushedImage(std::u16string image);
  void SetDisabledImage(std::u16string image);

  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

  void SetEnabled(bool enabled) override;
  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;
  void DoEvent(const TEventUI& event) override;

 protected:
  // Called for a completed click; the button notifies "click".
  virtual void Activate(Point point);
  // The state image to paint now, or nullptr to paint the normal image.
  virtual const std::u16string* StateImage() const;

 private:
  std::u16string normal_image_;
  std::u16string hot_image_;
  std::u16string pushed_image_;
  std::u16string disabled_image_;
  bool hot_ = false;
  bool pushed_ = false;
};

}  // namespace ui
