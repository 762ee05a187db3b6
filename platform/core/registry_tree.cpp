#include "platform/registry_tree.h"

#include <memory>
#include <string>

namespace platform {

namespace {

template <typename Text>
void DeleteSubKeys(RegistryKey& key);

template <typename Text, typename View>
WinError DeleteSubKeyTree(RegistryKey& parent, View name) {
  if (parent.DeleteSubKey(name) == kErrorSuccess) return kErrorSuccess;
  std::unique_ptr<RegistryKey> key;
  const WinError opened = parent.OpenSubKey(name, kKeyRead, &key);
  if (opened == kErrorFileNotFound) return kErrorSuccess;
  if (opened != kErrorSuccess) return opened;
  DeleteSubKeys<Text>(*key);
  key.reset();
  return parent.DeleteSubKey(name);
}

// Stops at the first subkey that cannot be deleted: enumerating again would find it again.
template <typename Text>
void DeleteSubKeys(RegistryKey& key) {
  Text name;
  while (key.EnumSubKey(0, &name) == kErrorSuccess) {
    const std::basic_string_view<typename Text::value_type> view(name);
    if (DeleteSubKeyTree<Text>(key, view) != kErrorSuccess) return;
  }
}

template <typename Text, typename View>
WinError DeleteTree(Registry& registry, RootKey root, View path, RegistryView view) {
  if (registry.DeleteKey(root, path, view) == kErrorSuccess) return kErrorSuccess;
  std::unique_ptr<RegistryKey> key;
  const WinError opened = registry.OpenKey(root, path, kKeyRead, view, &key);
  if (opened == kErrorFileNotFound) return kErrorSuccess;
  if (opened != kErrorSuccess) return opened;
  DeleteSubKeys<Text>(*key);
  key.reset();
  return registry.DeleteKey(root, path, view);
}

}  // namespace

WinError DeleteKeyTree(Registry& registry, RootKey root, std::string_view path, RegistryView view) {
  return DeleteTree<std::string>(registry, root, path, view);
}

WinError DeleteKeyTree(Registry& registry, RootKey root, std::u16string_view path,
                       RegistryView view) {
  return DeleteTree<std::u16string>(registry, root, path, view);
}

}  // namespace platform
