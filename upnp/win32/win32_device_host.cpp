#include "upnp/win32/win32_device_host.h"

#include <new>
#include <utility>

#include "platform/win32/scoped_com_values.h"
#include "upnp/win32/omvo_service.h"
#include "upnp_device_host.h"

namespace upnp::win32 {

namespace {

// Holds the new object for as long as the device control object works on it, so that
// an object nobody took an interface of is freed again.
class NewComService final : public NewServiceObject {
 public:
  explicit NewComService(COmvoService* service) : service_(service) {}

  platform::HResult QueryDispatch(std::unique_ptr<ServiceReference>* reference) override {
    platform::ComPtr<IDispatch> dispatch;
    const HRESULT hr = service_.As(IID_IDispatch, &dispatch);
    if (FAILED(hr)) return hr;
    *reference = std::make_unique<DispatchReference>(std::move(dispatch));
    return S_OK;
  }

 private:
  platform::ComPtr<COmvoService> service_;
};

class ComRegistrar final : public DeviceRegistrar {
 public:
  explicit ComRegistrar(platform::ComPtr<IUPnPRegistrar> registrar)
      : registrar_(std::move(registrar)) {}

  platform::HResult GetUniqueDeviceName(std::u16string_view device_id,
                                        std::u16string_view template_udn,
                                        std::u16string* udn) override {
    const platform::win32::ScopedBstr id = platform::win32::MakeBstr(device_id);
    const platform::win32::ScopedBstr templ = platform::win32::MakeBstr(template_udn);
    platform::win32::ScopedBstr result;
    const HRESULT hr = registrar_->GetUniqueDeviceName(id.get(), templ.get(), result.put());
    if (SUCCEEDED(hr)) *udn = std::u16string(platform::win32::BstrView(result.get()));
    return hr;
  }

 private:
  platform::ComPtr<IUPnPRegistrar> registrar_;
};

}  // namespace

platform::HResult ComDeviceControlEnvironment::CreateServiceObject(
    std::unique_ptr<NewServiceObject>* object) {
  COmvoService* service = new (std::nothrow) COmvoService;
  if (service == nullptr) return E_OUTOFMEMORY;
  *object = std::make_unique<NewComService>(service);
  return S_OK;
}

platform::HResult ComDeviceControlEnvironment::CreateRegistrar(
    std::unique_ptr<DeviceRegistrar>* registrar) {
  platform::ComPtr<IUPnPRegistrar> com_registrar;
  const HRESULT hr = CoCreateInstance(CLSID_UPnPRegistrar, nullptr, CLSCTX_SERVER,
                                      IID_IUPnPRegistrar, com_registrar.put_void());
  if (FAILED(hr)) return hr;
  *registrar = std::make_unique<ComRegistrar>(std::move(com_registrar));
  return S_OK;
}

}  // namespace upnp::win32
