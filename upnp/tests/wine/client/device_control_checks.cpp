// The device control object through COM: its interfaces, the class factory, Initialize with
// and without a registrar, and GetServiceObject.
#include <gtest/gtest.h>

#include "client_support.h"

namespace upnp::client {
namespace {

const wchar_t kServiceId[] = L"upnp:id:ZYNOmvoService1.0";
const wchar_t kRecordKey[] = L"Software\\OvTest\\UPnPRegistrar";

std::wstring LastUniqueName() {
  return ReadString(HKEY_CURRENT_USER, kRecordKey, L"Udn").value_or(L"");
}

TEST(Registered, DeviceControlAnswersOnlyItsInterfaces) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  IUnknown* again = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(unknown, again);
  again->Release();
  unknown->Release();
  for (const IID* iid : {&IID_IDispatch, &IID_IUPnPEventSource, &IID_IClassFactory,
                         &IID_IUPnPService_ZYNOmvoService_SCPD, &IID_IUPnPRegistrar}) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(control->QueryInterface(*iid, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
  }
  control->Release();
}

TEST(Registered, ClassFactoryAggregatesOnlyAsIUnknownAndLocksTheServer) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_Omvo, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&factory)),
            S_OK);
  CountingOuter outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IUPnPDeviceControl, &object),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);

  IUnknown* inner = nullptr;
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
  IUPnPDeviceControl* control = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IUPnPDeviceControl, reinterpret_cast<void**>(&control)),
            S_OK);
  // The inner object's interface counts on the outer object.
  EXPECT_EQ(outer.references(), 2);
  control->Release();
  EXPECT_EQ(outer.references(), 1);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  inner->Release();
  EXPECT_EQ(CanUnloadNow(), S_OK);

  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_OK);
  factory->Release();
}

TEST(Registered, ClassObjectOnlyForTheOmvoClass) {
  HMODULE library = GetModuleHandleW(ModulePath().c_str());
  if (library == nullptr) library = LoadLibraryW(ModulePath().c_str());
  ASSERT_NE(library, nullptr);
  using Function = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto get = reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
  ASSERT_NE(get, nullptr);
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(get(CLSID_UPnPRegistrar, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(get(CLSID_Omvo, IID_IClassFactory, nullptr), E_POINTER);
}

TEST(NoRegistrar, InitializeFailsWithoutTheDeviceHostsRegistrar) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(
      control->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"ov-device-1").get(), nullptr),
      E_FAIL);
  IDispatch* service = nullptr;
  EXPECT_EQ(control->GetServiceObject(MakeBstr(L"").get(), MakeBstr(kServiceId).get(), &service),
            E_FAIL);
  control->Release();
}

TEST(NullDescription, InitializeFailsAtOnce) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->Initialize(nullptr, MakeBstr(L"ov-device-1").get(), nullptr), E_FAIL);
  control->Release();
}

TEST(WithRegistrar, InitializeNamesTheRootDeviceAndServesItsService) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  IDispatch* service = nullptr;
  EXPECT_EQ(control->GetServiceObject(MakeBstr(L"").get(), MakeBstr(kServiceId).get(), &service),
            E_FAIL);

  ASSERT_EQ(control->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"ov-device-1").get(),
                                MakeBstr(L"init").get()),
            S_OK);
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRecordKey, L"DeviceId"), L"ov-device-1");
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRecordKey, L"TemplateUdn"), L"RootDevice");
  const std::wstring udn = LastUniqueName();
  ASSERT_EQ(udn.rfind(L"uuid:", 0), 0u);

  ASSERT_EQ(
      control->GetServiceObject(MakeBstr(udn.c_str()).get(), MakeBstr(kServiceId).get(), &service),
      S_OK);
  ASSERT_NE(service, nullptr);
  const ULONG held = References(service);
  IDispatch* second = nullptr;
  ASSERT_EQ(
      control->GetServiceObject(MakeBstr(udn.c_str()).get(), MakeBstr(kServiceId).get(), &second),
      S_OK);
  EXPECT_EQ(second, service);
  EXPECT_EQ(References(service), held + 1);
  second->Release();

  std::wstring changed = kServiceId;
  changed.back() = L'1';
  IDispatch* none = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(control->GetServiceObject(MakeBstr(udn.c_str()).get(), MakeBstr(changed.c_str()).get(),
                                      &none),
            E_FAIL);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(control->GetServiceObject(MakeBstr(udn.c_str()).get(),
                                      MakeBstr(L"UPNP:ID:ZYNOMVOSERVICE1.0").get(), &none),
            E_FAIL);
  EXPECT_EQ(
      control->GetServiceObject(MakeBstr(L"RootDevice").get(), MakeBstr(kServiceId).get(), &none),
      E_FAIL);
  EXPECT_EQ(
      control->GetServiceObject(MakeBstr(udn.c_str()).get(), MakeBstr(kServiceId).get(), nullptr),
      E_POINTER);
  EXPECT_EQ(References(service), held);

  service->Release();
  control->Release();
}

TEST(WithRegistrar, SecondInitializeReplacesTheUniqueName) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  ASSERT_EQ(
      control->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"ov-device-1").get(), nullptr),
      S_OK);
  const std::wstring first = LastUniqueName();
  ASSERT_EQ(
      control->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"ov-device-1").get(), nullptr),
      S_OK);
  const std::wstring second = LastUniqueName();
  ASSERT_NE(first, second);
  IDispatch* service = nullptr;
  EXPECT_EQ(control->GetServiceObject(MakeBstr(first.c_str()).get(), MakeBstr(kServiceId).get(),
                                      &service),
            E_FAIL);
  ASSERT_EQ(control->GetServiceObject(MakeBstr(second.c_str()).get(), MakeBstr(kServiceId).get(),
                                      &service),
            S_OK);
  service->Release();
  control->Release();
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST(RegistrarFails, InitializeReportsEFail) {
  IUPnPDeviceControl* control = CreateDeviceControl();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"fail").get(), nullptr),
            E_FAIL);
  control->Release();
}

}  // namespace
}  // namespace upnp::client
