// Makes the virtual audio device the default playback device for as long as the program
// runs, and gives the default back at shutdown. Windows 5 and earlier keep the default in
// the Sound Mapper values; later versions switch it through Core Audio and the audio policy
// object.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "audio/core/audio_policy.h"
#include "audio/core/core_audio.h"
#include "audio/core/os_version_rules.h"
#include "platform/registry.h"
#include "platform/win_error.h"

namespace audio {

inline constexpr std::u16string_view kDeviceNotAvailable = u"<Device not available>";
// Render endpoints taking part in the search by name: active, disabled and unplugged.
inline constexpr uint32_t kSearchedEndpointStates =
    kEndpointActive | kEndpointDisabled | kEndpointUnplugged;

struct EndpointControlPorts {
  platform::Registry& registry;
  ComRuntime& com;
  CoreAudio& core_audio;
  AudioPolicy& policy;
};

class DefaultEndpointControl {
 public:
  DefaultEndpointControl(EndpointControlPorts ports, OsPolicyClass policy_class);

  // Saves the current default's name and makes the virtual device the default. A Windows
  // error code, 0 on success.
  platform::WinError SetDefaultPlayback(const ProgramOsVersion& version);
  void RestoreDefaultPlayback(const ProgramOsVersion& version);
  // Makes the first render endpoint whose friendly name contains the name the default for
  // the console role; false when none matched or the switch failed.
  bool SetDefaultByName(std::u16string_view name);

  // The process-exit action: releases the enumerator and undoes this program's COM
  // initialization.
  void RunExitAction();

  // The default playback device's name before the program changed it (at most 259
  // characters); empty until found.
  const std::u16string& SavedPlaybackName() const { return saved_playback_name_; }

 private:
  platform::WinError SetDefaultThroughCoreAudio();
  bool EnsureEnumerator();
  void SaveCurrentDefaultName();
  bool SetDefaultThroughPolicy(std::u16string_view endpoint_id);
  platform::WinError LastErrorOr(platform::WinError fallback);

  EndpointControlPorts ports_;
  OsPolicyClass policy_class_;
  std::unique_ptr<AudioEndpointEnumerator> enumerator_;
  bool com_initialized_ = false;
  std::u16string saved_playback_name_;
};

}  // namespace audio
