#include "upnp/core/device_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_debug_output.h"

namespace upnp {
namespace {

using ::testing::ElementsAre;

// Counts live service references, so tests see what is held and released.
struct ServiceWorld {
  int live = 0;
  int created = 0;
};

class CountedReference : public ServiceReference {
 public:
  explicit CountedReference(ServiceWorld& world) : world_(world) { ++world_.live; }
  ~CountedReference() override { --world_.live; }

 private:
  ServiceWorld& world_;
};

class FakeNewService : public NewServiceObject {
 public:
  FakeNewService(ServiceWorld& world, platform::HResult query) : world_(world), query_(query) {}
  platform::HResult QueryDispatch(std::unique_ptr<ServiceReference>* reference) override {
    if (platform::Failed(query_)) return query_;
    *reference = std::make_unique<CountedReference>(world_);
    return platform::kSOk;
  }

 private:
  ServiceWorld& world_;
  platform::HResult query_;
};

struct RegistrarLog {
  int created = 0;
  int released = 0;
  std::vector<std::u16string> calls;  // "device id|template"
};

class FakeRegistrar : public DeviceRegistrar {
 public:
  FakeRegistrar(RegistrarLog& log, platform::HResult result, std::u16string udn)
      : log_(log), result_(result), udn_(std::move(udn)) {}
  ~FakeRegistrar() override { ++log_.released; }
  platform::HResult GetUniqueDeviceName(std::u16string_view device_id,
                                        std::u16string_view template_udn,
                                        std::u16string* udn) override {
    log_.calls.push_back(std::u16string(device_id) + u"|" + std::u16string(template_udn));
    if (!platform::Failed(result_)) *udn = udn_;
    return result_;
  }

 private:
  RegistrarLog& log_;
  platform::HResult result_;
  std::u16string udn_;
};

class FakeEnvironment : public DeviceControlEnvironment {
 public:
  platform::HResult create_result = platform::kSOk;
  bool yield_object = true;
  platform::HResult query_result = platform::kSOk;
  platform::HResult registrar_result = platform::kSOk;
  platform::HResult udn_result = platform::kSOk;
  std::u16string udn = u"uuid:11111111-2222-3333-4444-555555555555";
  ServiceWorld services;
  RegistrarLog registrar;

  platform::HResult CreateServiceObject(std::unique_ptr<NewServiceObject>* object) override {
    if (platform::Failed(create_result)) return create_result;
    ++services.created;
    if (yield_object) *object = std::make_unique<FakeNewService>(services, query_result);
    return platform::kSOk;
  }
  platform::HResult CreateRegistrar(std::unique_ptr<DeviceRegistrar>* registrar_out) override {
    if (platform::Failed(registrar_result)) return registrar_result;
    ++registrar.created;
    *registrar_out = std::make_unique<FakeRegistrar>(registrar, udn_result, udn);
    return platform::kSOk;
  }
};

class DeviceControlTest : public ::testing::Test {
 protected:
  platform::HResult Initialize() { return control_->Initialize(u"<root/>", u"device-1"); }
  platform::HResult Lookup(std::u16string_view udn, std::u16string_view id) {
    const ServiceReference* service = nullptr;
    return control_->GetServiceObject(udn, id, &service);
  }

  FakeEnvironment env_;
  platform::sim::RecordingDebugOutput debug_;
  std::unique_ptr<DeviceControl> control_ = std::make_unique<DeviceControl>(env_, debug_);
};

TEST_F(DeviceControlTest, NullDescriptionFailsAfterTwoLinesAndCreatesNothing) {
  EXPECT_EQ(control_->Initialize(nullptr, u"device-1"), platform::kEFail);
  EXPECT_THAT(debug_.Lines(),
              ElementsAre("COmvoDCO: Entering Initialize\n", "COmvoDCO: bstrXMLDesc is null\n"));
  EXPECT_EQ(env_.services.created, 0);
  EXPECT_EQ(env_.registrar.created, 0);
}

TEST_F(DeviceControlTest, SuccessLogsEveryStepAndAsksForTheRootDevicesName) {
  EXPECT_EQ(Initialize(), platform::kSOk);
  EXPECT_THAT(
      debug_.Lines(),
      ElementsAre("COmvoDCO: Entering Initialize\n", "COmvoDCO: Creating the service object\n",
                  "COmvoDCO: Querying the IDispatch for the service object\n",
                  "COmvoDCO: Creating the registrar object\n",
                  "COmvoDCO: Exiting the Initialize\n"));
  EXPECT_THAT(env_.registrar.calls, ElementsAre(u"device-1|RootDevice"));
  EXPECT_EQ(env_.registrar.released, 1);
  EXPECT_EQ(env_.services.live, 1);
}

TEST_F(DeviceControlTest, ResultIsThatOfTheLastUniqueNameCall) {
  env_.udn_result = platform::kSFalse;
  EXPECT_EQ(Initialize(), platform::kSFalse);
}

TEST_F(DeviceControlTest, EachFailureIsEFailWithItsLine) {
  struct Case {
    void (*arrange)(FakeEnvironment&);
    const char* line;
  };
  const Case cases[] = {
      {[](FakeEnvironment& e) { e.create_result = platform::kEOutOfMemory; },
       "COmvoDCO: Cannot create the service object\n"},
      {[](FakeEnvironment& e) { e.yield_object = false; },
       "COmvoDCO: The service object is null\n"},
      {[](FakeEnvironment& e) { e.query_result = platform::kENoInterface; },
       "COmvoDCO: Can't get IDispatch interface from the service object\n"},
      {[](FakeEnvironment& e) { e.registrar_result = static_cast<platform::HResult>(0x80040154); },
       "COmvoDCO: Can't create the registrar object\n"},
      {[](FakeEnvironment& e) { e.udn_result = static_cast<platform::HResult>(0x8000FFFF); },
       "COmvoDCO: Can't get the unique device names\n"},
  };
  for (const Case& c : cases) {
    FakeEnvironment env;
    c.arrange(env);
    platform::sim::RecordingDebugOutput debug;
    DeviceControl control(env, debug);
    EXPECT_EQ(control.Initialize(u"<root/>", u"id"), platform::kEFail) << c.line;
    ASSERT_FALSE(debug.Lines().empty());
    EXPECT_EQ(debug.Lines().back(), c.line);
    EXPECT_EQ(env.registrar.created, env.registrar.released) << c.line;
  }
}

TEST_F(DeviceControlTest, ServiceKeptAfterRegistrarFailureUntilDestruction) {
  env_.registrar_result = static_cast<platform::HResult>(0x80040154);
  EXPECT_EQ(Initialize(), platform::kEFail);
  EXPECT_EQ(env_.services.live, 1);
  EXPECT_EQ(Lookup(u"", kOmvoServiceId), platform::kEFail);
  control_.reset();
  EXPECT_EQ(env_.services.live, 0);
}

TEST_F(DeviceControlTest, ServiceLookupBeforeInitializeFails) {
  EXPECT_EQ(Lookup(u"", kOmvoServiceId), platform::kEFail);
  EXPECT_EQ(Lookup(env_.udn, kOmvoServiceId), platform::kEFail);
}

TEST_F(DeviceControlTest, ServiceLookupNeedsBothExactStrings) {
  ASSERT_EQ(Initialize(), platform::kSOk);
  const ServiceReference* service = nullptr;
  EXPECT_EQ(control_->GetServiceObject(env_.udn, kOmvoServiceId, &service), platform::kSOk);
  EXPECT_NE(service, nullptr);

  std::vector<std::u16string> wrong_ids;
  for (size_t i = 0; i < kOmvoServiceId.size(); ++i) {
    std::u16string id(kOmvoServiceId);
    id[i] = id[i] == u'x' ? u'y' : u'x';
    wrong_ids.push_back(id);
  }
  wrong_ids.push_back(u"UPNP:ID:ZYNOMVOSERVICE1.0");
  wrong_ids.push_back(std::u16string(kOmvoServiceId) + u" ");
  wrong_ids.push_back(std::u16string(kOmvoServiceId.substr(1)));
  wrong_ids.push_back(u"");
  for (const std::u16string& id : wrong_ids) {
    EXPECT_EQ(Lookup(env_.udn, id), platform::kEFail) << std::string(id.begin(), id.end());
  }
  EXPECT_EQ(Lookup(env_.udn + u"0", kOmvoServiceId), platform::kEFail);
  EXPECT_EQ(Lookup(env_.udn.substr(0, 10), kOmvoServiceId), platform::kEFail);
  EXPECT_EQ(Lookup(u"RootDevice", kOmvoServiceId), platform::kEFail);
}

TEST_F(DeviceControlTest, NullOutPointerIsEPointer) {
  ASSERT_EQ(Initialize(), platform::kSOk);
  EXPECT_EQ(control_->GetServiceObject(env_.udn, kOmvoServiceId, nullptr), platform::kEPointer);
}

TEST_F(DeviceControlTest, SecondInitializeReplacesServiceAndName) {
  ASSERT_EQ(Initialize(), platform::kSOk);
  const std::u16string first_udn = env_.udn;
  env_.udn = u"uuid:second";
  ASSERT_EQ(Initialize(), platform::kSOk);
  EXPECT_EQ(env_.services.created, 2);
  EXPECT_EQ(env_.services.live, 1);
  EXPECT_EQ(Lookup(first_udn, kOmvoServiceId), platform::kEFail);
  EXPECT_EQ(Lookup(u"uuid:second", kOmvoServiceId), platform::kSOk);
}

TEST_F(DeviceControlTest, FailedSecondInitializeLeavesNoStaleName) {
  ASSERT_EQ(Initialize(), platform::kSOk);
  env_.registrar_result = static_cast<platform::HResult>(0x80040154);
  EXPECT_EQ(Initialize(), platform::kEFail);
  EXPECT_EQ(env_.services.live, 1);
  EXPECT_EQ(Lookup(env_.udn, kOmvoServiceId), platform::kEFail);
}

}  // namespace
}  // namespace upnp
