// The loaded driver package installer and its uninstall function; frees the library when
// destroyed.
#pragma once
#include <memory>
#include <string_view>

#include "drvsetup/core/difx.h"

namespace drvsetup {

class CWinNT6 {
 public:
  explicit CWinNT6(DifxLoader& loader);
  // Whether the library and its uninstall function are both available.
  bool CanUninstall() const;
  // Forced uninstall of the package with this INF; does nothing when !CanUninstall().
  void UninstallPackage(std::string_view inf_path);

 private:
  std::unique_ptr<DifxLibrary> library_;
};

}  // namespace drvsetup
