#include "audio/win32/win32_core_audio.h"

#include <windows.h>
// COM's headers need windows.h first, and the Core Audio ones need COM's.
#include <objbase.h>
#include <propidl.h>

#include <mmdeviceapi.h>

#include "platform/com_ptr.h"
#include "platform/win32/wide_text.h"

namespace audio::win32 {

using platform::ComPtr;

namespace {

// {BCDE0395-E52F-467C-8E3D-C4579291692E}
constexpr CLSID kMmDeviceEnumerator{
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
// {A95664D2-9614-4F35-A746-DE8DB63617E6}
constexpr IID kIMmDeviceEnumerator{
    0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
// PKEY_Device_FriendlyName: {A45C254E-DF1C-4EFD-8020-67D146A850E0}, 14
constexpr PROPERTYKEY kFriendlyName{
    {0xA45C254E, 0xDF1C, 0x4EFD, {0x80, 0x20, 0x67, 0xD1, 0x46, 0xA8, 0x50, 0xE0}}, 14};

class Win32Endpoint : public audio::AudioEndpoint {
 public:
  explicit Win32Endpoint(ComPtr<IMMDevice> device) : device_(std::move(device)) {}

  platform::HResult FriendlyName(std::u16string* name) override {
    ComPtr<IPropertyStore> store;
    HRESULT hr = device_->OpenPropertyStore(STGM_READ, store.put());
    if (FAILED(hr)) return hr;
    PROPVARIANT value;
    PropVariantInit(&value);
    hr = store->GetValue(kFriendlyName, &value);
    if (FAILED(hr)) return hr;
    // A name that is not text counts as one that cannot be read.
    const bool is_text = value.vt == VT_LPWSTR && value.pwszVal != nullptr;
    if (is_text) *name = platform::win32::FromWide(value.pwszVal);
    PropVariantClear(&value);
    return is_text ? S_OK : E_FAIL;
  }

  platform::HResult Id(std::u16string* id) override {
    LPWSTR text = nullptr;
    const HRESULT hr = device_->GetId(&text);
    if (FAILED(hr)) return hr;
    if (text == nullptr) return E_FAIL;
    *id = platform::win32::FromWide(text);
    CoTaskMemFree(text);
    return S_OK;
  }

 private:
  ComPtr<IMMDevice> device_;
};

class Win32EndpointCollection : public audio::AudioEndpointCollection {
 public:
  explicit Win32EndpointCollection(ComPtr<IMMDeviceCollection> collection)
      : collection_(std::move(collection)) {}

  platform::HResult Count(uint32_t* count) override {
    UINT value = 0;
    const HRESULT hr = collection_->GetCount(&value);
    if (SUCCEEDED(hr)) *count = value;
    return hr;
  }

  platform::HResult Item(uint32_t index, std::unique_ptr<audio::AudioEndpoint>* endpoint) override {
    ComPtr<IMMDevice> device;
    const HRESULT hr = collection_->Item(index, device.put());
    if (FAILED(hr)) return hr;
    *endpoint = std::make_unique<Win32Endpoint>(std::move(device));
    return S_OK;
  }

 private:
  ComPtr<IMMDeviceCollection> collection_;
};

class Win32EndpointEnumerator : public audio::AudioEndpointEnumerator {
 public:
  explicit Win32EndpointEnumerator(ComPtr<IMMDeviceEnumerator> enumerator)
      : enumerator_(std::move(enumerator)) {}

  platform::HResult RenderEndpoints(
      uint32_t state_mask, std::unique_ptr<audio::AudioEndpointCollection>* collection) override {
    ComPtr<IMMDeviceCollection> devices;
    const HRESULT hr = enumerator_->EnumAudioEndpoints(eRender, state_mask, devices.put());
    if (FAILED(hr)) return hr;
    *collection = std::make_unique<Win32EndpointCollection>(std::move(devices));
    return S_OK;
  }

  platform::HResult DefaultRenderEndpoint(
      audio::EndpointRole role, std::unique_ptr<audio::AudioEndpoint>* endpoint) override {
    ComPtr<IMMDevice> device;
    const HRESULT hr =
        enumerator_->GetDefaultAudioEndpoint(eRender, static_cast<ERole>(role), device.put());
    if (FAILED(hr)) return hr;
    *endpoint = std::make_unique<Win32Endpoint>(std::move(device));
    return S_OK;
  }

 private:
  ComPtr<IMMDeviceEnumerator> enumerator_;
};

}  // namespace

platform::HResult Win32ComRuntime::Initialize(audio::ComApartment apartment) {
  return CoInitializeEx(nullptr, apartment == audio::ComApartment::kMultithreaded
                                     ? COINIT_MULTITHREADED
                                     : COINIT_APARTMENTTHREADED);
}

void Win32ComRuntime::Uninitialize() { CoUninitialize(); }

uint32_t Win32ComRuntime::LastError() { return GetLastError(); }

platform::HResult Win32CoreAudio::CreateEnumerator(
    std::unique_ptr<audio::AudioEndpointEnumerator>* enumerator) {
  ComPtr<IMMDeviceEnumerator> created;
  const HRESULT hr = CoCreateInstance(kMmDeviceEnumerator, nullptr, CLSCTX_ALL,
                                      kIMmDeviceEnumerator, created.put_void());
  if (FAILED(hr)) return hr;
  *enumerator = std::make_unique<Win32EndpointEnumerator>(std::move(created));
  return S_OK;
}

}  // namespace audio::win32
