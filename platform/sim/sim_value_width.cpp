#include "platform/registry_values.h"
#include "platform/sim/sim_registry.h"
#include "platform/strings.h"

namespace platform::sim {

namespace {

bool IsStringType(ValueType type) {
  return type == ValueType::kString || type == ValueType::kExpandString ||
         type == ValueType::kMultiString;
}

}  // namespace

SimValue ValueAsRead(const SimValue& stored, bool wide) {
  if (stored.wide == wide || !IsStringType(stored.type)) return stored;
  SimValue read{stored.type, {}, wide};
  if (wide) {
    const std::string_view text(reinterpret_cast<const char*>(stored.data.data()),
                                stored.data.size());
    read.data = WideBytes(Utf8ToUtf16(text));
  } else {
    const std::string text = Utf16ToUtf8(WideText(stored.data.data(), stored.data.size()));
    read.data.assign(text.begin(), text.end());
  }
  return read;
}

}  // namespace platform::sim
