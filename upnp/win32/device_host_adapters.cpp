#include "device_host_adapters.h"

#include <new>

#include "com_strings.h"
#include "omvo_service.h"
#include "upnp_device_host.h"

namespace upnp::win32 {

namespace {

// Holds the new object for as long as the device control object works on it, so that
// an object nobody took an interface of is freed again.
class NewComService final : public NewServiceObject {
 public:
  explicit NewComService(COmvoService* service) : service_(service) { service_->AddRef(); }
  ~NewComService() override { service_->Release(); }
  NewComService(const NewComService&) = delete;
  NewComService& operator=(const NewComService&) = delete;

  Hresult QueryDispatch(std::unique_ptr<ServiceReference>* reference) override {
    IDispatch* dispatch = nullptr;
    const HRESULT hr = service_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (FAILED(hr)) return hr;
    *reference = std::make_unique<DispatchReference>(dispatch);
    return S_OK;
  }

 private:
  COmvoService* service_;
};

class ComRegistrar final : public DeviceRegistrar {
 public:
  explicit ComRegistrar(IUPnPRegistrar* registrar) : registrar_(registrar) {}
  ~ComRegistrar() override { registrar_->Release(); }
  ComRegistrar(const ComRegistrar&) = delete;
  ComRegistrar& operator=(const ComRegistrar&) = delete;

  Hresult GetUniqueDeviceName(std::u16string_view device_id, std::u16string_view template_udn,
                              std::u16string* udn) override {
    ComString id(device_id);
    ComString templ(template_udn);
    ComString result;
    const HRESULT hr = registrar_->GetUniqueDeviceName(id.get(), templ.get(), result.out());
    if (SUCCEEDED(hr)) *udn = std::u16string(ViewOf(result.get()));
    return hr;
  }

 private:
  IUPnPRegistrar* registrar_;
};

}  // namespace

Hresult ComDeviceControlEnvironment::CreateServiceObject(
    std::unique_ptr<NewServiceObject>* object) {
  COmvoService* service = new (std::nothrow) COmvoService;
  if (service == nullptr) return E_OUTOFMEMORY;
  *object = std::make_unique<NewComService>(service);
  return S_OK;
}

Hresult ComDeviceControlEnvironment::CreateRegistrar(std::unique_ptr<DeviceRegistrar>* registrar) {
  IUPnPRegistrar* com_registrar = nullptr;
  const HRESULT hr = CoCreateInstance(CLSID_UPnPRegistrar, nullptr, CLSCTX_SERVER,
                                      IID_IUPnPRegistrar, reinterpret_cast<void**>(&com_registrar));
  if (FAILED(hr)) return hr;
  *registrar = std::make_unique<ComRegistrar>(com_registrar);
  return S_OK;
}

}  // namespace upnp::win32
