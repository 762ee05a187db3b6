// Reading skin attribute texts: integers, "l,t,r,b" rectangles, "cx,cy" sizes, "#AARRGGBB"
// colours and "true"/"false". Malformed text gives nullopt so the attribute is ignored.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ui/geometry.h"

namespace ui {

std::optional<int> ParseInt(std::u16string_view text);
std::optional<Rect> ParseRect(std::u16string_view text);
std::optional<Size> ParseSize(std::u16string_view text);
std::optional<uint32_t> ParseColor(std::u16string_view text);
std::optional<bool> ParseBool(std::u16string_view text);

}  // namespace ui
