#include "panel/core/receiver_row.h"

#include <utility>

#include "ui/label.h"

namespace panel {

namespace {

constexpr int kRowHeight = 20;
constexpr int kNameBandHeight = 16;

std::unique_ptr<ui::CControlUI> Spacer(uintptr_t tag) {
  auto spacer = std::make_unique<ui::CControlUI>();
  spacer->SetTag(tag);
  return spacer;
}

template <typename Layout>
std::unique_ptr<Layout> Part(uintptr_t tag) {
  auto part = std::make_unique<Layout>();
  part->SetTag(tag);
  return part;
}

std::unique_ptr<ui::CControlUI> NameColumn(const std::u16string& display_name) {
  auto text = std::make_unique<ui::CTextUI>();
  // As high as its band: a taller text is centred below the band's bottom and loses the
  // lower part of its letters there.
  text->SetFixedHeight(kNameBandHeight);
  text->SetAttribute(u"textcolor", u"#FFFFFFFF");
  text->SetFont(0);
  text->SetText(display_name);

  auto text_band = Part<ui::CHorizontalLayoutUI>(1);
  text_band->SetFixedHeight(kNameBandHeight);
  text_band->Add(std::move(text));
  auto bottom_band = Part<ui::CHorizontalLayoutUI>(2);
  bottom_band->SetFixedHeight(1);

  auto column = Part<ui::CVerticalLayoutUI>(0);
  column->SetFixedHeight(kRowHeight);
  column->Add(Spacer(0));
  column->Add(std::move(text_band));
  column->Add(std::move(bottom_band));
  return column;
}

std::unique_ptr<ui::CControlUI> WebLinkColumn() {
  auto icon = std::make_unique<ui::CControlUI>();
  icon->SetFixedWidth(14);
  icon->SetFixedHeight(14);
  icon->SetBkImage(kWebLinkImage);
  auto cell = Part<ui::CVerticalLayoutUI>(1);
  cell->SetFixedWidth(14);
  cell->Add(std::move(icon));

  auto band = Part<ui::CHorizontalLayoutUI>(1);
  band->SetFixedHeight(14);
  band->Add(Spacer(0));
  band->Add(std::move(cell));
  band->Add(Spacer(2));

  auto column = Part<ui::CVerticalLayoutUI>(1);
  column->SetFixedHeight(kRowHeight);
  column->SetFixedWidth(33);
  column->Add(Spacer(0));
  column->Add(std::move(band));
  column->Add(Spacer(2));
  return column;
}

}  // namespace

std::unique_ptr<ui::CListContainerElementUI> BuildReceiverRow(int32_t index,
                                                              const std::u16string& display_name) {
  auto columns = Part<ui::CHorizontalLayoutUI>(0);
  columns->Add(NameColumn(display_name));
  columns->Add(WebLinkColumn());

  auto row = std::make_unique<ui::CListContainerElementUI>();
  row->SetTag(static_cast<uintptr_t>(index));
  row->SetBkImage(kRowBackground);
  row->SetMinHeight(kRowHeight);
  row->SetMaxHeight(kRowHeight);
  row->Add(std::move(columns));
  return row;
}

}  // namespace panel
