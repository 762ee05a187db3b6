#include "launcher/core/media_sharing_key.h"

#include <memory>

#include "platform/registry_values.h"

namespace launcher {

platform::WinError WriteMediaSharingValue(platform::Registry& registry) {
  std::unique_ptr<platform::RegistryKey> key;
  bool created = false;
  const platform::WinError error =
      registry.CreateKey(platform::RootKey::kLocalMachine, kMediaSharingKey, platform::kKeyWrite,
                         platform::RegistryView::k64Bit, &key, &created);
  if (error != platform::kErrorSuccess) return error;
  return platform::SetDwordValue(*key, kRenderAllValue, 1);
}

}  // namespace launcher
