#include "panel/core/adapter_vendor.h"

#include <string>

#include "platform/ascii_case.h"

namespace panel {

int AdapterVendorCheck(std::u16string_view description, platform::DebugOutput& debug) {
  debug.Write(description);
  std::u16string upper(description);
  for (char16_t& c : upper) c = platform::UpperAscii(c);
  if (upper.find(u"ATI") != std::u16string::npos) return kAdapterVendorAti;
  if (upper.find(u"NVIDIA") != std::u16string::npos) return kAdapterVendorNvidia;
  return kAdapterVendorOther;
}

}  // namespace panel
