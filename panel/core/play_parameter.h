// The parameter of the "SetPlay" command: mode key, port, H.264 and the receiver's second
// capability bit, and the capability digit it is read from.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace panel {

inline constexpr char16_t kPlainCapabilityCode[] = u"1-00-00";

// The capability bits from the code's eighth character: "A" and above give c - 55 in 8 bits,
// "0" to "@" give c - 48, anything else (or a code shorter than eight characters) 0.
uint8_t CapabilityDigit(std::u16string_view capability_code);

struct PlayChoice {
  int32_t video_mode;  // as ZYNOV_GetVideoMode answered
  bool use_h264;
  bool second_bit;
  bool extended_screen;
  int32_t port;
};

// The mode key ("2_1_2", "1_1_1", ...) for the choice.
std::u16string ModeKey(const PlayChoice& choice);
// Key, "_<port>", then "_1"/"_0" for H.264 and for the second bit.
std::u16string BuildPlayParameter(const PlayChoice& choice);

}  // namespace panel
