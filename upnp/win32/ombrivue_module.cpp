#include "ombrivue_module.h"

#include <memory>

#include "Ombrivue.h"
#include "omvo_class_factory.h"

namespace upnp::win32 {

namespace {

std::unique_ptr<OmbrivueModule> g_module;

}  // namespace

OmbrivueModule::OmbrivueModule(HINSTANCE instance) : instance_(instance) {
  InitializeCriticalSection(&factory_lock_);
  InitializeCriticalSection(&type_info_lock_);
  object_map_.push_back(ObjectMapEntry{&CLSID_Omvo, &COmvoClassFactory::Create, nullptr});
}

OmbrivueModule::~OmbrivueModule() {
  for (ObjectMapEntry& entry : object_map_) {
    if (entry.factory != nullptr) entry.factory->Release();
  }
  for (auto callback = terminations_.rbegin(); callback != terminations_.rend(); ++callback) {
    (*callback)();
  }
  DeleteCriticalSection(&type_info_lock_);
  DeleteCriticalSection(&factory_lock_);
}

std::u16string OmbrivueModule::ModulePath() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(instance_, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::u16string(path.begin(), path.begin() + length);
    path.resize(path.size() * 2);
  }
}

HRESULT OmbrivueModule::GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (ObjectMapEntry& entry : object_map_) {
    if (!IsEqualCLSID(*entry.clsid, clsid)) continue;
    {
      ScopedLock lock(factory_lock_);
      if (entry.factory == nullptr) {
        const HRESULT hr = entry.create_factory(&entry.factory);
        if (FAILED(hr)) return hr;
      }
    }
    return entry.factory->QueryInterface(iid, object);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

void OmbrivueModule::AddTermination(std::function<void()> callback) {
  terminations_.push_back(std::move(callback));
}

OmbrivueModule& Module() { return *g_module; }

void StartModule(HINSTANCE instance) { g_module = std::make_unique<OmbrivueModule>(instance); }

void StopModule() { g_module.reset(); }

}  // namespace upnp::win32
