#include "panel/core/play_parameter.h"

namespace panel {

uint8_t CapabilityDigit(std::u16string_view capability_code) {
  if (capability_code.size() < 8) return 0;
  const char16_t c = capability_code[7];
  if (c >= u'A') return static_cast<uint8_t>(c - 55);
  if (c >= u'0') return static_cast<uint8_t>(c - 48);
  return 0;
}

std::u16string ModeKey(const PlayChoice& choice) {
  const char16_t* screen = choice.extended_screen ? u"2" : u"1";
  if (choice.video_mode == 2) return std::u16string(u"2_1_") + screen;
  return std::u16string(choice.use_h264 ? u"1_1_" : u"1_0_") + screen;
}

std::u16string BuildPlayParameter(const PlayChoice& choice) {
  std::u16string text = ModeKey(choice) + u"_";
  for (char c : std::to_string(choice.port)) text.push_back(static_cast<char16_t>(c));
  text += choice.use_h264 ? u"_1" : u"_0";
  text += choice.second_bit ? u"_1" : u"_0";
  return text;
}

}  // namespace panel
