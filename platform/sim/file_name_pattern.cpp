#include "platform/sim/file_name_pattern.h"

#include <cstdint>

namespace platform::sim {

namespace {

bool OnlyDotsAndStars(std::string_view pattern) {
  return pattern.find_first_not_of(".*") == std::string_view::npos;
}

// Characters that the alias replaces by '_' and that make a name invalid as 8.3.
bool IsInvalidDosChar(char c) {
  return static_cast<unsigned char>(c) > 0x7F ||
         std::string_view("*?<>|\"+=,;[] ").find(c) != std::string_view::npos;
}

bool IsValid83(std::string_view name) {
  if (name.size() > 12 || name.empty()) return false;
  if (name[0] == '.') return name == "." || name == "..";
  size_t dot = std::string_view::npos;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (IsInvalidDosChar(c) || c == ':' || c == '/' || c == '\\') return false;
    if (c == '.') {
      if (dot != std::string_view::npos) return false;
      dot = i;
    }
  }
  if (dot == std::string_view::npos) return name.size() <= 8;
  return dot <= 8 && name.size() - dot > 1 && name.size() - dot < 5;
}

uint16_t AliasHash(std::string_view name) {
  uint16_t hash = 0xBEEF;
  for (size_t i = 0; i + 1 < name.size(); ++i) {
    hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^
                                 static_cast<uint8_t>(LowerAscii(name[i])) ^
                                 (static_cast<uint8_t>(LowerAscii(name[i + 1])) << 8));
  }
  return static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^
                               static_cast<uint8_t>(LowerAscii(name.back())));
}

char AliasChar(char c) { return IsInvalidDosChar(c) || c == '.' || c == '~' ? '_' : UpperAscii(c); }

}  // namespace

bool MatchesFileNamePattern(std::string_view pattern, std::string_view name) {
  // Backtracking over the last '*' suffices: a later star can absorb whatever an earlier
  // one would have to.
  size_t p = 0, n = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = ++p;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star;
      n = ++resume;
    } else {
      return false;
    }
  }
  return OnlyDotsAndStars(pattern.substr(p));
}

bool ListsBefore(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const auto ua = static_cast<unsigned char>(UpperAscii(a[i]));
    const auto ub = static_cast<unsigned char>(UpperAscii(b[i]));
    if (ua != ub) return ua < ub;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::optional<std::string> ShortFileName(std::string_view name) {
  if (name.empty() || IsValid83(name)) return std::nullopt;
  // The extension starts at the last dot that is neither the first nor the last character.
  size_t ext = std::string_view::npos;
  for (size_t i = 1; i + 1 < name.size(); ++i) {
    if (name[i] == '.') ext = i;
  }
  std::string alias;
  for (size_t i = 0; i < 4 && i < name.size() && i != ext; ++i) alias += AliasChar(name[i]);
  alias.append(6 - alias.size() - 1, '~');
  const uint16_t hash = AliasHash(name);
  static constexpr char kHashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  alias += kHashChars[(hash >> 10) & 0x1F];
  alias += kHashChars[(hash >> 5) & 0x1F];
  alias += kHashChars[hash & 0x1F];
  if (ext != std::string_view::npos) {
    alias += '.';
    for (size_t i = ext + 1; i < name.size() && i < ext + 4; ++i) alias += AliasChar(name[i]);
  }
  return alias;
}

}  // namespace platform::sim
