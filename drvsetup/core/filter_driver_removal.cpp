#include "drvsetup/core/filter_driver_removal.h"

#include <optional>
#include <string>

#include "drvsetup/core/display_class_filters.h"
#include "drvsetup/core/oem_inf_files.h"
#include "platform/paths.h"
#include "platform/registry_tree.h"

namespace drvsetup {

namespace {

void DeleteDriverFile(platform::Files& files) {
  const std::optional<std::string> system = files.SystemDirectory();
  if (!system) return;
  const std::string path =
      platform::JoinPath(*system, "drivers\\" + std::string(kFilterDriverName) + ".sys");
  if (path.size() <= kMaxPathChars) ForceDelete(files, path);
}

}  // namespace

void RemoveFilterDriver(platform::Registry& registry, platform::Files& files) {
  if (platform::DeleteKeyTree(registry, platform::RootKey::kLocalMachine, kFilterServiceKey) !=
      platform::kErrorSuccess) {
    return;
  }
  if (!RemoveFromDisplayClassFilters(registry)) return;
  DeleteDriverFile(files);
}

}  // namespace drvsetup
