#include "drvsetup/core/registry_tree.h"

#include <memory>
#include <string>

namespace drvsetup {

namespace {

// Deletes every subkey of an open key; stops at the first one that cannot be deleted.
void DeleteSubKeys(platform::RegistryKey& key);

platform::WinError DeleteSubKeyTree(platform::RegistryKey& parent, std::string_view name) {
  if (parent.DeleteSubKey(name) == platform::kErrorSuccess) return platform::kErrorSuccess;
  std::unique_ptr<platform::RegistryKey> key;
  const platform::WinError opened = parent.OpenSubKey(name, platform::kKeyRead, &key);
  if (opened == platform::kErrorFileNotFound) return platform::kErrorSuccess;
  if (opened != platform::kErrorSuccess) return opened;
  DeleteSubKeys(*key);
  key.reset();
  return parent.DeleteSubKey(name);
}

void DeleteSubKeys(platform::RegistryKey& key) {
  std::string name;
  while (key.EnumSubKey(0, &name) == platform::kErrorSuccess) {
    if (DeleteSubKeyTree(key, name) != platform::kErrorSuccess) return;
  }
}

}  // namespace

platform::WinError DeleteKeyTree(platform::Registry& registry, platform::RootKey root,
                                 std::string_view path) {
  const auto view = platform::RegistryView::kDefault;
  if (registry.DeleteKey(root, path, view) == platform::kErrorSuccess) {
    return platform::kErrorSuccess;
  }
  std::unique_ptr<platform::RegistryKey> key;
  const platform::WinError opened = registry.OpenKey(root, path, platform::kKeyRead, view, &key);
  if (opened == platform::kErrorFileNotFound) return platform::kErrorSuccess;
  if (opened != platform::kErrorSuccess) return opened;
  DeleteSubKeys(*key);
  key.reset();
  return registry.DeleteKey(root, path, view);
}

}  // namespace drvsetup
