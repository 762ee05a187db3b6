// The registration script's registry on the wide registry functions, below
// HKEY_CLASSES_ROOT.
#pragma once
#include "upnp/script_registry.h"

namespace upnp::win32 {

class Win32ScriptRegistry final : public ScriptRegistry {
 public:
  Hresult CreateKey(std::u16string_view path) override;
  Hresult SetString(std::u16string_view path, std::u16string_view name,
                    std::u16string_view value) override;
  Hresult SubKeys(std::u16string_view path, std::vector<std::u16string>* names) override;
  Hresult DeleteKey(std::u16string_view path) override;
};

}  // namespace upnp::win32
