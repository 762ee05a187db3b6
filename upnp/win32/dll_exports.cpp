// The library's entry point and its four exports.
#include <windows.h>

#include "upnp/core/registration.h"
#include "upnp/win32/com_registration.h"
#include "upnp/win32/ombrivue_module.h"

using upnp::win32::Module;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    upnp::win32::StartModule(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    upnp::win32::StopModule();
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return Module().locks().CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return Module().GetClassObject(clsid, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  upnp::win32::ComRegistration registration(Module().instance(), Module().ModulePath());
  return upnp::RegisterServer(registration);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  upnp::win32::ComRegistration registration(Module().instance(), Module().ModulePath());
  return upnp::UnregisterServer(registration);
}
