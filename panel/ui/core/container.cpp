#include "ui/container.h"

#include <algorithm>
#include <cstdint>

#include "attribute_values.h"

namespace ui {
namespace {

// Sizes and paddings come from the skin, and enough children add up past int. Layout sums run
// in 64 bits and positions stop at this limit, far outside any screen, where the difference of
// two positions still fits int.
constexpr int64_t kCoordinateLimit = int64_t{1} << 29;

int Coordinate(int64_t value) {
  return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

struct Extent {
  int fixed;
  int min;
  int max;
};

// Shares length among the children along one axis: fixed extents first, the remainder split
// evenly among the flexible ones, each kept within its minimum and maximum. Returns each
// child's length.
std::vector<int> ShareLength(const std::vector<Extent>& extents, int length, int padding) {
  std::vector<int> sizes(extents.size(), 0);
  const int64_t gaps = extents.empty() ? 0 : static_cast<int64_t>(extents.size()) - 1;
  // Never above length: paddings and the sizes taken are not negative.
  int64_t remaining = length - padding * gaps;
  std::vector<size_t> flexible;
  for (size_t i = 0; i < extents.size(); ++i) {
    if (extents[i].fixed > 0) {
      sizes[i] = extents[i].fixed;
      remaining -= sizes[i];
    } else {
      flexible.push_back(i);
    }
  }
  // Children whose limits bind take their limit; the others share what is left.
  bool changed = true;
  while (changed && !flexible.empty()) {
    changed = false;
    const auto share =
        static_cast<int>(std::max<int64_t>(remaining, 0) / static_cast<int64_t>(flexible.size()));
    for (size_t k = 0; k < flexible.size(); ++k) {
      const Extent& e = extents[flexible[k]];
      int bound = share < e.min ? e.min : share > e.max ? e.max : -1;
      if (bound >= 0) {
        sizes[flexible[k]] = bound;
        remaining -= bound;
        flexible.erase(flexible.begin() + static_cast<long>(k));
        changed = true;
        break;
      }
    }
  }
  if (!flexible.empty()) {
    const int64_t left = std::max<int64_t>(remaining, 0);
    const auto share = static_cast<int>(left / static_cast<int64_t>(flexible.size()));
    int64_t extra = left - int64_t{share} * static_cast<int64_t>(flexible.size());
    for (size_t i : flexible) {
      sizes[i] = share + (extra-- > 0 ? 1 : 0);
    }
  }
  return sizes;
}

// Places the visible, non-floating children one after another along the axis (down when
// vertical, across otherwise), padding apart; across it each takes its fixed size or fills.
void Stack(const std::vector<std::unique_ptr<CControlUI>>& items, const Rect& inner, int padding,
           bool vertical) {
  std::vector<CControlUI*> stacked;
  std::vector<Extent> extents;
  for (auto& item : items) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    stacked.push_back(item.get());
    if (vertical) {
      extents.push_back({item->GetFixedHeight(), item->GetMinHeight(), item->GetMaxHeight()});
    } else {
      extents.push_back({item->GetFixedWidth(), item->GetMinWidth(), item->GetMaxWidth()});
    }
  }
  std::vector<int> lengths =
      ShareLength(extents, vertical ? inner.Height() : inner.Width(), padding);
  int64_t along = vertical ? inner.top : inner.left;
  for (size_t i = 0; i < stacked.size(); ++i) {
    const int start = Coordinate(along);
    const int end = Coordinate(along + lengths[i]);
    if (vertical) {
      int width = stacked[i]->GetFixedWidth() > 0 ? stacked[i]->GetFixedWidth() : inner.Width();
      stacked[i]->SetPos(Rect{inner.left, start, Coordinate(int64_t{inner.left} + width), end});
    } else {
      int height = stacked[i]->GetFixedHeight() > 0 ? stacked[i]->GetFixedHeight() : inner.Height();
      stacked[i]->SetPos(Rect{start, inner.top, end, Coordinate(int64_t{inner.top} + height)});
    }
    along += int64_t{lengths[i]} + padding;
  }
}

}  // namespace

std::u16string_view CContainerUI::GetClass() const { return u"ContainerUI"; }

bool CContainerUI::Add(std::unique_ptr<CControlUI> control) {
  return AddAt(std::move(control), GetCount());
}

bool CContainerUI::AddAt(std::unique_ptr<CControlUI> control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  control->SetManager(GetManager(), this);
  items_.insert(items_.begin() + index, std::move(control));
  NeedUpdate();
  return true;
}

bool CContainerUI::Remove(CControlUI* control) {
  auto it = std::find_if(items_.begin(), items_.end(),
                         [control](const auto& item) { return item.get() == control; });
  if (it == items_.end()) return false;
  Invalidate();
  items_.erase(it);
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  Invalidate();
  items_.clear();
  NeedUpdate();
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == control) return static_cast<int>(i);
  }
  return -1;
}

void CContainerUI::SetInset(const Rect& inset) {
  inset_ = inset;
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  child_padding_ = padding < 0 ? 0 : padding;
  NeedUpdate();
}

void CContainerUI::SetPos(const Rect& pos) {
  CControlUI::SetPos(pos);
  Rect inner = InnerRect();
  LayoutChildren(inner);
  LayoutFloating(inner);
}

void CContainerUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"inset") {
    if (auto r = ParseRect(value)) SetInset(*r);
  } else if (name == u"childpadding") {
    if (auto v = ParseInt(value)) SetChildPadding(*v);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

CControlUI* CContainerUI::FindControlAt(Point point) {
  if (!IsVisible() || !GetPos().Contains(point)) return nullptr;
  // Later children paint over earlier ones, so they are hit first.
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (CControlUI* hit = (*it)->FindControlAt(point)) return hit;
  }
  return IsMouseEnabled() ? this : nullptr;
}

CControlUI* CContainerUI::FindControlByName(std::u16string_view name) {
  if (GetName() == name) return this;
  for (auto& item : items_) {
    if (CControlUI* found = item->FindControlByName(name)) return found;
  }
  return nullptr;
}

void CContainerUI::DoPaint(PaintSurface& surface, const Rect& dirty) {
  if (GetPos().Intersect(dirty).IsEmpty()) return;
  PaintBackground(surface);
  surface.PushClip(GetPos());
  for (auto& item : items_) {
    if (item->IsVisible() && !item->GetPos().Intersect(dirty).IsEmpty()) {
      item->DoPaint(surface, dirty);
    }
  }
  surface.PopClip();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CContainerUI* parent) {
  CControlUI::SetManager(manager, parent);
  for (auto& item : items_) item->SetManager(manager, this);
}

Rect CContainerUI::InnerRect() const {
  const Rect& p = GetPos();
  return Rect{p.left + inset_.left, p.top + inset_.top, p.right - inset_.right,
              p.bottom - inset_.bottom};
}

void CContainerUI::LayoutChildren(const Rect& inner) {
  for (auto& item : items_) {
    if (item->IsVisible() && !item->IsFloat()) item->SetPos(inner);
  }
}

void CContainerUI::LayoutFloating(const Rect& inner) {
  for (auto& item : items_) {
    if (!item->IsVisible() || !item->IsFloat()) continue;
    const Rect& f = item->GetFloatPos();
    item->SetPos(
        Rect{inner.left + f.left, inner.top + f.top, inner.left + f.right, inner.top + f.bottom});
  }
}

std::u16string_view CVerticalLayoutUI::GetClass() const { return u"VerticalLayoutUI"; }

void CVerticalLayoutUI::LayoutChildren(const Rect& inner) {
  Stack(Items(), inner, ChildPadding(), true);
}

std::u16string_view CHorizontalLayoutUI::GetClass() const { return u"HorizontalLayoutUI"; }

void CHorizontalLayoutUI::LayoutChildren(const Rect& inner) {
  Stack(Items(), inner, ChildPadding(), false);
}

}  // namespace ui
