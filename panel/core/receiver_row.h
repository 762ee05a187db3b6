// One row of the receiver list: the receiver's name on the left and the web-page icon on the
// right.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ui/list.h"

namespace panel {

inline constexpr char16_t kRowBackground[] = u"itembkimg.png";
inline constexpr char16_t kWebLinkImage[] = u"WebLink.png";
// A row activated this close to its right edge opens the receiver's web page.
inline constexpr int kWebLinkZoneWidth = 30;

// The row element for receiver index (its tag) showing display_name.
std::unique_ptr<ui::CListContainerElementUI> BuildReceiverRow(int32_t index,
                                                              const std::u16string& display_name);

}  // namespace panel
