// COM on the calling thread, and Core Audio's device enumerator with its render endpoints.
#pragma once
#include "audio/core/core_audio.h"

namespace audio::win32 {

class Win32ComRuntime : public audio::ComRuntime {
 public:
  platform::HResult Initialize(audio::ComApartment apartment) override;
  void Uninitialize() override;
  uint32_t LastError() override;
};

class Win32CoreAudio : public audio::CoreAudio {
 public:
  platform::HResult CreateEnumerator(
      std::unique_ptr<audio::AudioEndpointEnumerator>* enumerator) override;
};

}  // namespace audio::win32
