#include "upnp/registration.h"

namespace upnp {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/' || c == u':'; }

// Index just past the last path separator, 0 when there is none.
size_t FileNameStart(std::u16string_view path) {
  for (size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) return i;
  }
  return 0;
}

}  // namespace

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
  const size_t name = FileNameStart(module_path);
  const size_t dot = module_path.rfind(u'.');
  const size_t stem_end =
      (dot == std::u16string_view::npos || dot < name) ? module_path.size() : dot;
  return std::u16string(module_path.substr(0, stem_end)) + u".tlb";
}

std::u16string FolderOf(std::u16string_view path) {
  return std::u16string(path.substr(0, FileNameStart(path)));
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

Hresult RegisterServer(RegistrationSteps& steps) {
  const Hresult hr = steps.RunScript(true);
  if (Failed(hr)) return hr;
  return steps.RegisterTypeLibrary();
}

Hresult UnregisterServer(RegistrationSteps& steps) {
  steps.RunScript(false);
  steps.UnregisterTypeLibrary();
  return kSOk;
}

}  // namespace upnp
