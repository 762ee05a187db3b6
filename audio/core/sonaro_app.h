// CsonaroApp: the audio redirect program from start to exit. Start-up finds and maps the
// virtual audio device, makes it the default playback device and starts the stream monitor;
// the hidden main frame answers "CloseSonaro" and "EnableLocalSound"; shutdown gives the
// default back and releases everything in order.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

#include "audio/core/audio_policy.h"
#include "audio/core/core_audio.h"
#include "audio/core/default_endpoint_control.h"
#include "audio/core/device_access.h"
#include "audio/core/direct_sound_ports.h"
#include "audio/core/driver_records.h"
#include "audio/core/frame_window.h"
#include "audio/core/local_playback.h"
#include "audio/core/os_version_rules.h"
#include "audio/core/shared_memory_port.h"
#include "audio/core/stream_monitor.h"
#include "platform/devices.h"
#include "platform/os_version.h"
#include "platform/registry.h"
#include "platform/sync.h"

namespace audio {

inline constexpr std::u16string_view kCloseMessageName = u"CloseSonaro";
inline constexpr std::u16string_view kLocalSoundMessageName = u"EnableLocalSound";
inline constexpr std::u16string_view kInstanceProperty = u"SONARO application";
inline constexpr std::u16string_view kFrameTitle = u"sonaro";
inline constexpr std::u16string_view kFrameworkRegistryKey = u"ZYN SONARO application";
inline constexpr uint32_t kFrameResourceId = 128;
// WS_OVERLAPPEDWINDOW with the framework's add-to-title style.
inline constexpr uint32_t kFrameLoadStyle = 0x00CF8000;
inline constexpr int kExitRefused = -1;

struct SonaroPorts {
  platform::OsVersion& os_version;
  FrameWindowSystem& windows;
  platform::Devices& devices;
  SharedMemoryResolver& shared_memory;
  DirectSoundSystem& direct_sound;
  platform::Sync& sync;
  platform::Clock& clock;
  platform::Registry& registry;
  ComRuntime& com;
  CoreAudio& core_audio;
  AudioPolicy& policy;
};

enum class SonaroState { kStarting, kRefused, kIdle, kReady, kLocalSound, kClosing, kEnded };

class CsonaroApp : public FrameEvents {
 public:
  // What the process sets up before the application's hooks run: the policy class, the
  // exit action's owner, the two registered messages.
  explicit CsonaroApp(SonaroPorts ports);
  ~CsonaroApp() override;
  CsonaroApp(const CsonaroApp&) = delete;
  CsonaroApp& operator=(const CsonaroApp&) = delete;

  // The framework's run: InitApplication, InitInstance, the message loop, and the shutdown
  // once the loop has ended, whatever ended it. The process's exit code.
  int Run();
  // The process-exit action: releases Core Audio and undoes the COM initialization.
  void RunExitAction();

  bool InitApplication();
  bool InitInstance();

  void OnRegisteredMessage(uint32_t message) override;
  void OnFrameDestroyed() override;
  void OnSessionEnding() override;

  SonaroState state() const { return state_; }
  const std::u16string& SavedPlaybackName() const { return endpoints_.SavedPlaybackName(); }
  const CStreamMonitor* monitor() const { return monitor_.get(); }
  bool DeviceOpen() const { return device_.IsOpen(); }

 private:
  bool AnotherInstanceRuns();
  void StartStreaming();
  bool LeaveWithoutStreaming(bool result);
  // Unmaps the shared memory if it was mapped and closes the device.
  void ReleaseDevice();
  void HideApplication();
  // Gives the default back and releases everything in order; runs once, on whichever way
  // out comes first.
  void Shutdown();

  SonaroPorts ports_;
  DefaultEndpointControl endpoints_;
  uint32_t close_message_;
  uint32_t local_sound_message_;

  ProgramOsVersion os_version_;
  VirtualAudioDevice device_;
  SharedAddresses addresses_{};
  std::unique_ptr<SharedMemory> shared_memory_;
  std::unique_ptr<LocalPlayback> local_playback_;
  std::unique_ptr<CStreamMonitor> monitor_;
  SonaroState state_ = SonaroState::kStarting;
  bool shut_down_ = false;
};

}  // namespace audio
