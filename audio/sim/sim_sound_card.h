// A model of a sound card behind DirectSound: enumerated devices, a device object, and
// buffers whose play cursor advances with the clock at the buffer's byte rate, firing the
// position notifications it passes. Every byte a streaming buffer plays is recorded. It can
// lose a buffer and hand out two-part locks.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "audio/core/direct_sound_ports.h"
#include "audio/core/driver_records.h"
#include "platform/sync.h"

namespace audio::sim {

struct SimSoundDevice {
  bool has_guid;
  platform::Guid guid;
  std::u16string description;
  std::u16string module;
};

// What the card played: byte ranges with the tick at which they were played.
struct PlayedChunk {
  uint32_t tick;
  uint32_t samples_per_sec;
  uint16_t block_align;
  std::vector<uint8_t> bytes;
};

struct SoundCardFaults {
  bool fail_create = false;
  bool fail_cooperative_level = false;
  bool fail_buffer = false;
  bool fail_notify = false;
  bool split_next_lock = false;   // the next lock returns two parts
  uint32_t restore_failures = 0;  // DSERR_BUFFERLOST answers before a Restore succeeds
  // The card's memory for one buffer; a larger request fails as on a card without it. By
  // default every size DirectSound allows fits (as under Wine).
  uint32_t largest_buffer_bytes = 0x0FFFFFFF;
};

class SimSoundCard : public DirectSoundSystem {
 public:
  explicit SimSoundCard(platform::Clock& clock);
  ~SimSoundCard() override;

  void AddDevice(const SimSoundDevice& device) { devices_.push_back(device); }
  SoundCardFaults& faults() { return faults_; }

  // Moves every playing buffer's cursor to the clock's present time, playing the bytes and
  // firing the notifications it passes.
  void CatchUp();
  // The streaming buffer made last loses its memory, as when another program takes the card.
  void LoseBuffer();

  const std::vector<PlayedChunk>& played() const { return played_; }
  uint32_t notifications_fired() const { return notifications_fired_; }
  uint32_t buffers_created() const { return buffers_created_; }
  uint32_t restores_tried() const;
  // The device DirectSound was last created on (none: the default device), if it was.
  std::optional<std::optional<platform::Guid>> opened_device() const { return opened_device_; }
  std::vector<uint8_t> primary_format() const { return primary_format_; }
  WindowHandle cooperative_window() const { return cooperative_window_; }
  // The streaming buffer made last, if it still exists.
  bool HasLiveBuffer() const;
  uint32_t LiveBufferFrequency() const;
  std::vector<uint32_t> LiveNotificationPositions() const;
  bool LiveBufferPlaying() const;

  platform::HResult EnumerateDevices(
      const std::function<bool(const SoundDeviceEntry&)>& callback) override;
  platform::HResult Create(const platform::Guid* device,
                           std::unique_ptr<DirectSoundDevice>* object) override;
  WindowHandle ForegroundWindow() override { return foreground_window_; }
  WindowHandle DesktopWindow() override { return 0x10010; }
  void set_foreground_window(WindowHandle window) { foreground_window_ = window; }

  class Buffer;
  class Device;

 private:
  platform::Clock& clock_;
  mutable std::recursive_mutex mutex_;
  std::vector<SimSoundDevice> devices_;
  SoundCardFaults faults_;
  std::vector<Buffer*> buffers_;
  Buffer* latest_ = nullptr;
  std::vector<PlayedChunk> played_;
  uint32_t notifications_fired_ = 0;
  uint32_t buffers_created_ = 0;
  uint32_t restores_tried_ = 0;
  std::optional<std::optional<platform::Guid>> opened_device_;
  std::vector<uint8_t> primary_format_;
  WindowHandle foreground_window_ = 0x20020;
  WindowHandle cooperative_window_ = 0;
};

}  // namespace audio::sim
