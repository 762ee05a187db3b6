#include "audio/core/default_endpoint_control.h"

#include "audio/core/sound_mapper.h"
#include "audio/core/wide_text.h"

namespace audio {

namespace {

// Reported when a failed step left no error code on the thread.
constexpr platform::WinError kErrorNotFound = 1168;
constexpr platform::WinError kErrorGenFailure = 31;

}  // namespace

DefaultEndpointControl::DefaultEndpointControl(EndpointControlPorts ports,
                                               OsPolicyClass policy_class)
    : ports_(ports), policy_class_(policy_class) {}

platform::WinError DefaultEndpointControl::SetDefaultPlayback(const ProgramOsVersion& version) {
  if (!UsesSoundMapper(version)) return SetDefaultThroughCoreAudio();
  ReadSoundMapper(ports_.registry, &saved_playback_name_);
  return WriteSoundMapper(ports_.registry, kVirtualDeviceName, std::nullopt);
}

void DefaultEndpointControl::RestoreDefaultPlayback(const ProgramOsVersion& version) {
  if (UsesSoundMapper(version)) {
    WriteSoundMapper(ports_.registry, saved_playback_name_, std::nullopt);
  } else if (enumerator_) {
    SetDefaultByName(saved_playback_name_);  // shutdown reports nothing
  }
}

platform::WinError DefaultEndpointControl::SetDefaultThroughCoreAudio() {
  if (!EnsureEnumerator()) return LastErrorOr(kErrorGenFailure);
  SaveCurrentDefaultName();
  if (SetDefaultByName(kVirtualDeviceName)) return platform::kErrorSuccess;
  return LastErrorOr(kErrorNotFound);
}

bool DefaultEndpointControl::EnsureEnumerator() {
  if (enumerator_) return true;
  platform::HResult hr = ports_.com.Initialize(ComApartment::kMultithreaded);
  if (hr != platform::kSOk && hr != platform::kSFalse)
    hr = ports_.com.Initialize(ComApartment::kSingleThreaded);
  com_initialized_ = hr == platform::kSOk || hr == platform::kSFalse;
  std::unique_ptr<AudioEndpointEnumerator> enumerator;
  if (platform::Failed(ports_.core_audio.CreateEnumerator(&enumerator)) || !enumerator)
    return false;
  enumerator_ = std::move(enumerator);
  return true;
}

void DefaultEndpointControl::SaveCurrentDefaultName() {
  std::unique_ptr<AudioEndpoint> endpoint;
  if (platform::Failed(enumerator_->DefaultRenderEndpoint(EndpointRole::kConsole, &endpoint)) ||
      !endpoint) {
    return;
  }
  std::u16string name;
  if (platform::Succeeded(endpoint->FriendlyName(&name))) {
    saved_playback_name_ = CutToBuffer(name);
  } else {
    saved_playback_name_ = kDeviceNotAvailable;
  }
}

bool DefaultEndpointControl::SetDefaultByName(std::u16string_view name) {
  // Every endpoint name contains the empty text: an empty saved name would make an arbitrary
  // device the default.
  if (!enumerator_ || name.empty()) return false;
  std::unique_ptr<AudioEndpointCollection> endpoints;
  if (platform::Failed(enumerator_->RenderEndpoints(kSearchedEndpointStates, &endpoints)) ||
      !endpoints) {
    return false;
  }
  uint32_t count = 0;
  if (platform::Failed(endpoints->Count(&count))) return false;
  for (uint32_t index = 0; index < count; ++index) {
    std::unique_ptr<AudioEndpoint> endpoint;
    if (platform::Failed(endpoints->Item(index, &endpoint)) || !endpoint) continue;
    std::u16string endpoint_name;
    if (platform::Failed(endpoint->FriendlyName(&endpoint_name))) continue;
    if (!ContainsIgnoringCase(endpoint_name, name)) continue;
    std::u16string id;
    if (platform::Failed(endpoint->Id(&id))) continue;
    return SetDefaultThroughPolicy(CutToBuffer(id));
  }
  return false;
}

bool DefaultEndpointControl::SetDefaultThroughPolicy(std::u16string_view endpoint_id) {
  const auto variant = AudioPolicyVariantFor(policy_class_);
  if (!variant) return false;
  std::unique_ptr<AudioPolicyConfig> config;
  if (platform::Failed(ports_.policy.Create(*variant, &config)) || !config) return false;
  return platform::Succeeded(config->SetDefaultEndpoint(endpoint_id, EndpointRole::kConsole));
}

void DefaultEndpointControl::RunExitAction() {
  enumerator_.reset();
  if (com_initialized_) {
    ports_.com.Uninitialize();
    com_initialized_ = false;
  }
}

platform::WinError DefaultEndpointControl::LastErrorOr(platform::WinError fallback) {
  const uint32_t error = ports_.com.LastError();
  return error != 0 ? error : fallback;
}

}  // namespace audio
