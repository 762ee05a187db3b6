// Deletes the INF files (and their precompiled companions) that installed a removed device.
#pragma once
#include <string>
#include <vector>

#include "drvsetup/core/inf_kinds.h"
#include "platform/files.h"

namespace drvsetup {

// required: the hardware ids of the device just removed. File errors are ignored.
void CleanUpInfFiles(platform::Files& files, const InfKind& kind,
                     const std::vector<std::string>& required);

}  // namespace drvsetup
