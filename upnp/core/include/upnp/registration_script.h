// Our interpreter of the registration script (the registry-script language of COM servers:
// nested keys, "= s 'text'" default values, "val Name = s 'text'", the NoRemove and
// ForceRemove flags, %NAME% replacements). It runs the same way on every system.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "upnp/hresult.h"
#include "upnp/script_registry.h"

namespace upnp {

// A malformed script, an unknown root key or replacement, a value type other than "s".
inline constexpr Hresult kScriptSyntaxError = static_cast<Hresult>(0x80020009);

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
Hresult ParseRegistrationScript(std::u16string_view script,
                                const std::vector<Replacement>& replacements,
                                std::vector<ScriptKey>* keys);

// Stops at the first failure and returns it.
Hresult RegisterKeys(const std::vector<ScriptKey>& keys, ScriptRegistry& registry);
// Removes what registration wrote: keys without flags go once their listed subkeys are gone
// and no other subkey is left. Missing keys are not an error.
Hresult UnregisterKeys(const std::vector<ScriptKey>& keys, ScriptRegistry& registry);

// A key and everything below it; a missing key is not an error.
Hresult DeleteKeyTree(std::u16string_view path, ScriptRegistry& registry);

}  // namespace upnp
