#include "upnp/win32/ombrivue_module.h"

#include <memory>

#include "Ombrivue.h"
#include "platform/growing_buffer.h"
#include "platform/win32/wide_text.h"
#include "upnp/win32/omvo_class_factory.h"

namespace upnp::win32 {

namespace {

std::unique_ptr<OmbrivueModule> g_module;

}  // namespace

OmbrivueModule::OmbrivueModule(HINSTANCE instance) : instance_(instance) {
  classes_.Add(CLSID_Omvo, &COmvoClassFactory::Create);
}

OmbrivueModule::~OmbrivueModule() {
  classes_.ReleaseFactories();
  type_info_.Release();
}

std::u16string OmbrivueModule::ModulePath() const {
  return platform::win32::FromWide(
      platform::QueryLengthString<wchar_t>([this](wchar_t* data, DWORD size) {
        return GetModuleFileNameW(instance_, data, size);
      }).value_or(L""));
}

OmbrivueModule& Module() { return *g_module; }

void StartModule(HINSTANCE instance) { g_module = std::make_unique<OmbrivueModule>(instance); }

void StopModule() { g_module.reset(); }

}  // namespace upnp::win32
