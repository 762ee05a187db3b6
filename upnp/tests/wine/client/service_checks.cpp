// The service object behind GetServiceObject: its interfaces, the dispatch interface through
// the type library, and the event source.
#include <gtest/gtest.h>

#include <cstdio>

#include "client_support.h"

namespace upnp::client {
namespace {

class Service : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = CreateDeviceControl();
    ASSERT_NE(control_, nullptr);
    ASSERT_EQ(
        control_->Initialize(MakeBstr(L"<root/>").get(), MakeBstr(L"ov-device-1").get(), nullptr),
        S_OK);
    const std::wstring udn =
        ReadString(HKEY_CURRENT_USER, L"Software\\OvTest\\UPnPRegistrar", L"Udn").value_or(L"");
    ASSERT_EQ(control_->GetServiceObject(MakeBstr(udn.c_str()).get(),
                                         MakeBstr(L"upnp:id:ZYNOmvoService1.0").get(), &dispatch_),
              S_OK);
  }
  void TearDown() override { ReleaseAll(); }

  void ReleaseAll() {
    if (dispatch_ != nullptr) dispatch_->Release();
    if (control_ != nullptr) control_->Release();
    dispatch_ = nullptr;
    control_ = nullptr;
  }

  IUPnPEventSource* EventSource() {
    IUPnPEventSource* source = nullptr;
    EXPECT_EQ(dispatch_->QueryInterface(IID_IUPnPEventSource, reinterpret_cast<void**>(&source)),
              S_OK);
    return source;
  }

  // Invoke's answer for a member that fails with E_NOTIMPL: the code itself, or
  // DISP_E_EXCEPTION carrying it. Which one is printed for the record.
  static void ExpectNotImplemented(HRESULT hr, const EXCEPINFO& exception, const char* what) {
    std::printf("Invoke %s: 0x%08lX scode 0x%08lX\n", what, static_cast<unsigned long>(hr),
                static_cast<unsigned long>(exception.scode));
    if (hr == DISP_E_EXCEPTION) {
      EXPECT_EQ(exception.scode, E_NOTIMPL) << what;
    } else {
      EXPECT_EQ(hr, E_NOTIMPL) << what;
    }
  }

  IUPnPDeviceControl* control_ = nullptr;
  IDispatch* dispatch_ = nullptr;
};

TEST_F(Service, InterfacesShareTheDispatchPointer) {
  IUnknown* unknown = nullptr;
  IUPnPService_ZYNOmvoService_SCPD* members = nullptr;
  ASSERT_EQ(dispatch_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  ASSERT_EQ(dispatch_->QueryInterface(IID_IUPnPService_ZYNOmvoService_SCPD,
                                      reinterpret_cast<void**>(&members)),
            S_OK);
  EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(dispatch_));
  EXPECT_EQ(static_cast<void*>(members), static_cast<void*>(dispatch_));
  IUPnPEventSource* source = EventSource();
  ASSERT_NE(source, nullptr);
  EXPECT_NE(static_cast<void*>(source), static_cast<void*>(dispatch_));
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(dispatch_->QueryInterface(IID_IUPnPDeviceControl, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);
  source->Release();
  members->Release();
  unknown->Release();
}

TEST_F(Service, TypeInformationIsTheServiceInterfaceForEveryIndex) {
  UINT count = 0;
  EXPECT_EQ(dispatch_->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, nullptr), E_POINTER);
  ITypeInfo* first = nullptr;
  ITypeInfo* other = nullptr;
  ASSERT_EQ(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &first), S_OK);
  ASSERT_EQ(dispatch_->GetTypeInfo(7, LOCALE_USER_DEFAULT, &other), S_OK);
  EXPECT_EQ(first, other);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(first->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualIID(attributes->guid, IID_IUPnPService_ZYNOmvoService_SCPD));
  EXPECT_EQ(attributes->cFuncs, 2);
  EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
  EXPECT_FALSE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
  first->ReleaseTypeAttr(attributes);
  other->Release();
  first->Release();
}

TEST_F(Service, NamesResolveExactlyAndThroughTheTypeInformation) {
  struct Case {
    const wchar_t* name;
    HRESULT hr;
    DISPID id;
  };
  for (const Case& c :
       {Case{L"varNull", S_OK, 1}, Case{L"SetNull", S_OK, 2}, Case{L"VARNULL", S_OK, 1},
        Case{L"setnull", S_OK, 2}, Case{L"NoSuchMember", DISP_E_UNKNOWNNAME, DISPID_UNKNOWN}}) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    DISPID id = 0;
    EXPECT_EQ(dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), c.hr)
        << static_cast<const void*>(c.name);
    if (c.hr == S_OK) {
      EXPECT_EQ(id, c.id);
    }
  }
}

TEST_F(Service, InvokeReachesBothMembers) {
  platform::win32::ScopedVariant result;
  EXCEPINFO exception{};
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  UINT bad_argument = 0;
  HRESULT hr = dispatch_->Invoke(1, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                 &result, &exception, &bad_argument);
  ExpectNotImplemented(hr, exception, "varNull");

  for (VARIANT_BOOL value : {VARIANT_TRUE, VARIANT_FALSE}) {
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BOOL;
    argument.boolVal = value;
    DISPPARAMS one{&argument, nullptr, 1, 0};
    EXCEPINFO set_exception{};
    hr = dispatch_->Invoke(2, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &one, nullptr,
                           &set_exception, &bad_argument);
    ExpectNotImplemented(hr, set_exception, "SetNull");
    SysFreeString(set_exception.bstrSource);
    SysFreeString(set_exception.bstrDescription);
    SysFreeString(set_exception.bstrHelpFile);
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

TEST_F(Service, MembersCalledDirectly) {
  IUPnPService_ZYNOmvoService_SCPD* members = nullptr;
  ASSERT_EQ(dispatch_->QueryInterface(IID_IUPnPService_ZYNOmvoService_SCPD,
                                      reinterpret_cast<void**>(&members)),
            S_OK);
  EXPECT_EQ(members->get_varNull(nullptr), E_POINTER);
  VARIANT_BOOL value = 0x1234;
  EXPECT_EQ(members->get_varNull(&value), E_NOTIMPL);
  EXPECT_EQ(value, 0x1234);
  EXPECT_EQ(members->SetNull(VARIANT_TRUE), E_NOTIMPL);
  members->Release();
}

TEST_F(Service, AdviseHoldsOneSinkAndUnadviseReleasesIt) {
  IUPnPEventSource* source = EventSource();
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->Unadvise(nullptr), S_OK);

  CountingSubscriber first(true);
  CountingSubscriber second(true);
  ASSERT_EQ(source->Advise(&first), S_OK);
  EXPECT_EQ(first.references(), 2);
  ASSERT_EQ(source->Advise(&second), S_OK);
  EXPECT_EQ(first.references(), 1);
  EXPECT_EQ(second.references(), 2);
  // Unadvise does not compare its argument with the held sink.
  EXPECT_EQ(source->Unadvise(&first), S_OK);
  EXPECT_EQ(second.references(), 1);

  CountingSubscriber not_a_sink(false);
  EXPECT_EQ(source->Advise(&not_a_sink), E_NOINTERFACE);
  EXPECT_EQ(not_a_sink.references(), 1);
  source->Release();
  EXPECT_EQ(first.state_changes() + second.state_changes(), 0);
}

TEST_F(Service, FinalReleaseReleasesTheSinkOnceAndUnloads) {
  CountingSubscriber sink(true);
  IUPnPEventSource* source = EventSource();
  ASSERT_NE(source, nullptr);
  ASSERT_EQ(source->Advise(&sink), S_OK);
  source->Release();
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  control_->Release();
  control_ = nullptr;
  // The service outlives the device control object while the client holds it.
  EXPECT_EQ(CanUnloadNow(), S_FALSE);
  EXPECT_EQ(sink.references(), 2);
  ReleaseAll();
  EXPECT_EQ(sink.references(), 1);
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace upnp::client
