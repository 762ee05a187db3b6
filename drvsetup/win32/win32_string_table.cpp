#include <vector>

#include "drvsetup/win32/win32_adapters.h"

namespace drvsetup::win32 {

std::optional<std::string> Win32StringTable::Load(unsigned id, size_t buffer_chars) {
  std::vector<char> buffer(buffer_chars == 0 ? 1 : buffer_chars, '\0');
  const int length =
      LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return std::nullopt;
  return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace drvsetup::win32
