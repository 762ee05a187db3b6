// Our interpreter of the registration script (the registry-script language of COM servers:
// nested keys, "= s 'text'" default values, "val Name = s 'text'", the NoRemove and
// ForceRemove flags, %NAME% replacements). It runs the same way on every system.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/hresult.h"
#include "platform/registry.h"

namespace upnp {

// A malformed script, an unknown root key or replacement, a value type other than "s".
inline constexpr platform::HResult kScriptSyntaxError = static_cast<platform::HResult>(0x80020009);

struct ScriptKey {
  std::u16string name;
  bool no_remove = false;     // unregistration leaves the key itself
  bool force_remove = false;  // registration deletes it with its subkeys first;
                              // unregistration deletes it with all subkeys
  std::optional<std::u16string> default_value;
  std::vector<std::pair<std::u16string, std::u16string>> values;
  std::vector<ScriptKey> subkeys;
};

struct Replacement {
  std::u16string_view name;   // matched without regard to letter case
  std::u16string_view value;  // inserted as is: quote it for the script first
};

// The keys below HKEY_CLASSES_ROOT that the script describes.
platform::HResult ParseRegistrationScript(std::u16string_view script,
                                          const std::vector<Replacement>& replacements,
                                          std::vector<ScriptKey>* keys);

// The keys go below HKEY_CLASSES_ROOT, written through the wide registry operations so a module
// path in any script survives unchanged. Stops at the first failure and returns it as an
// HRESULT.
platform::HResult RegisterKeys(const std::vector<ScriptKey>& keys, platform::Registry& registry);
// Removes what registration wrote: keys without flags go once their listed subkeys are gone
// and no other subkey is left. Missing keys are not an error.
platform::HResult UnregisterKeys(const std::vector<ScriptKey>& keys, platform::Registry& registry);

}  // namespace upnp
