// The base of every control: name, position, visibility, sizes, background, tag, attributes,
// painting and mouse input.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/geometry.h"
#include "ui/paint_surface.h"

namespace ui {

class CPaintManagerUI;
class CContainerUI;

// Mouse input as the paint manager hands it to the control under the pointer.
struct TEventUI {
  enum class Type { kMouseEnter, kMouseLeave, kButtonDown, kButtonUp, kDblClick, kMouseMove };
  Type type;
  Point ptMouse;
};

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // "ControlUI", "ButtonUI", "OptionUI", "TextUI", ...: the kind, for hit testing.
  virtual std::u16string_view GetClass() const;

  const std::u16string& GetName() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }
  const std::u16string& GetText() const { return text_; }
  void SetText(std::u16string text);

  CContainerUI* GetParent() const { return parent_; }
  CPaintManagerUI* GetManager() const { return manager_; }

  // The rectangle the last layout gave; setting it lays out children too.
  const Rect& GetPos() const { return pos_; }
  virtual void SetPos(const Rect& pos);

  bool IsVisible() const { return visible_; }
  void SetVisible(bool visible);
  bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // A control that is not mouse-enabled lets clicks through to its parent.
  bool IsMouseEnabled() const { return mouse_enabled_; }
  void SetMouseEnabled(bool enabled) { mouse_enabled_ = enabled; }

  // Sizes for the layout of the parent; 0 means "flexible".
  int GetFixedWidth() const { return fixed_.cx; }
  void SetFixedWidth(int cx);
  int GetFixedHeight() const { return fixed_.cy; }
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return min_.cx; }
  void SetMinWidth(int cx);
  int GetMaxWidth() const { return max_.cx; }
  void SetMaxWidth(int cx);
  int GetMinHeight() const { return min_.cy; }
  void SetMinHeight(int cy);
  int GetMaxHeight() const { return max_.cy; }
  void SetMaxHeight(int cy);
  // A floating control ignores the parent's stacking and sits at its float position,
  // relative to the parent's top-left.
  bool IsFloat() const { return float_; }
  void SetFloat(bool floating);
  const Rect& GetFloatPos() const { return float_pos_; }
  void SetFloatPos(const Rect& pos);

  const std::u16string& GetBkImage() const { return bk_image_; }
  void SetBkImage(std::u16string image);
  uint32_t GetBkColor() const { return bk_color_; }
  void SetBkColor(uint32_t argb);
  void SetBorderColor(uint32_t argb);
  void SetBorderSize(int width);

  uintptr_t GetTag() const { return tag_; }
  void SetTag(uintptr_t tag) { tag_ = tag; }

  // Sets a property from its skin attribute text ("textcolor", "bkimage", "width", ...);
  // unknown names and malformed values are ignored.
  virtual void SetAttribute(std::u16string_view name, std::u16string_view value);

  // Repaints this control's rectangle soon.
  void Invalidate();
  // Lays the window out again before the next paint (sizes or visibility changed).
  void NeedUpdate();

  // The deepest visible, mouse-enabled control at the point, or nullptr.
  virtual CControlUI* FindControlAt(Point point);
  // This control or a descendant with the name, or nullptr.
  virtual CControlUI* FindControlByName(std::u16string_view name);

  virtual void DoPaint(PaintSurface& surface, const Rect& dirty);
  virtual void DoEvent(const TEventUI& event);

  // Wiring done by containers and the paint manager.
  virtual void SetManager(CPaintManagerUI* manager, CContainerUI* parent);

 protected:
  // Paints the background colour, background image and border.
  void PaintBackground(PaintSurface& surface);
  void PaintImage(PaintSurface& surface, const std::u16string& image, const Rect& dest);

 private:
  std::u16string name_;
  std::u16string text_;
  CPaintManagerUI* manager_ = nullptr;
  CContainerUI* parent_ = nullptr;
  Rect pos_;
  bool visible_ = true;
  bool enabled_ = true;
  bool mouse_enabled_ = true;
  Size fixed_;
  Size min_;
  Size max_{9999, 9999};
  bool float_ = false;
  Rect float_pos_;
  std::u16string bk_image_;
  uint32_t bk_color_ = 0;
  uint32_t border_color_ = 0;
  int border_size_ = 0;
  uintptr_t tag_ = 0;
};

}  // namespace ui
