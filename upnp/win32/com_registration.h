// DllRegisterServer's and DllUnregisterServer's work: the registration script resource run
// by our interpreter over the registry, and the type library.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include <string>

#include "upnp/core/registration.h"

namespace upnp::win32 {

class ComRegistration final : public RegistrationSteps {
 public:
  ComRegistration(HINSTANCE instance, std::u16string module_path);

  platform::HResult RunScript(bool register_keys) override;
  platform::HResult RegisterTypeLibrary() override;
  platform::HResult UnregisterTypeLibrary() override;

 private:
  // From the library's own file, else from the .tlb beside it; *path is where it came from.
  HRESULT LoadTypeLibrary(ITypeLib** library, std::u16string* path) const;

  HINSTANCE instance_;
  std::u16string module_path_;
};

}  // namespace upnp::win32
