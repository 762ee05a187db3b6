// Core Audio as the default endpoint control uses it: COM on the calling thread, the device
// enumerator, render endpoints with their friendly names and ids.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/hresult.h"

namespace audio {

enum class ComApartment { kMultithreaded, kSingleThreaded };

// Endpoint roles with their Windows values.
enum class EndpointRole : uint32_t { kConsole = 0, kMultimedia = 1, kCommunications = 2 };

// Endpoint states with their Windows values.
inline constexpr uint32_t kEndpointActive = 0x1;
inline constexpr uint32_t kEndpointDisabled = 0x2;
inline constexpr uint32_t kEndpointNotPresent = 0x4;
inline constexpr uint32_t kEndpointUnplugged = 0x8;

class ComRuntime {
 public:
  virtual ~ComRuntime() = default;
  // CoInitializeEx: S_OK, S_FALSE when already initialized in that apartment, or a failure.
  virtual platform::HResult Initialize(ComApartment apartment) = 0;
  virtual void Uninitialize() = 0;
  // The calling thread's last Windows error code.
  virtual uint32_t LastError() = 0;
};

class AudioEndpoint {
 public:
  virtual ~AudioEndpoint() = default;
  // The PKEY_Device_FriendlyName text from the endpoint's property store (opened for
  // reading); a failure when the store or the value cannot be read or is not text.
  virtual platform::HResult FriendlyName(std::u16string* name) = 0;
  virtual platform::HResult Id(std::u16string* id) = 0;
};

class AudioEndpointCollection {
 public:
  virtual ~AudioEndpointCollection() = default;
  virtual platform::HResult Count(uint32_t* count) = 0;
  virtual platform::HResult Item(uint32_t index, std::unique_ptr<AudioEndpoint>* endpoint) = 0;
};

class AudioEndpointEnumerator {
 public:
  virtual ~AudioEndpointEnumerator() = default;
  virtual platform::HResult RenderEndpoints(
      uint32_t state_mask, std::unique_ptr<AudioEndpointCollection>* collection) = 0;
  // A failure when there is no default endpoint for the role.
  virtual platform::HResult DefaultRenderEndpoint(EndpointRole role,
                                                  std::unique_ptr<AudioEndpoint>* endpoint) = 0;
};

class CoreAudio {
 public:
  virtual ~CoreAudio() = default;
  // The MMDeviceEnumerator object, created with CLSCTX_ALL.
  virtual platform::HResult CreateEnumerator(
      std::unique_ptr<AudioEndpointEnumerator>* enumerator) = 0;
};

}  // namespace audio
