// Local playback: the driver's stream played on the PC's own sound card through DirectSound,
// one looping buffer per stream, refilled on position notifications by a thread of its own.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/core/direct_sound_ports.h"
#include "audio/core/driver_records.h"
#include "audio/core/playback_control.h"
#include "audio/core/shared_memory_port.h"
#include "audio/core/streaming_sound.h"
#include "platform/guid.h"
#include "platform/hresult.h"
#include "platform/sync.h"

namespace audio {

inline constexpr size_t kMaxLocalDevices = 20;
inline constexpr size_t kDeviceTextChars = 260;  // terminator included

struct LocalDeviceEntry {
  platform::Guid guid;
  std::u16string description;
  std::u16string module;
};

class LocalPlayback : public PlaybackControl {
 public:
  LocalPlayback(DirectSoundSystem& sound, SharedMemory& memory, platform::Sync& sync,
                platform::Clock& clock);
  ~LocalPlayback() override;
  LocalPlayback(const LocalPlayback&) = delete;
  LocalPlayback& operator=(const LocalPlayback&) = delete;

  // The first enumerated device whose description contains the name (case-sensitive), never
  // one that names the virtual device; an empty name matches nothing.
  std::optional<platform::Guid> FindLocalDevice(std::u16string_view name);
  const std::vector<LocalDeviceEntry>& Devices() const { return devices_; }

  // Opens DirectSound on the device (nullptr: the default device) and starts the
  // notification thread.
  platform::HResult OpenLocalPlayback(const platform::Guid* device);
  void CloseLocalPlayback();

  // Replaces the current sound with a new one for the stream. `format` holds the 18-byte
  // wave format, followed by its extra bytes for a non-PCM tag.
  platform::HResult StartStream(std::span<const uint8_t> format, uint32_t stream_id) override;
  platform::HResult StopStream() override;
  platform::HResult BeginPlayback() override;
  platform::HResult ChangeRateInPlace(const WaveFormatEx& format) override;
  bool IsPlaying() override;

  // What the stream monitor reads and sets on the current sound.
  bool HasCurrentSound() override;
  bool IsStartPending() override;
  void SetDraining(bool draining) override;

  // One wake of the notification thread for a signalled notification event; a failure ends
  // the thread. Public so that tests on virtual time can stand in for the thread.
  platform::HResult HandleNotification();

 private:
  void StartNotificationThread();
  void StopNotificationThread();
  void NotificationThreadBody();

  DirectSoundSystem& direct_sound_system_;
  SharedMemory& memory_;
  platform::Sync& sync_;
  platform::Clock& clock_;
  std::vector<LocalDeviceEntry> devices_;
  std::unique_ptr<DirectSoundDevice> direct_sound_;
  std::unique_ptr<platform::Event> notification_event_;
  std::unique_ptr<platform::Event> stop_event_;
  std::unique_ptr<platform::Thread> notification_thread_;
  // Set while a stream is being stopped: a restore of its lost buffer gives up (manual reset,
  // so looking at it does not consume it).
  std::unique_ptr<platform::Event> restore_stop_;
  // Held while the current sound is used, so the monitor's prefill and the notification
  // thread's refill never overlap.
  std::mutex sound_lock_;
  std::unique_ptr<CStreamingSound> sound_;
};

}  // namespace audio
