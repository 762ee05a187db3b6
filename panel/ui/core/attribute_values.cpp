#include "attribute_values.h"

#include <vector>

namespace ui {
namespace {

// Values beyond this are not sizes or positions of a window on any screen.
constexpr int64_t kIntLimit = 1'000'000;

std::optional<std::vector<int>> ParseInts(std::u16string_view text, size_t count) {
  std::vector<int> values;
  size_t start = 0;
  while (values.size() < count) {
    size_t comma = text.find(u',', start);
    std::u16string_view part =
        text.substr(start, comma == std::u16string_view::npos ? text.npos : comma - start);
    auto value = ParseInt(part);
    if (!value) return std::nullopt;
    values.push_back(*value);
    if (comma == std::u16string_view::npos) break;
    start = comma + 1;
  }
  if (values.size() != count) return std::nullopt;
  return values;
}

}  // namespace

std::optional<int> ParseInt(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && text.front() == u'-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > kIntLimit) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

std::optional<Rect> ParseRect(std::u16string_view text) {
  auto v = ParseInts(text, 4);
  if (!v) return std::nullopt;
  return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Size> ParseSize(std::u16string_view text) {
  auto v = ParseInts(text, 2);
  if (!v) return std::nullopt;
  return Size{(*v)[0], (*v)[1]};
}

std::optional<uint32_t> ParseColor(std::u16string_view text) {
  if (text.empty() || text.front() != u'#') return std::nullopt;
  text.remove_prefix(1);
  if (text.size() != 6 && text.size() != 8) return std::nullopt;
  uint32_t value = 0;
  for (char16_t c : text) {
    uint32_t digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else if (c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value << 4 | digit;
  }
  if (text.size() == 6) value |= 0xFF000000u;
  return value;
}

std::optional<bool> ParseBool(std::u16string_view text) {
  if (text == u"true") return true;
  if (text == u"false") return false;
  return std::nullopt;
}

}  // namespace ui
