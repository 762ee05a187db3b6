#include "drvsetup/core/network_package_removal.h"

#include "drvsetup/core/cwinnt6.h"
#include "drvsetup/core/inf_kinds.h"
#include "drvsetup/core/inf_qualification.h"
#include "drvsetup/core/oem_inf_files.h"

namespace drvsetup {

void RemoveNetworkDriverPackage(platform::Files& files, DifxLoader& difx) {
  CWinNT6 installer(difx);
  const std::optional<OemInfFiles> infs = ListOemInfFiles(files);
  if (!infs) return;
  for (const std::string& name : infs->names) {
    const std::string path = infs->folder + name;
    if (!InfFileQualifies(files, path, kInfUsbNetwork, {})) continue;
    installer.UninstallPackage(path);
    if (const auto companion = CompanionPnfPath(path)) ForceDelete(files, *companion);
  }
}

}  // namespace drvsetup
