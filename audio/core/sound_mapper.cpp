#include "audio/core/sound_mapper.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/core/wide_text.h"
#include "platform/registry_values.h"

namespace audio {

namespace {

using platform::RegistryKey;
using platform::ValueType;
using platform::WinError;

// The program reads "Playback" into a buffer of this many bytes: longer names are not read.
constexpr uint32_t kPlaybackReadBytes = 260;

WinError OpenSoundMapperKey(platform::Registry& registry, std::unique_ptr<RegistryKey>* key,
                            bool* created) {
  return registry.CreateKey(platform::RootKey::kCurrentUser, kSoundMapperKey,
                            platform::kKeyAllAccess, platform::RegistryView::kDefault, key,
                            created);
}

WinError WritePreferences(RegistryKey& key) {
  if (WinError error = platform::SetDwordValue(key, u"PreferredOnly", 0)) return error;
  return platform::SetDwordValue(key, u"SetupPreferredAudioDevicesCount", 0);
}

}  // namespace

WinError ReadSoundMapper(platform::Registry& registry, std::u16string* playback) {
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  if (WinError error = OpenSoundMapperKey(registry, &key, &created)) return error;
  if (created) {
    if (WinError error = WritePreferences(*key)) return error;
    if (WinError error = platform::SetStringValue(*key, u"Playback", kVirtualDeviceName))
      return error;
    if (WinError error = platform::SetStringValue(*key, u"Record", kVirtualDeviceName))
      return error;
  }
  std::array<uint8_t, kPlaybackReadBytes> buffer{};
  uint32_t size = buffer.size();
  ValueType type = ValueType::kNone;
  // Only text is taken as a device name; another type leaves the saved name alone.
  if (key->QueryValue(u"Playback", &type, buffer.data(), &size) == platform::kErrorSuccess &&
      (type == ValueType::kString || type == ValueType::kExpandString)) {
    *playback = CutToBuffer(DecodeWideString(buffer.data(), size));
  }
  return platform::kErrorSuccess;
}

WinError WriteSoundMapper(platform::Registry& registry, std::u16string_view playback,
                          std::optional<std::u16string_view> record) {
  std::unique_ptr<RegistryKey> key;
  bool created = false;
  if (WinError error = OpenSoundMapperKey(registry, &key, &created)) return error;
  WinError first_failure = platform::kErrorSuccess;
  auto note = [&first_failure](WinError error) {
    if (first_failure == platform::kErrorSuccess) first_failure = error;
  };
  if (created) note(WritePreferences(*key));
  note(platform::SetStringValue(*key, u"Playback", playback));
  if (record) note(platform::SetStringValue(*key, u"Record", *record));
  return first_failure;
}

}  // namespace audio
