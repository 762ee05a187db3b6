#include "launcher/core/bounded_format.h"

namespace launcher {

namespace {

constexpr std::string_view kPlaceholder = "%s";

}  // namespace

std::optional<std::string> FormatBounded(size_t capacity, std::string_view format,
                                         std::initializer_list<std::string_view> args) {
  std::string text;
  const std::string_view* next = args.begin();
  size_t pos = 0;
  for (size_t found = format.find(kPlaceholder); found != std::string_view::npos;
       found = format.find(kPlaceholder, pos)) {
    if (next == args.end()) return std::nullopt;
    text.append(format.substr(pos, found - pos));
    text.append(*next++);
    pos = found + kPlaceholder.size();
    if (text.size() >= capacity) return std::nullopt;
  }
  if (next != args.end()) return std::nullopt;
  text.append(format.substr(pos));
  if (text.size() >= capacity) return std::nullopt;
  return text;
}

}  // namespace launcher
