// Containers own their children and stack them: vertically, horizontally, or not at all
// (every child gets the whole inner rectangle).
#pragma once
#include <memory>
#include <vector>

#include "ui/control.h"

namespace ui {

class CContainerUI : public CControlUI {
 public:
  std::u16string_view GetClass() const override;

  // Takes ownership; false (and the control is destroyed) for nullptr.
  bool Add(std::unique_ptr<CControlUI> control);
  bool AddAt(std::unique_ptr<CControlUI> control, int index);
  // Destroys the child; false when it is not a child of this container.
  bool Remove(CControlUI* control);
  void RemoveAll();
  int GetCount() const { return static_cast<int>(items_.size()); }
  // nullptr when the index is out of range.
  CControlUI* GetItemAt(int index) const;
  int GetItemIndex(const CControlUI* control) const;

  // Space kept free inside the border: left, top, right, bottom.
  void SetInset(const Rect& inset);
  const Rect& GetInset() const { return inset_; }
  // Gap between stacked children.
  void SetChildPadding(int padding);

  void SetPos(const Rect& pos) override;
  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  CControlUI* FindControlAt(Point point) override;
  CControlUI* FindControlByName(std::u16string_view name) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;
  void SetManager(CPaintManagerUI* manager, CContainerUI* parent) override;

 protected:
  Rect InnerRect() const;
  // Lays out the non-floating children inside inner; the plain container gives each the
  // whole rectangle.
  virtual void LayoutChildren(const Rect& inner);
  void LayoutFloating(const Rect& inner);
  int ChildPadding() const { return child_padding_; }
  const std::vector<std::unique_ptr<CControlUI>>& Items() const { return items_; }

 private:
  std::vector<std::unique_ptr<CControlUI>> items_;
  Rect inset_;
  int child_padding_ = 0;
};

// Children top to bottom: fixed heights first, the rest shared out among flexible children
// within their minimum and maximum heights. Widths fill the container unless fixed.
class CVerticalLayoutUI : public CContainerUI {
 public:
  std::u16string_view GetClass() const override;

 protected:
  void LayoutChildren(const Rect& inner) override;
};

// Children left to right, the same rules with widths.
class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::u16string_view GetClass() const override;

 protected:
  void LayoutChildren(const Rect& inner) override;
};

}  // namespace ui
