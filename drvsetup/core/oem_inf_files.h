// The INF files that the system copied into its INF folder under "oem" names.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace drvsetup {

// Paths, like the buffers they go into, hold at most this many characters.
inline constexpr size_t kMaxPathChars = 259;

struct OemInfFiles {
  std::string folder;  // the Windows directory followed by "\inf\"
  std::vector<std::string> names;
};

// The "oem*.inf" files of the Windows directory's INF folder in listing order; nullopt when
// the Windows directory cannot be read or the search cannot start. Entries whose full path
// would not fit a path buffer, folders, and names that do not really have the form
// oem*.inf (a search can also match short names) are left out.
std::optional<OemInfFiles> ListOemInfFiles(platform::Files& files);

// The companion precompiled file: the path with its ".inf" extension (of any letter case)
// replaced by ".pnf"; nullopt for a path without that extension.
std::optional<std::string> CompanionPnfPath(std::string_view inf_path);

// Clears the attributes to normal, then deletes; failures are ignored.
void ForceDelete(platform::Files& files, std::string_view path);

}  // namespace drvsetup
