// The system's audio policy configuration object: the one way to make an endpoint the
// default. Its class and interface ids and the place of the set-default method in the
// interface's method table differ between Windows versions.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "audio/core/core_audio.h"
#include "audio/core/os_version_rules.h"
#include "platform/guid.h"
#include "platform/hresult.h"

namespace audio {

struct AudioPolicyVariant {
  platform::Guid class_id;
  platform::Guid interface_id;
  // Index in the interface's method table (QueryInterface, AddRef and Release are 0 to 2) of
  // the method taking (endpoint id, role) and returning an HRESULT.
  uint32_t set_default_method = 0;
};

// The variant for the policy class; none for a class without one.
std::optional<AudioPolicyVariant> AudioPolicyVariantFor(OsPolicyClass policy_class);

class AudioPolicyConfig {
 public:
  virtual ~AudioPolicyConfig() = default;
  virtual platform::HResult SetDefaultEndpoint(std::u16string_view endpoint_id,
                                               EndpointRole role) = 0;
};

class AudioPolicy {
 public:
  virtual ~AudioPolicy() = default;
  // Creates the variant's object with CLSCTX_ALL and asks it for the variant's interface.
  virtual platform::HResult Create(const AudioPolicyVariant& variant,
                                   std::unique_ptr<AudioPolicyConfig>* config) = 0;
};

}  // namespace audio
