#include "panel/sim/call_log.h"

namespace panel::sim {

std::string LogText(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace panel::sim
