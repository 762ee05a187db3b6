// DirectSound as local playback uses it: the device list, the device object and its buffers.
// Results keep their HRESULT values, since the playback rules are about them.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "audio/core/window_handle.h"
#include "platform/guid.h"
#include "platform/hresult.h"
#include "platform/sync.h"

namespace audio {

inline constexpr uint32_t kDsbCapsPrimaryBuffer = 0x00000001;
inline constexpr uint32_t kDsbCapsCtrlFrequency = 0x00000020;
inline constexpr uint32_t kDsbCapsCtrlPositionNotify = 0x00000100;
inline constexpr uint32_t kDsbCapsGlobalFocus = 0x00008000;
inline constexpr uint32_t kDsbCapsGetCurrentPosition2 = 0x00010000;

inline constexpr uint32_t kDsbStatusPlaying = 0x00000001;
inline constexpr uint32_t kDsbStatusBufferLost = 0x00000002;
inline constexpr uint32_t kDsbPlayLooping = 0x00000001;
inline constexpr uint32_t kDsSclPriority = 2;

struct BufferDescription {
  uint32_t flags = 0;
  uint32_t bytes = 0;
  // The wave format as its bytes: 18, plus the extra bytes of a non-PCM format. Empty for the
  // primary buffer.
  std::span<const uint8_t> format;
  platform::Guid algorithm_3d;
};

// The one or two parts of a locked buffer range; the second is empty unless the range wraps.
struct LockedParts {
  uint8_t* first = nullptr;
  uint32_t first_bytes = 0;
  uint8_t* second = nullptr;
  uint32_t second_bytes = 0;
};

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;  // releases the buffer
  virtual platform::HResult SetFormat(std::span<const uint8_t> format) = 0;
  virtual platform::HResult GetStatus(uint32_t* status) = 0;
  virtual platform::HResult Restore() = 0;
  virtual platform::HResult Lock(uint32_t offset, uint32_t bytes, LockedParts* parts) = 0;
  virtual platform::HResult Unlock(const LockedParts& parts) = 0;
  virtual platform::HResult Play(uint32_t flags) = 0;
  virtual platform::HResult Stop() = 0;
  virtual platform::HResult SetCurrentPosition(uint32_t position) = 0;
  virtual platform::HResult GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
  virtual platform::HResult SetFrequency(uint32_t samples_per_sec) = 0;
  // Through the buffer's IDirectSoundNotify: each offset signals the event when the play
  // cursor passes it.
  virtual platform::HResult SetNotificationPositions(std::span<const uint32_t> offsets,
                                                     platform::Event* event) = 0;
};

class DirectSoundDevice {
 public:
  virtual ~DirectSoundDevice() = default;  // releases the object
  virtual platform::HResult SetCooperativeLevel(WindowHandle window, uint32_t level) = 0;
  virtual platform::HResult CreateSoundBuffer(const BufferDescription& description,
                                              std::unique_ptr<SoundBuffer>* buffer) = 0;
};

// One enumerated playback device; no GUID for the primary sound driver.
struct SoundDeviceEntry {
  const platform::Guid* guid;
  std::u16string_view description;
  std::u16string_view module;
};

class DirectSoundSystem {
 public:
  virtual ~DirectSoundSystem() = default;
  // DirectSoundEnumerateW: the callback sees each playback device; false from it stops.
  virtual platform::HResult EnumerateDevices(
      const std::function<bool(const SoundDeviceEntry&)>& callback) = 0;
  // DirectSoundCreate8; nullptr names the default playback device.
  virtual platform::HResult Create(const platform::Guid* device,
                                   std::unique_ptr<DirectSoundDevice>* object) = 0;
  // The windows a cooperative level can be set on; 0 when there is none.
  virtual WindowHandle ForegroundWindow() = 0;
  virtual WindowHandle DesktopWindow() = 0;
};

}  // namespace audio
