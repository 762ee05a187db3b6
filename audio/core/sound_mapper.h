// The per-user Sound Mapper values, where Windows 5 and earlier keep the default devices.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace audio {

inline constexpr std::u16string_view kSoundMapperKey =
    u"Software\\Microsoft\\Multimedia\\Sound Mapper";
inline constexpr std::u16string_view kVirtualDeviceName = u"Velquor Kestrova Audio";

// Opens the key, creating it with the virtual device as both defaults when missing, and
// reads "Playback" into *playback (left as it is when the value cannot be read).
platform::WinError ReadSoundMapper(platform::Registry& registry, std::u16string* playback);

// Writes "Playback", and "Record" when a record name is given; a key created now gets the
// two preference values first.
platform::WinError WriteSoundMapper(platform::Registry& registry, std::u16string_view playback,
                                    std::optional<std::u16string_view> record);

}  // namespace audio
