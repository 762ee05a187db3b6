// The driver package installer, loaded at run time.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace drvsetup {

inline constexpr std::string_view kDifxLibraryName = "DIFXAPI.DLL";
// DRIVER_PACKAGE_FORCE
inline constexpr uint32_t kDriverPackageForce = 0x00000004;

class DifxLibrary {
 public:
  virtual ~DifxLibrary() = default;  // frees the library
  // Whether the library exports DriverPackageUninstallA.
  virtual bool HasUninstall() const = 0;
  // DriverPackageUninstallA without installer information; the reboot answer is dropped.
  virtual uint32_t Uninstall(std::string_view inf_path, uint32_t flags) = 0;
};

class DifxLoader {
 public:
  virtual ~DifxLoader() = default;
  // nullptr when the library cannot be loaded.
  virtual std::unique_ptr<DifxLibrary> Load(std::string_view name) = 0;
};

}  // namespace drvsetup
