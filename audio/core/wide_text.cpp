#include "audio/core/wide_text.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "platform/registry_values.h"

namespace audio {

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view needle) {
  return std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                     [](char16_t a, char16_t b) {
                       return platform::UpperAscii(a) == platform::UpperAscii(b);
                     }) != text.end() ||
         needle.empty();
}

std::u16string CutToBuffer(std::u16string_view text, size_t buffer_chars) {
  if (buffer_chars == 0) return {};
  return std::u16string(text.substr(0, buffer_chars - 1));
}

std::u16string DecodeWideString(const uint8_t* data, size_t size) {
  std::u16string text = platform::WideText(data, size);
  return text.substr(0, text.find(u'\0'));
}

}  // namespace audio
