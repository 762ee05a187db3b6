// Finding the driver removal tool in a folder tree.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace launcher {

// Depth first from `root`, in the file system's listing order: the folder whose listing
// first shows a file named exactly `tool_name` (letter case included). A subfolder is
// searched as soon as it is listed, before the rest of its parent. Folders that cannot be
// listed yield nothing; folders whose path or search pattern would not fit a path buffer are
// skipped.
std::optional<std::string> FindRemovalToolFolder(platform::Files& files, std::string_view root,
                                                 std::string_view tool_name);

}  // namespace launcher
