#include "drvsetup/core/inf_cleanup.h"

#include "drvsetup/core/inf_qualification.h"
#include "drvsetup/core/oem_inf_files.h"

namespace drvsetup {

void CleanUpInfFiles(platform::Files& files, const InfKind& kind,
                     const std::vector<std::string>& required) {
  const std::optional<OemInfFiles> infs = ListOemInfFiles(files);
  if (!infs) return;
  for (const std::string& name : infs->names) {
    const std::string path = infs->folder + name;
    if (!InfFileQualifies(files, path, kind, required)) continue;
    ForceDelete(files, path);
    if (const auto companion = CompanionPnfPath(path)) ForceDelete(files, *companion);
  }
}

}  // namespace drvsetup
