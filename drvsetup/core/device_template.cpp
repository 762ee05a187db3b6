#include "drvsetup/core/device_template.h"

#include <algorithm>
#include <span>
#include <vector>

#include "drvsetup/core/mb_chars.h"

namespace drvsetup {

namespace {

using Chars = std::span<const MbChar>;

std::optional<size_t> FirstWildcard(std::string_view text, const CodePage& code_page) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (byte == '*') return i;
    if (code_page.IsLeadByte(byte)) ++i;
  }
  return std::nullopt;
}

bool Equal(Chars a, Chars b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

bool StartsWith(Chars text, Chars prefix) {
  return prefix.size() <= text.size() && Equal(text.first(prefix.size()), prefix);
}

bool EndsWith(Chars text, Chars suffix) {
  return suffix.size() <= text.size() && Equal(text.last(suffix.size()), suffix);
}

// The literal runs of a pattern between its '*' characters, in order.
std::vector<Chars> SplitRuns(Chars pattern) {
  std::vector<Chars> runs;
  size_t start = 0;
  for (size_t i = 0; i <= pattern.size(); ++i) {
    if (i == pattern.size() || pattern[i] == '*') {
      runs.push_back(pattern.subspan(start, i - start));
      start = i + 1;
    }
  }
  return runs;
}

// pattern is what follows the first '*'; id is what follows the matched prefix.
bool MatchAfterWildcard(Chars id, Chars pattern) {
  const std::vector<Chars> runs = SplitRuns(pattern);
  size_t position = 0;
  for (size_t i = 0; i + 1 < runs.size(); ++i) {
    if (runs[i].empty()) continue;
    const auto rest = id.subspan(position);
    const auto found = std::search(rest.begin(), rest.end(), runs[i].begin(), runs[i].end());
    if (found == rest.end()) return false;
    position += static_cast<size_t>(found - rest.begin()) + runs[i].size();
  }
  return EndsWith(id.subspan(position), runs.back());
}

}  // namespace

bool DeviceTemplate::NeedsSearch() const {
  return kind != TemplateKind::kInstanceId || wildcard.has_value();
}

DeviceTemplate BuildDeviceTemplate(std::string_view text, const CodePage& code_page) {
  DeviceTemplate result;
  if (text == "*") {
    result.kind = TemplateKind::kAllDevices;
    result.text = text;
    result.wildcard = 0;
    return result;
  }
  if (text.starts_with('\'')) {
    result.kind = TemplateKind::kLiteral;
    result.text = text.substr(1);
    return result;
  }
  if (text.starts_with('@')) {
    result.kind = TemplateKind::kInstanceId;
    text.remove_prefix(1);
  }
  result.text = text;
  result.wildcard = FirstWildcard(result.text, code_page);
  return result;
}

bool MatchesTemplate(std::string_view device_id, const DeviceTemplate& device_template,
                     const CodePage& code_page) {
  if (device_template.kind == TemplateKind::kAllDevices) return true;
  const std::vector<MbChar> id = SplitFoldedChars(device_id, code_page);
  const std::string_view text = device_template.text;
  if (!device_template.wildcard) {
    return Equal(id, SplitFoldedChars(text, code_page));
  }
  const size_t star = *device_template.wildcard;
  const std::vector<MbChar> prefix = SplitFoldedChars(text.substr(0, star), code_page);
  if (!StartsWith(id, prefix)) return false;
  const std::vector<MbChar> rest = SplitFoldedChars(text.substr(star + 1), code_page);
  return MatchAfterWildcard(Chars(id).subspan(prefix.size()), rest);
}

}  // namespace drvsetup
