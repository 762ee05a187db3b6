// Uninstalls the USB network adapter's driver package through the driver package installer.
#pragma once
#include "drvsetup/core/difx.h"
#include "platform/files.h"

namespace drvsetup {

// Every qualifying "oem*.inf" is handed to the installer when it is available; its ".pnf"
// companion is deleted in any case, the ".inf" itself is the installer's to remove.
void RemoveNetworkDriverPackage(platform::Files& files, DifxLoader& difx);

}  // namespace drvsetup
