// Lists: CListUI ("ListUI") stacks its items vertically; items are IListItemUI rows, either a
// container (CListContainerElementUI, any content) or a text row (CListLabelElementUI).
// A click on a row selects it (the list sends "itemselect"); a double click sends
// "itemactivate" from the row.
#pragma once
#include "ui/container.h"
#include "ui/label.h"

namespace ui {

class CListUI;

class IListItemUI {
 public:
  virtual int GetIndex() const = 0;
  virtual CListUI* GetOwner() const = 0;
  virtual bool IsSelected() const = 0;
  // Marks the row; the list keeps its current selection in step.
  virtual void Select(bool selected) = 0;

 protected:
  ~IListItemUI() = default;
};

class CListUI : public CVerticalLayoutUI {
 public:
  std::u16string_view GetClass() const override;

  // Background painted under every row that has none of its own, and under the selected and
  // hot rows.
  void SetItemBkImage(std::u16string image);
  const std::u16string& GetItemBkImage() const { return item_bk_image_; }
  void SetSelectedItemBkColor(uint32_t argb);
  void SetHotItemBkColor(uint32_t argb);

  int GetCurSel() const { return cur_sel_ < GetCount() ? cur_sel_ : -1; }
  // Selects row index (-1: none) and sends "itemselect" when the selection changed.
  bool SelectItem(int index, bool notify = true);
  IListItemUI* GetListItem(int index) const;

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;

  // Row events, from the rows.
  void OnItemClicked(IListItemUI& item, Point point);
  void OnItemActivated(CControlUI& item, Point point);
  uint32_t SelectedItemBkColor() const { return selected_bk_color_; }
  uint32_t HotItemBkColor() const { return hot_bk_color_; }

 private:
  std::u16string item_bk_image_;
  uint32_t selected_bk_color_ = 0;
  uint32_t hot_bk_color_ = 0;
  int cur_sel_ = -1;
};

// Shared row behaviour: index, owner, selection, hot state, painting of the row background.
class CListRowBehaviour {
 public:
  bool RowSelected() const { return selected_; }

 protected:
  void SetRowSelected(bool selected) { selected_ = selected; }
  void RowEvent(CControlUI& row, IListItemUI& item, const TEventUI& event);
  void PaintRowBackground(CControlUI& row, PaintSurface& surface);

 private:
  bool selected_ = false;
  bool hot_ = false;
};

class CListContainerElementUI : public CVerticalLayoutUI,
                                public IListItemUI,
                                private CListRowBehaviour {
 public:
  std::u16string_view GetClass() const override;
  int GetIndex() const override;
  CListUI* GetOwner() const override;
  bool IsSelected() const override { return RowSelected(); }
  void Select(bool selected) override;

  // A row takes the clicks of its content.
  CControlUI* FindControlAt(Point point) override;
  void DoEvent(const TEventUI& event) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;
};

class CListLabelElementUI : public CLabelUI, public IListItemUI, private CListRowBehaviour {
 public:
  std::u16string_view GetClass() const override;
  int GetIndex() const override;
  CListUI* GetOwner() const override;
  bool IsSelected() const override { return RowSelected(); }
  void Select(bool selected) override;

  void SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoEvent(const TEventUI& event) override;
  void DoPaint(PaintSurface& surface, const Rect& dirty) override;
};

}  // namespace ui
