#include "platform/paths.h"

namespace platform {

namespace {

template <typename Char>
bool IsSeparator(Char c) {
  return c == Char('\\') || c == Char('/') || c == Char(':');
}

template <typename Char>
std::basic_string<Char> Join(std::basic_string_view<Char> folder,
                             std::basic_string_view<Char> name) {
  std::basic_string<Char> path(folder);
  if (!path.ends_with(Char('\\'))) path += Char('\\');
  return path.append(name);
}

template <typename Char>
std::basic_string<Char> Folder(std::basic_string_view<Char> path) {
  size_t end = path.size();
  while (end > 0 && !IsSeparator(path[end - 1])) --end;
  return std::basic_string<Char>(path.substr(0, end));
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) { return Join(folder, name); }
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  return Join(folder, name);
}

std::string FolderOf(std::string_view path) { return Folder(path); }
std::u16string FolderOf(std::u16string_view path) { return Folder(path); }

}  // namespace platform
