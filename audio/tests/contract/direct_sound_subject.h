// The DirectSound port under test: the simulated sound card on virtual time on Linux, Wine's
// DirectSound on an ALSA null device under Wine (which plays faster than real time, so only the
// order of things is checked, never how long they take).
#pragma once
#include <cstdint>
#include <memory>

#include "audio/core/direct_sound_ports.h"
#include "platform/sync.h"

namespace audio::testing {

class DirectSoundSubject {
 public:
  virtual ~DirectSoundSubject() = default;

  virtual DirectSoundSystem& system() = 0;
  virtual platform::Sync& sync() = 0;
  // Lets the given time pass for the playing buffers.
  virtual void Pass(uint32_t milliseconds) = 0;
  // What setting notification positions on a playing buffer returns.
  virtual platform::HResult NotificationsWhilePlaying() = 0;
};

std::unique_ptr<DirectSoundSubject> MakeDirectSoundSubject();

}  // namespace audio::testing
