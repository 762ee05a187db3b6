#include "audio/win32/win32_audio_policy.h"

#include <windows.h>
// COM needs windows.h first.
#include <objbase.h>

#include <string>

#include "platform/com_ptr.h"
#include "platform/win32/native_guid.h"
#include "platform/win32/wide_text.h"

namespace audio::win32 {

namespace {

// The set-default method: (endpoint id, role) -> HRESULT, the object as first argument.
using SetDefaultEndpointMethod = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, LPCWSTR, int);

class Win32PolicyConfig : public audio::AudioPolicyConfig {
 public:
  Win32PolicyConfig(platform::ComPtr<IUnknown> object, uint32_t method)
      : object_(std::move(object)), method_(method) {}

  platform::HResult SetDefaultEndpoint(std::u16string_view endpoint_id,
                                       audio::EndpointRole role) override {
    void** const method_table = *reinterpret_cast<void***>(object_.get());
    const auto method = reinterpret_cast<SetDefaultEndpointMethod>(method_table[method_]);
    const std::wstring id = platform::win32::ToWide(endpoint_id);
    return method(object_.get(), id.c_str(), static_cast<int>(role));
  }

 private:
  platform::ComPtr<IUnknown> object_;
  uint32_t method_;
};

}  // namespace

platform::HResult Win32AudioPolicy::Create(const audio::AudioPolicyVariant& variant,
                                           std::unique_ptr<audio::AudioPolicyConfig>* config) {
  const GUID class_id = platform::win32::ToGuid(variant.class_id);
  const GUID interface_id = platform::win32::ToGuid(variant.interface_id);
  platform::ComPtr<IUnknown> object;
  const HRESULT hr =
      CoCreateInstance(class_id, nullptr, CLSCTX_ALL, interface_id, object.put_void());
  if (FAILED(hr)) return hr;
  *config = std::make_unique<Win32PolicyConfig>(std::move(object), variant.set_default_method);
  return S_OK;
}

}  // namespace audio::win32
