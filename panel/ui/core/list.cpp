#include "ui/list.h"

#include "attribute_values.h"
#include "ui/notify.h"
#include "ui/paint_manager.h"

namespace ui {

std::u16string_view CListUI::GetClass() const { return u"ListUI"; }

void CListUI::SetItemBkImage(std::u16string image) {
  item_bk_image_ = std::move(image);
  Invalidate();
}

void CListUI::SetSelectedItemBkColor(uint32_t argb) {
  selected_bk_color_ = argb;
  Invalidate();
}

void CListUI::SetHotItemBkColor(uint32_t argb) {
  hot_bk_color_ = argb;
  Invalidate();
}

IListItemUI* CListUI::GetListItem(int index) const {
  return dynamic_cast<IListItemUI*>(GetItemAt(index));
}

bool CListUI::SelectItem(int index, bool notify) {
  if (index < -1 || index >= GetCount()) return false;
  // A row removed since it was selected leaves a stale index; clear whatever is marked.
  for (int i = 0; i < GetCount(); ++i) {
    if (IListItemUI* item = GetListItem(i); item != nullptr && i != index && item->IsSelected()) {
      item->Select(false);
    }
  }
  int previous = cur_sel_;
  if (index >= 0) {
    IListItemUI* item = GetListItem(index);
    if (item == nullptr) return false;
    if (!item->IsSelected()) item->Select(true);
  }
  cur_sel_ = index;
  if (notify && previous != index && GetManager() != nullptr) {
    GetManager()->SendNotify(this, kNotifyItemSelect, index, previous);
  }
  return true;
}

void CListUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"itembkimage") {
    SetItemBkImage(std::u16string(value));
  } else if (name == u"itemselectedbkcolor") {
    if (auto c = ParseColor(value)) SetSelectedItemBkColor(*c);
  } else if (name == u"itemhotbkcolor") {
    if (auto c = ParseColor(value)) SetHotItemBkColor(*c);
  } else {
    CVerticalLayoutUI::SetAttribute(name, value);
  }
}

void CListUI::OnItemClicked(IListItemUI& item, Point) { SelectItem(item.GetIndex()); }

void CListUI::OnItemActivated(CControlUI& item, Point) {
  if (GetManager() != nullptr) GetManager()->SendNotify(&item, kNotifyItemActivate);
}

void CListRowBehaviour::RowEvent(CControlUI& row, IListItemUI& item, const TEventUI& event) {
  if (!row.IsEnabled()) return;
  switch (event.type) {
    case TEventUI::Type::kMouseEnter:
      hot_ = true;
      row.Invalidate();
      break;
    case TEventUI::Type::kMouseLeave:
      hot_ = false;
      row.Invalidate();
      break;
    case TEventUI::Type::kButtonDown:
      if (item.GetOwner() != nullptr) item.GetOwner()->OnItemClicked(item, event.ptMouse);
      break;
    case TEventUI::Type::kDblClick:
      if (item.GetOwner() != nullptr) item.GetOwner()->OnItemActivated(row, event.ptMouse);
      break;
    default:
      break;
  }
}

void CListRowBehaviour::PaintRowBackground(CControlUI& row, PaintSurface& surface) {
  auto* owner = dynamic_cast<CListUI*>(row.GetParent());
  if (owner != nullptr && row.GetBkImage().empty() && !owner->GetItemBkImage().empty()) {
    if (const UiImage* image = row.GetManager()->GetImage(owner->GetItemBkImage())) {
      surface.DrawImage(*image, row.GetPos());
    }
  }
  if (owner != nullptr) {
    uint32_t overlay = selected_ ? owner->SelectedItemBkColor()
                       : hot_    ? owner->HotItemBkColor()
                                 : 0;
    if (overlay >> 24 != 0) surface.FillRect(row.GetPos(), overlay);
  }
}

namespace {

CListUI* OwnerOf(const CControlUI& row) { return dynamic_cast<CListUI*>(row.GetParent()); }

int IndexOf(const CControlUI& row) {
  CListUI* owner = OwnerOf(row);
  return owner == nullptr ? -1 : owner->GetItemIndex(&row);
}

}  // namespace

std::u16string_view CListContainerElementUI::GetClass() const { return u"ListContainerElementUI"; }

int CListContainerElementUI::GetIndex() const { return IndexOf(*this); }

CListUI* CListContainerElementUI::GetOwner() const { return OwnerOf(*this); }

void CListContainerElementUI::Select(bool selected) {
  SetRowSelected(selected);
  Invalidate();
}

CControlUI* CListContainerElementUI::FindControlAt(Point point) {
  if (!IsVisible() || !IsMouseEnabled() || !GetPos().Contains(point)) return nullptr;
  return this;
}

void CListContainerElementUI::DoEvent(const TEventUI& event) { RowEvent(*this, *this, event); }

void CListContainerElementUI::DoPaint(PaintSurface& surface, const Rect& dirty) {
  PaintRowBackground(*this, surface);
  CVerticalLayoutUI::DoPaint(surface, dirty);
}

std::u16string_view CListLabelElementUI::GetClass() const { return u"ListLabelElementUI"; }

int CListLabelElementUI::GetIndex() const { return IndexOf(*this); }

CListUI* CListLabelElementUI::GetOwner() const { return OwnerOf(*this); }

void CListLabelElementUI::Select(bool selected) {
  SetRowSelected(selected);
  Invalidate();
}

void CListLabelElementUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"selected") {
    if (auto v = ParseBool(value)) Select(*v);
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CListLabelElementUI::DoEvent(const TEventUI& event) { RowEvent(*this, *this, event); }

void CListLabelElementUI::DoPaint(PaintSurface& surface, const Rect&) {
  PaintRowBackground(*this, surface);
  PaintBackground(surface);
  PaintText(surface);
}

}  // namespace ui
