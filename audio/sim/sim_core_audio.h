// The PC's audio endpoints as Core Audio shows them, COM on the program's thread, and the
// audio policy object that switches the default: a model a test sets up and inspects.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/core/audio_policy.h"
#include "audio/core/core_audio.h"

namespace audio::sim {

struct SimEndpoint {
  std::u16string id;
  std::u16string name;
  uint32_t state = kEndpointActive;
  bool name_readable = true;
  bool id_readable = true;
};

struct PolicyCall {
  platform::Guid class_id;
  uint32_t method = 0;
  std::u16string endpoint_id;
  EndpointRole role = EndpointRole::kConsole;
};

class SimCoreAudio : public ComRuntime, public CoreAudio, public AudioPolicy {
 public:
  SimCoreAudio();
  ~SimCoreAudio() override;

  // Set-up. Endpoints are enumerated in the order they are added.
  void AddEndpoint(SimEndpoint endpoint);
  // The default render endpoint of a role, by id; nullopt: no default.
  void SetDefault(EndpointRole role, std::optional<std::u16string> id);
  // What CoInitializeEx answers per apartment (S_OK unless set).
  void SetComInitializeResult(ComApartment apartment, platform::HResult result);
  void SetEnumeratorCreationResult(platform::HResult result, uint32_t last_error);
  // The policy variants this Windows has (none unless added).
  void AddPolicyVariant(const AudioPolicyVariant& variant);

  // Inspection.
  std::optional<std::u16string> DefaultId(EndpointRole role) const;
  // The default console endpoint's name; nullopt without a default.
  std::optional<std::u16string> DefaultName() const;
  const std::vector<PolicyCall>& PolicyCalls() const;
  // Apartments asked for, in order; how many uninitializations; live enumerators.
  const std::vector<ComApartment>& ComInitializeCalls() const;
  int ComUninitializeCount() const;
  int LiveEnumerators() const;

  // ComRuntime
  platform::HResult Initialize(ComApartment apartment) override;
  void Uninitialize() override;
  uint32_t LastError() override;
  // CoreAudio
  platform::HResult CreateEnumerator(std::unique_ptr<AudioEndpointEnumerator>* enumerator) override;
  // AudioPolicy
  platform::HResult Create(const AudioPolicyVariant& variant,
                           std::unique_ptr<AudioPolicyConfig>* config) override;

  struct Model;

 private:
  std::shared_ptr<Model> model_;
};

}  // namespace audio::sim

namespace audio::sim {

// The policy object as Windows 6.0 and 6.1 register it.
AudioPolicyVariant VistaPolicyObject();
AudioPolicyVariant Windows7PolicyObject();

}  // namespace audio::sim
