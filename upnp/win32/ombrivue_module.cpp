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
  std::vector<wchar_t> path(MAX_PATH);
  // A path that fills the buffer may have been cut: only a shorter one is whole.
  const platform::WinError error =
      platform::QueryWithGrowingBuffer(&path, [this](wchar_t* data, uint32_t* size) {
        const DWORD length = GetModuleFileNameW(instance_, data, *size);
        if (length == 0) return platform::kErrorInvalidData;
        if (length >= *size) return platform::kErrorInsufficientBuffer;
        *size = length;
        return platform::kErrorSuccess;
      });
  if (error != platform::kErrorSuccess) return {};
  return platform::win32::FromWide(std::wstring_view(path.data(), path.size()));
}

OmbrivueModule& Module() { return *g_module; }

void StartModule(HINSTANCE instance) { g_module = std::make_unique<OmbrivueModule>(instance); }

void StopModule() { g_module.reset(); }

}  // namespace upnp::win32
