#include "upnp/core/registration.h"

#include "platform/paths.h"

namespace upnp {

std::u16string QuoteForScript(std::u16string_view text) {
  std::u16string quoted;
  quoted.reserve(text.size());
  for (char16_t c : text) {
    quoted.push_back(c);
    if (c == u'\'') quoted.push_back(c);
  }
  return quoted;
}

std::u16string TypeLibraryFallbackPath(std::u16string_view module_path) {
  const size_t name = platform::FolderOf(module_path).size();
  const size_t dot = module_path.rfind(u'.');
  const size_t stem_end =
      (dot == std::u16string_view::npos || dot < name) ? module_path.size() : dot;
  return std::u16string(module_path.substr(0, stem_end)) + u".tlb";
}

std::vector<std::u16string> TypeLibraryCandidates(std::u16string_view module_path) {
  return {std::u16string(module_path), TypeLibraryFallbackPath(module_path)};
}

platform::HResult TypeLibraryUnregistrationResult(
    std::optional<platform::HResult> unregister_result) {
  return unregister_result.value_or(platform::kSOk);
}

std::vector<RegistryEntry> RegistrationContent(std::u16string_view module_path) {
  const std::u16string clsid(kOmvoClsid);
  const std::u16string key = u"CLSID\\" + clsid;
  return {
      {u"Ombrivue.Omvo.1", u"", u"Omvo Class"},
      {u"Ombrivue.Omvo.1\\CLSID", u"", clsid},
      {u"Ombrivue.Omvo", u"", u"Omvo Class"},
      {u"Ombrivue.Omvo\\CLSID", u"", clsid},
      {u"Ombrivue.Omvo\\CurVer", u"", u"Ombrivue.Omvo.1"},
      {key, u"", u"Omvo Class"},
      {key + u"\\ProgID", u"", u"Ombrivue.Omvo.1"},
      {key + u"\\VersionIndependentProgID", u"", u"Ombrivue.Omvo"},
      {key + u"\\Programmable", u"", std::nullopt},
      {key + u"\\InprocServer32", u"", std::u16string(module_path)},
      {key + u"\\InprocServer32", u"ThreadingModel", u"Apartment"},
      {key + u"\\TypeLib", u"", std::u16string(kOmvoLibid)},
  };
}

platform::HResult RegisterServer(RegistrationSteps& steps) {
  const platform::HResult hr = steps.RunScript(true);
  if (platform::Failed(hr)) return hr;
  return steps.RegisterTypeLibrary();
}

platform::HResult UnregisterServer(RegistrationSteps& steps) {
  steps.RunScript(false);
  steps.UnregisterTypeLibrary();
  return platform::kSOk;
}

}  // namespace upnp
