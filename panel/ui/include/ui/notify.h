// Notifications: what a control tells the window's notifiers after user input.
#pragma once
#include <cstdint>
#include <string>

#include "ui/geometry.h"

namespace ui {

class CControlUI;

// The type names carried in TNotifyUI::sType.
inline constexpr char16_t kNotifyClick[] = u"click";
inline constexpr char16_t kNotifyValueChanged[] = u"valuechanged";
inline constexpr char16_t kNotifySelectChanged[] = u"selectchanged";
inline constexpr char16_t kNotifyItemActivate[] = u"itemactivate";
inline constexpr char16_t kNotifyItemSelect[] = u"itemselect";
inline constexpr char16_t kNotifyWindowInit[] = u"windowinit";
inline constexpr char16_t kNotifyKillFocus[] = u"killfocus";

struct TNotifyUI {
  std::u16string sType;
  CControlUI* pSender = nullptr;
  Point ptMouse;  // client coordinates of the input that caused it
  // For "itemselect": the new selected index (-1 for none) and the previous one.
  intptr_t wParam = 0;
  intptr_t lParam = 0;
};

class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

}  // namespace ui
