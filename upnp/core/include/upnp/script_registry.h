// The registry as the registration script sees it: keys below HKEY_CLASSES_ROOT named by
// their full paths in UTF-16, so a module path in any script survives unchanged.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "upnp/hresult.h"

namespace upnp {

inline constexpr Hresult kRegistryKeyNotFound = static_cast<Hresult>(0x80070002);

class ScriptRegistry {
 public:
  virtual ~ScriptRegistry() = default;
  // Creates the key and any missing parents, or opens it when it exists.
  virtual Hresult CreateKey(std::u16string_view path) = 0;
  // A string value of an existing key; an empty name is the default value.
  virtual Hresult SetString(std::u16string_view path, std::u16string_view name,
                            std::u16string_view value) = 0;
  // The names of the key's direct subkeys; kRegistryKeyNotFound when the key is missing.
  virtual Hresult SubKeys(std::u16string_view path, std::vector<std::u16string>* names) = 0;
  // Deletes a key that has no subkeys; kRegistryKeyNotFound when it is missing.
  virtual Hresult DeleteKey(std::u16string_view path) = 0;
};

}  // namespace upnp
