// Deletion of a registry key together with everything below it.
#pragma once
#include <string_view>

#include "platform/registry.h"

namespace drvsetup {

// Tries to delete the key; when that fails, empties it subkey by subkey (first subkey first,
// until none is left or one cannot be deleted) and deletes it again. A key that does not
// exist counts as deleted. Subkeys are addressed relative to their open parent, so deep
// trees need no long path texts.
platform::WinError DeleteKeyTree(platform::Registry& registry, platform::RootKey root,
                                 std::string_view path);

}  // namespace drvsetup
