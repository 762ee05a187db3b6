#include "audio/sim/sim_core_audio.h"

#include <algorithm>
#include <map>

namespace audio::sim {

struct SimCoreAudio::Model {
  std::vector<SimEndpoint> endpoints;
  std::map<EndpointRole, std::u16string> defaults;
  std::map<ComApartment, platform::HResult> com_results;
  platform::HResult enumerator_result = platform::kSOk;
  uint32_t last_error = 0;
  std::vector<AudioPolicyVariant> variants;
  std::vector<PolicyCall> policy_calls;
  std::vector<ComApartment> com_calls;
  int uninitialize_count = 0;
  int live_enumerators = 0;

  const SimEndpoint* Find(std::u16string_view id) const {
    for (const auto& endpoint : endpoints) {
      if (endpoint.id == id) return &endpoint;
    }
    return nullptr;
  }
};

namespace {

using Model = SimCoreAudio::Model;

class Endpoint : public AudioEndpoint {
 public:
  explicit Endpoint(SimEndpoint endpoint) : endpoint_(std::move(endpoint)) {}
  platform::HResult FriendlyName(std::u16string* name) override {
    if (!endpoint_.name_readable) return platform::kENotFound;
    *name = endpoint_.name;
    return platform::kSOk;
  }
  platform::HResult Id(std::u16string* id) override {
    if (!endpoint_.id_readable) return platform::kEOutOfMemory;
    *id = endpoint_.id;
    return platform::kSOk;
  }

 private:
  SimEndpoint endpoint_;
};

class Collection : public AudioEndpointCollection {
 public:
  explicit Collection(std::vector<SimEndpoint> endpoints) : endpoints_(std::move(endpoints)) {}
  platform::HResult Count(uint32_t* count) override {
    *count = static_cast<uint32_t>(endpoints_.size());
    return platform::kSOk;
  }
  platform::HResult Item(uint32_t index, std::unique_ptr<AudioEndpoint>* endpoint) override {
    if (index >= endpoints_.size()) return platform::kEInvalidArg;
    *endpoint = std::make_unique<Endpoint>(endpoints_[index]);
    return platform::kSOk;
  }

 private:
  std::vector<SimEndpoint> endpoints_;
};

class Enumerator : public AudioEndpointEnumerator {
 public:
  explicit Enumerator(std::shared_ptr<Model> model) : model_(std::move(model)) {
    ++model_->live_enumerators;
  }
  ~Enumerator() override { --model_->live_enumerators; }

  platform::HResult RenderEndpoints(uint32_t state_mask,
                                    std::unique_ptr<AudioEndpointCollection>* collection) override {
    std::vector<SimEndpoint> matching;
    std::copy_if(model_->endpoints.begin(), model_->endpoints.end(), std::back_inserter(matching),
                 [state_mask](const SimEndpoint& e) { return (e.state & state_mask) != 0; });
    *collection = std::make_unique<Collection>(std::move(matching));
    return platform::kSOk;
  }

  platform::HResult DefaultRenderEndpoint(EndpointRole role,
                                          std::unique_ptr<AudioEndpoint>* endpoint) override {
    const auto it = model_->defaults.find(role);
    const SimEndpoint* found = it == model_->defaults.end() ? nullptr : model_->Find(it->second);
    if (found == nullptr) return platform::kENotFound;
    *endpoint = std::make_unique<Endpoint>(*found);
    return platform::kSOk;
  }

 private:
  std::shared_ptr<Model> model_;
};

class PolicyConfig : public AudioPolicyConfig {
 public:
  PolicyConfig(std::shared_ptr<Model> model, AudioPolicyVariant variant)
      : model_(std::move(model)), variant_(variant) {}

  platform::HResult SetDefaultEndpoint(std::u16string_view endpoint_id,
                                       EndpointRole role) override {
    model_->policy_calls.push_back(
        {variant_.class_id, variant_.set_default_method, std::u16string(endpoint_id), role});
    const SimEndpoint* endpoint = model_->Find(endpoint_id);
    // Windows makes only an active endpoint the default.
    if (endpoint == nullptr || endpoint->state != kEndpointActive) return platform::kENotFound;
    model_->defaults[role] = endpoint->id;
    return platform::kSOk;
  }

 private:
  std::shared_ptr<Model> model_;
  AudioPolicyVariant variant_;
};

}  // namespace

SimCoreAudio::SimCoreAudio() : model_(std::make_shared<Model>()) {}
SimCoreAudio::~SimCoreAudio() = default;

void SimCoreAudio::AddEndpoint(SimEndpoint endpoint) {
  model_->endpoints.push_back(std::move(endpoint));
}

void SimCoreAudio::SetDefault(EndpointRole role, std::optional<std::u16string> id) {
  if (id) {
    model_->defaults[role] = *id;
  } else {
    model_->defaults.erase(role);
  }
}

void SimCoreAudio::SetComInitializeResult(ComApartment apartment, platform::HResult result) {
  model_->com_results[apartment] = result;
}

void SimCoreAudio::SetEnumeratorCreationResult(platform::HResult result, uint32_t last_error) {
  model_->enumerator_result = result;
  model_->last_error = last_error;
}

void SimCoreAudio::AddPolicyVariant(const AudioPolicyVariant& variant) {
  model_->variants.push_back(variant);
}

std::optional<std::u16string> SimCoreAudio::DefaultId(EndpointRole role) const {
  const auto it = model_->defaults.find(role);
  if (it == model_->defaults.end()) return std::nullopt;
  return it->second;
}

std::optional<std::u16string> SimCoreAudio::DefaultName() const {
  const auto id = DefaultId(EndpointRole::kConsole);
  const SimEndpoint* endpoint = id ? model_->Find(*id) : nullptr;
  if (endpoint == nullptr) return std::nullopt;
  return endpoint->name;
}

const std::vector<PolicyCall>& SimCoreAudio::PolicyCalls() const { return model_->policy_calls; }
const std::vector<ComApartment>& SimCoreAudio::ComInitializeCalls() const {
  return model_->com_calls;
}
int SimCoreAudio::ComUninitializeCount() const { return model_->uninitialize_count; }
int SimCoreAudio::LiveEnumerators() const { return model_->live_enumerators; }

platform::HResult SimCoreAudio::Initialize(ComApartment apartment) {
  model_->com_calls.push_back(apartment);
  const auto it = model_->com_results.find(apartment);
  return it == model_->com_results.end() ? platform::kSOk : it->second;
}

void SimCoreAudio::Uninitialize() { ++model_->uninitialize_count; }

uint32_t SimCoreAudio::LastError() { return model_->last_error; }

platform::HResult SimCoreAudio::CreateEnumerator(
    std::unique_ptr<AudioEndpointEnumerator>* enumerator) {
  if (model_->enumerator_result < 0) return model_->enumerator_result;
  *enumerator = std::make_unique<Enumerator>(model_);
  return platform::kSOk;
}

platform::HResult SimCoreAudio::Create(const AudioPolicyVariant& variant,
                                       std::unique_ptr<AudioPolicyConfig>* config) {
  const bool exists = std::any_of(
      model_->variants.begin(), model_->variants.end(), [&variant](const AudioPolicyVariant& v) {
        return v.class_id == variant.class_id && v.interface_id == variant.interface_id &&
               v.set_default_method == variant.set_default_method;
      });
  if (!exists) return platform::kRegdbEClassNotReg;
  *config = std::make_unique<PolicyConfig>(model_, variant);
  return platform::kSOk;
}

}  // namespace audio::sim

namespace audio::sim {

AudioPolicyVariant VistaPolicyObject() {
  return {*platform::ParseGuid("{294935CE-F637-4E7C-A41B-AB255460B862}"),
          *platform::ParseGuid("{568B9108-44BF-40B4-9006-86AFE5B5A620}"), 12};
}

AudioPolicyVariant Windows7PolicyObject() {
  return {*platform::ParseGuid("{870AF99C-171D-4F9E-AF0D-E63DF40C2BC9}"),
          *platform::ParseGuid("{F8679F50-850A-41CF-9C72-430F290290C8}"), 13};
}

}  // namespace audio::sim
