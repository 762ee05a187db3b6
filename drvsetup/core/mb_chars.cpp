#include "drvsetup/core/mb_chars.h"

namespace drvsetup {

namespace {

MbChar FoldSingle(uint8_t byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<MbChar>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::vector<MbChar> SplitFoldedChars(std::string_view text, const CodePage& code_page) {
  std::vector<MbChar> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    if (code_page.IsLeadByte(byte) && i + 1 < text.size()) {
      chars.push_back(0x10000u | (static_cast<MbChar>(byte) << 8) |
                      static_cast<uint8_t>(text[i + 1]));
      ++i;
    } else {
      chars.push_back(FoldSingle(byte));
    }
  }
  return chars;
}

}  // namespace drvsetup
