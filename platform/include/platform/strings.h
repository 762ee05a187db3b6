// Text as the programs exchange it with the system: UTF-16 (the wide API and the core's own
// wide text), UTF-8, and 8-bit text in the system code page (the 8-bit API); names compared
// without regard to letter case.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/ascii_case.h"

namespace platform {

// One character of UTF-8 at text[*at], which steps past it; nullopt for a malformed sequence
// (a stray or truncated sequence, an over-long form, a surrogate code point, past U+10FFFF),
// which is stepped over up to the first byte that cannot continue it.
std::optional<char32_t> DecodeUtf8Character(std::string_view text, size_t* at);
// A code point up to U+10FFFF as UTF-16: itself, or a surrogate pair past U+FFFF.
void AppendUtf16(char32_t c, std::u16string* out);

// Malformed input becomes U+FFFD, one per bad sequence, as the Windows converters do; nothing
// is dropped.
std::u16string Utf8ToUtf16(std::string_view text);
// An unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The system code page: what the 8-bit API calls take and return.
class SystemCodePage {
 public:
  virtual ~SystemCodePage() = default;
  virtual std::u16string ToUtf16(std::string_view text) const = 0;
  // Characters the code page lacks become its default character.
  virtual std::string FromUtf16(std::u16string_view text) const = 0;
};

}  // namespace platform
