// The library's COM registration: resource ids, the module path as the registration script
// takes it, the registry content the script must produce, and the order of the steps.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hresult.h"

namespace upnp {

inline constexpr uint16_t kRegistrationScriptId = 101;  // resource type "REGISTRY"
inline constexpr uint16_t kTypeLibraryId = 1;           // resource type "TYPELIB"
inline constexpr uint16_t kProjectNameStringId = 100;   // "Ombrivue"
inline constexpr std::u16string_view kModuleReplacement = u"Module";

inline constexpr std::u16string_view kOmvoClsid = u"{CEBEB26B-B9CE-4F53-B197-08205C3C8BBD}";
inline constexpr std::u16string_view kOmvoLibid = u"{E514628C-B61B-41F7-975A-01C2128C235D}";

// The script quotes strings in single quotes; a quote inside one is doubled.
std::u16string QuoteForScript(std::u16string_view text);

// Where the type library is looked for when the library's own file has none.
std::u16string TypeLibraryFallbackPath(std::u16string_view module_path);
// The files tried for the type library, in order: the library's own file (its resource),
// then the fallback beside it. The last one's failure is the result.
std::vector<std::u16string> TypeLibraryCandidates(std::u16string_view module_path);

// Unregistering the type library on a system whose oleaut32 lacks UnRegisterTypeLib leaves it
// registered, and counts as success (nullopt: the function is missing).
platform::HResult TypeLibraryUnregistrationResult(
    std::optional<platform::HResult> unregister_result);

// One key below HKEY_CLASSES_ROOT and one of its string values; value_name empty is the
// default value, and no data means the key carries no value.
struct RegistryEntry {
  std::u16string key;
  std::u16string value_name;
  std::optional<std::u16string> data;
};

// Everything registration writes, for a library at module_path. Unregistration removes all
// of these keys; their common parent "CLSID" is never removed.
std::vector<RegistryEntry> RegistrationContent(std::u16string_view module_path);

// The COM calls behind DllRegisterServer and DllUnregisterServer.
class RegistrationSteps {
 public:
  virtual ~RegistrationSteps() = default;
  virtual platform::HResult RunScript(bool register_keys) = 0;
  virtual platform::HResult RegisterTypeLibrary() = 0;
  virtual platform::HResult UnregisterTypeLibrary() = 0;
};

// The script's failure, else the type library registration's result.
platform::HResult RegisterServer(RegistrationSteps& steps);
// Both steps always run; unregistration reports success whatever they return, so a class
// that was never registered unregisters cleanly.
platform::HResult UnregisterServer(RegistrationSteps& steps);

}  // namespace upnp
