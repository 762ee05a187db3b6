// What the stream monitor asks of local playback. Results are not examined by the monitor.
#pragma once
#include <cstdint>
#include <span>

#include "audio/core/driver_records.h"
#include "platform/hresult.h"

namespace audio {

class PlaybackControl {
 public:
  virtual ~PlaybackControl() = default;
  virtual platform::HResult StartStream(std::span<const uint8_t> format, uint32_t stream_id) = 0;
  virtual platform::HResult StopStream() = 0;
  virtual platform::HResult BeginPlayback() = 0;
  virtual platform::HResult ChangeRateInPlace(const WaveFormatEx& format) = 0;
  virtual bool IsPlaying() = 0;
  virtual bool HasCurrentSound() = 0;
  virtual bool IsStartPending() = 0;
  // Set when the stream has ended (stop once everything read has played); cleared when it
  // runs again.
  virtual void SetDraining(bool draining) = 0;
};

}  // namespace audio
