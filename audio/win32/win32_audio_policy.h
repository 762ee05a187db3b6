// The audio policy configuration object, reached through its method table: the interface is
// not published, so the set-default method is called by its index.
#pragma once
#include "audio/core/audio_policy.h"

namespace audio::win32 {

class Win32AudioPolicy : public audio::AudioPolicy {
 public:
  platform::HResult Create(const audio::AudioPolicyVariant& variant,
                           std::unique_ptr<audio::AudioPolicyConfig>* config) override;
};

}  // namespace audio::win32
