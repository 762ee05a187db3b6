// UTF-16 text as the audio redirect program compares and stores it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace audio {

// Fixed wide-character buffers hold this many characters plus the terminator.
inline constexpr size_t kWideBufferChars = 260;

// Case-insensitive substring test. Letters fold as in the basic Latin range; every other
// character compares as it is. An empty needle is contained in any text.
bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view needle);

// The text as a buffer of that many characters (terminator included) keeps it: cut to
// one character less.
std::u16string CutToBuffer(std::u16string_view text, size_t buffer_chars = kWideBufferChars);

// UTF-16LE bytes as text, up to the first terminator or the end of the data (a last odd
// byte is not read). The first string of a REG_MULTI_SZ reads the same way.
std::u16string DecodeWideString(const uint8_t* data, size_t size);

}  // namespace audio
