// Deletion of a registry key together with everything below it, in either width.
#pragma once
#include <string_view>

#include "platform/registry.h"

namespace platform {

// Tries to delete the key; when that fails, empties it subkey by subkey (first subkey first,
// until none is left or one cannot be deleted) and deletes it again, returning the result of
// that last attempt. A key that does not exist counts as deleted. Subkeys are addressed
// relative to their open parent, so deep trees need no long path texts, and stay in the view
// the key was opened in.
WinError DeleteKeyTree(Registry& registry, RootKey root, std::string_view path,
                       RegistryView view = RegistryView::kDefault);
WinError DeleteKeyTree(Registry& registry, RootKey root, std::u16string_view path,
                       RegistryView view = RegistryView::kDefault);

}  // namespace platform
