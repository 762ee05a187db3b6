#include "drvsetup/win32/win32_adapters.h"
#include "platform/win32/scoped_handles.h"

namespace drvsetup::win32 {

namespace {

// DriverPackageUninstallA; the installer information is never passed, so its type stays
// opaque.
using DriverPackageUninstallA = DWORD(WINAPI*)(PCSTR inf_path, DWORD flags,
                                               const void* installer_info, BOOL* need_reboot);

class Win32DifxLibrary : public DifxLibrary {
 public:
  explicit Win32DifxLibrary(HMODULE module)
      : module_(module),
        uninstall_(reinterpret_cast<DriverPackageUninstallA>(
            reinterpret_cast<void*>(GetProcAddress(module, "DriverPackageUninstallA")))) {}
  bool HasUninstall() const override { return uninstall_ != nullptr; }

  uint32_t Uninstall(std::string_view inf_path, uint32_t flags) override {
    const std::string path(inf_path);
    BOOL need_reboot = FALSE;
    return uninstall_(path.c_str(), flags, nullptr, &need_reboot);
  }

 private:
  platform::win32::ScopedModule module_;
  DriverPackageUninstallA uninstall_;
};

}  // namespace

std::unique_ptr<DifxLibrary> Win32DifxLoader::Load(std::string_view name) {
  const std::string file(name);
  HMODULE module = LoadLibraryA(file.c_str());
  // Handles below 32 are the old-style failure codes.
  if (reinterpret_cast<uintptr_t>(module) < 32) return nullptr;
  return std::make_unique<Win32DifxLibrary>(module);
}

}  // namespace drvsetup::win32
