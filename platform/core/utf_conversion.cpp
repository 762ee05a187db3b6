#include "platform/strings.h"

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | c >> 6));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | c >> 12));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | c >> 18));
    out->push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::optional<char32_t> DecodeUtf8Character(std::string_view text, size_t* at) {
  const auto lead = static_cast<unsigned char>(text[(*at)++]);
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 1, c = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 2, c = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 3, c = lead & 0x07, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < length; ++i) {
    if (*at >= text.size() || !IsContinuation(static_cast<unsigned char>(text[*at]))) {
      return std::nullopt;
    }
    c = c << 6 | (static_cast<unsigned char>(text[(*at)++]) & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || IsSurrogate(c)) return std::nullopt;
  return c;
}

void AppendUtf16(char32_t c, std::u16string* out) {
  if (c < 0x10000) {
    out->push_back(static_cast<char16_t>(c));
  } else {
    out->push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
  }
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  size_t at = 0;
  while (at < text.size())
    AppendUtf16(DecodeUtf8Character(text, &at).value_or(kReplacement), &wide);
  return wide;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    char32_t c = text[at];
    if (c >= 0xD800 && c <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
        text[at + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++at] - 0xDC00);
    } else if (IsSurrogate(c)) {
      c = kReplacement;
    }
    AppendUtf8(c, &narrow);
  }
  return narrow;
}

}  // namespace platform
