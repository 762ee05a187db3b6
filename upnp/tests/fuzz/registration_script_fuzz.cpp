// The registration script interpreter on arbitrary 8-bit text (the resource's encoding):
// parsing, then registering and unregistering whatever parsed, must stay safe.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/sim_registry.h"
#include "upnp/core/registration_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string script(data, data + size);
  std::vector<upnp::ScriptKey> keys;
  if (platform::Failed(
          upnp::ParseRegistrationScript(script, {{u"Module", u"C:\\it''s\\x.dll"}}, &keys))) {
    return 0;
  }
  platform::sim::SimRegistry registry;
  upnp::RegisterKeys(keys, registry);
  upnp::UnregisterKeys(keys, registry);
  return 0;
}
