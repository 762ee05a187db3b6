#include "audio/core/wide_text.h"

#include <algorithm>

namespace audio {

namespace {

char16_t FoldCase(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool SameIgnoringCase(char16_t a, char16_t b) { return FoldCase(a) == FoldCase(b); }

}  // namespace

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view needle) {
  return std::search(text.begin(), text.end(), needle.begin(), needle.end(), SameIgnoringCase) !=
             text.end() ||
         needle.empty();
}

std::u16string CutToBuffer(std::u16string_view text, size_t buffer_chars) {
  if (buffer_chars == 0) return {};
  return std::u16string(text.substr(0, buffer_chars - 1));
}

}  // namespace audio
