#include "drvsetup/core/cwinnt6.h"

namespace drvsetup {

CWinNT6::CWinNT6(DifxLoader& loader) : library_(loader.Load(kDifxLibraryName)) {}

bool CWinNT6::CanUninstall() const { return library_ && library_->HasUninstall(); }

void CWinNT6::UninstallPackage(std::string_view inf_path) {
  if (CanUninstall()) library_->Uninstall(inf_path, kDriverPackageForce);
}

}  // namespace drvsetup
