#include "ui/option.h"

#include "attribute_values.h"
#include "ui/container.h"
#include "ui/notify.h"
#include "ui/paint_manager.h"

namespace ui {

std::u16string_view COptionUI::GetClass() const { return u"OptionUI"; }

void COptionUI::Selected(bool selected, bool notify) {
  if (selected_ == selected) return;
  selected_ = selected;
  Invalidate();
  if (selected && !group_.empty() && GetParent() != nullptr) {
    for (int i = 0; i < GetParent()->GetCount(); ++i) {
      auto* other = dynamic_cast<COptionUI*>(GetParent()->GetItemAt(i));
      if (other != nullptr && other != this && other->group_ == group_) {
        other->Selected(false, notify);
      }
    }
  }
  if (notify && GetManager() != nullptr) GetManager()->SendNotify(this, kNotifySelectChanged);
}

void COptionUI::SetSelectedImage(std::u16string image) {
  selected_image_ = std::move(image);
  Invalidate();
}

void COptionUI::SetGroup(std::u16string group) { group_ = std::move(group); }

void COptionUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"selectedimage") {
    SetSelectedImage(std::u16string(value));
  } else if (name == u"group") {
    SetGroup(std::u16string(value));
  } else if (name == u"selected") {
    if (auto v = ParseBool(value)) Selected(*v, false);
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::Activate(Point point) {
  CButtonUI::Activate(point);
  // A selected radio option stays selected when clicked again.
  if (!group_.empty() && selected_) return;
  Selected(!selected_);
}

const std::u16string* COptionUI::StateImage() const {
  if (selected_ && !selected_image_.empty() && IsEnabled()) return &selected_image_;
  return CButtonUI::StateImage();
}

}  // namespace ui
