#include "audio/core/default_endpoint_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "audio/core/sound_mapper.h"
#include "audio/sim/sim_core_audio.h"
#include "audio/tests/host/test_registry.h"
#include "platform/sim/sim_os_version.h"
#include "platform/sim/sim_registry.h"

namespace audio {
namespace {

using platform::RootKey;
using platform::sim::SimRegistry;
using sim::SimCoreAudio;
using sim::SimEndpoint;
using testing::WideStringBytes;

constexpr ProgramOsVersion kXp{5, 1, 2};
constexpr ProgramOsVersion kVista{6, 0, 2};
constexpr ProgramOsVersion kWindows7{6, 1, 2};
constexpr ProgramOsVersion kWindows8{6, 2, 2};
constexpr std::string_view kKey = "Software\\Microsoft\\Multimedia\\Sound Mapper";

constexpr std::u16string_view kWideKey = u"Software\\Microsoft\\Multimedia\\Sound Mapper";

void PutWide(SimRegistry& registry, std::u16string_view name, std::u16string_view text) {
  registry.PutString(RootKey::kCurrentUser, kWideKey, name, text);
}

std::optional<std::vector<uint8_t>> ValueBytes(const SimRegistry& registry, std::string_view name) {
  const auto value = registry.GetValue(RootKey::kCurrentUser, kKey, name);
  if (!value) return std::nullopt;
  return value->data;
}

constexpr std::u16string_view kSpeakersId = u"{0.0.0.00000000}.{speakers}";
constexpr std::u16string_view kVirtualId = u"{0.0.0.00000000}.{virtual}";

// A PC with its sound card as the default for every role, the virtual device beside it,
// and the policy object of the given Windows (none for later versions).
void SetUpPc(SimCoreAudio& audio, OsPolicyClass policy_class) {
  audio.AddEndpoint({std::u16string(kSpeakersId), u"Speakers (Realtone HD)"});
  audio.AddEndpoint({std::u16string(kVirtualId), u"Velquor Kestrova Audio"});
  for (auto role :
       {EndpointRole::kConsole, EndpointRole::kMultimedia, EndpointRole::kCommunications}) {
    audio.SetDefault(role, std::u16string(kSpeakersId));
  }
  if (policy_class == kPolicyClassVista) audio.AddPolicyVariant(sim::VistaPolicyObject());
  if (policy_class == kPolicyClassWindows7) audio.AddPolicyVariant(sim::Windows7PolicyObject());
}

class EndpointControlTest : public ::testing::Test {
 protected:
  DefaultEndpointControl Control(OsPolicyClass policy_class) {
    return DefaultEndpointControl({registry_, audio_, audio_, audio_}, policy_class);
  }

  SimRegistry registry_;
  SimCoreAudio audio_;
};

TEST(OsPolicyClassTest, OnlyWindows6Point0And6Point1HaveAPolicyClass) {
  struct Case {
    platform::OsVersionRecord version;
    OsPolicyClass expected;
  };
  for (const Case& c : {Case{platform::sim::WindowsXp(), 0}, Case{platform::sim::WindowsVista(), 1},
                        Case{platform::sim::Windows7(), 2}, Case{platform::sim::Windows8(), 0},
                        Case{{10, 0, 19045, 2, 1}, 0}}) {
    platform::sim::SimOsVersion os(c.version);
    EXPECT_EQ(ComputeOsPolicyClass(os), c.expected) << c.version.major << "." << c.version.minor;
  }
}

TEST(OsPolicyClassTest, FallsBackToTheBasicRecordAndToNoClassWhenBothAreRefused) {
  platform::sim::SimOsVersion os(platform::sim::Windows7());
  os.SetExtended(std::nullopt);
  EXPECT_EQ(ComputeOsPolicyClass(os), kPolicyClassWindows7);
  os.SetBasic(std::nullopt);
  EXPECT_EQ(ComputeOsPolicyClass(os), kNoPolicyClass);
  EXPECT_TRUE(UsesSoundMapper(ReadProgramOsVersion(os)));
}

TEST_F(EndpointControlTest, FirstRunOnXpCreatesTheKeyWithTheVirtualDeviceAsBothDefaults) {
  auto control = Control(kNoPolicyClass);
  EXPECT_EQ(control.SetDefaultPlayback(kXp), 0u);
  EXPECT_EQ(control.SavedPlaybackName(), kVirtualDeviceName);
  EXPECT_THAT(registry_.ValueNames(RootKey::kCurrentUser, kKey),
              ::testing::ElementsAre("PreferredOnly", "SetupPreferredAudioDevicesCount", "Playback",
                                     "Record"));
  EXPECT_EQ(ValueBytes(registry_, "PreferredOnly"), (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(ValueBytes(registry_, "Record"), WideStringBytes(kVirtualDeviceName));
  EXPECT_TRUE(audio_.ComInitializeCalls().empty());
}

TEST_F(EndpointControlTest, XpSwitchesPlaybackAndRestoresItLeavingRecordAlone) {
  PutWide(registry_, u"Playback", u"SoundMAX Digital Audio");
  PutWide(registry_, u"Record", u"USB Microphone");
  auto control = Control(kNoPolicyClass);
  EXPECT_EQ(control.SetDefaultPlayback(kXp), 0u);
  EXPECT_EQ(control.SavedPlaybackName(), u"SoundMAX Digital Audio");
  EXPECT_EQ(ValueBytes(registry_, "Playback"), WideStringBytes(kVirtualDeviceName));
  control.RestoreDefaultPlayback(kXp);
  EXPECT_EQ(ValueBytes(registry_, "Playback"), WideStringBytes(u"SoundMAX Digital Audio"));
  EXPECT_EQ(ValueBytes(registry_, "Record"), WideStringBytes(u"USB Microphone"));
  EXPECT_FALSE(ValueBytes(registry_, "PreferredOnly"));
}

TEST_F(EndpointControlTest, XpPlaybackNamesFitA260ByteBufferOrAreNotRead) {
  const std::u16string longest(129, u'x');
  PutWide(registry_, u"Playback", longest);
  auto fits = Control(kNoPolicyClass);
  fits.SetDefaultPlayback(kXp);
  EXPECT_EQ(fits.SavedPlaybackName(), longest);

  PutWide(registry_, u"Playback", longest + u"y");
  auto too_long = Control(kNoPolicyClass);
  too_long.SetDefaultPlayback(kXp);
  EXPECT_EQ(too_long.SavedPlaybackName(), u"");
  too_long.RestoreDefaultPlayback(kXp);
  EXPECT_EQ(ValueBytes(registry_, "Playback"), WideStringBytes(u""));
}

TEST_F(EndpointControlTest, XpToleratesPlaybackValuesThatAreNotProperText) {
  // Bytes without a terminator and an odd length, then a number where a name belongs.
  registry_.PutValue(RootKey::kCurrentUser, kKey, "Playback",
                     {platform::ValueType::kString, {'A', 0, 'B', 0, 'C'}, /*wide=*/true});
  auto unterminated = Control(kNoPolicyClass);
  unterminated.SetDefaultPlayback(kXp);
  EXPECT_EQ(unterminated.SavedPlaybackName(), u"AB");

  registry_.PutDword(RootKey::kCurrentUser, kKey, "Playback", 7);
  auto number = Control(kNoPolicyClass);
  number.SetDefaultPlayback(kXp);
  EXPECT_EQ(number.SavedPlaybackName(), u"");
}

TEST_F(EndpointControlTest, XpKeyThatCannotBeOpenedChangesNothing) {
  registry_.InjectFailure(platform::sim::RegistryOperation::kCreate, RootKey::kCurrentUser, kKey,
                          platform::kErrorAccessDenied);
  auto control = Control(kNoPolicyClass);
  EXPECT_EQ(control.SetDefaultPlayback(kXp), platform::kErrorAccessDenied);
  EXPECT_EQ(control.SavedPlaybackName(), u"");
  EXPECT_FALSE(registry_.HasKey(RootKey::kCurrentUser, kKey));
}

TEST(EndpointControlCoreAudioTest, VistaAnd7SwitchOnlyTheConsoleRoleThroughTheirVariant) {
  struct Case {
    ProgramOsVersion version;
    OsPolicyClass policy_class;
    uint32_t method;
  };
  for (const Case& c :
       {Case{kVista, kPolicyClassVista, 12}, Case{kWindows7, kPolicyClassWindows7, 13}}) {
    SimRegistry registry;
    SimCoreAudio audio;
    SetUpPc(audio, c.policy_class);
    DefaultEndpointControl control({registry, audio, audio, audio}, c.policy_class);
    EXPECT_EQ(control.SetDefaultPlayback(c.version), 0u);
    EXPECT_EQ(control.SavedPlaybackName(), u"Speakers (Realtone HD)");
    EXPECT_EQ(audio.DefaultName(), u"Velquor Kestrova Audio");
    EXPECT_EQ(audio.DefaultId(EndpointRole::kMultimedia), kSpeakersId);
    EXPECT_EQ(audio.DefaultId(EndpointRole::kCommunications), kSpeakersId);
    ASSERT_EQ(audio.PolicyCalls().size(), 1u);
    EXPECT_EQ(audio.PolicyCalls()[0].method, c.method);
    EXPECT_EQ(audio.PolicyCalls()[0].endpoint_id, kVirtualId);
    EXPECT_EQ(audio.PolicyCalls()[0].role, EndpointRole::kConsole);

    control.RestoreDefaultPlayback(c.version);
    EXPECT_EQ(audio.DefaultName(), u"Speakers (Realtone HD)");
    EXPECT_FALSE(registry.HasKey(RootKey::kCurrentUser, kKey));
  }
}

TEST_F(EndpointControlTest, LaterWindowsSavesTheNameButCannotSwitch) {
  SetUpPc(audio_, kNoPolicyClass);
  audio_.AddPolicyVariant(sim::Windows7PolicyObject());  // present, but not for this version
  auto control = Control(kNoPolicyClass);
  EXPECT_NE(control.SetDefaultPlayback(kWindows8), 0u);
  EXPECT_EQ(control.SavedPlaybackName(), u"Speakers (Realtone HD)");
  EXPECT_EQ(audio_.DefaultName(), u"Speakers (Realtone HD)");
  EXPECT_TRUE(audio_.PolicyCalls().empty());
}

TEST_F(EndpointControlTest, SearchIsCaseInsensitiveTakesTheLowestIndexAndSkipsUnreadableEndpoints) {
  audio_.AddEndpoint({u"id-unreadable", u"velquor kestrova audio", kEndpointActive, false});
  audio_.AddEndpoint({u"id-noid", u"Velquor Kestrova Audio #2", kEndpointActive, true, false});
  audio_.AddEndpoint({u"id-gone", u"Velquor Kestrova Audio (old)", kEndpointNotPresent});
  audio_.AddEndpoint({u"id-first", u"VELQUOR KESTROVA AUDIO (1)"});
  audio_.AddEndpoint({u"id-second", u"Velquor Kestrova Audio (2)"});
  audio_.AddEndpoint({u"id-speakers", u"Speakers"});
  audio_.SetDefault(EndpointRole::kConsole, u"id-speakers");
  audio_.AddPolicyVariant(sim::Windows7PolicyObject());
  auto control = Control(kPolicyClassWindows7);
  EXPECT_EQ(control.SetDefaultPlayback(kWindows7), 0u);
  EXPECT_EQ(audio_.DefaultId(EndpointRole::kConsole), u"id-first");
  ASSERT_EQ(audio_.PolicyCalls().size(), 1u);
}

TEST_F(EndpointControlTest, DisabledAndUnpluggedEndpointsTakePartInTheSearch) {
  audio_.AddEndpoint({u"id-speakers", u"Speakers"});
  audio_.AddEndpoint({u"id-disabled", u"Velquor Kestrova Audio", kEndpointDisabled});
  audio_.AddEndpoint({u"id-active", u"Velquor Kestrova Audio"});
  audio_.SetDefault(EndpointRole::kConsole, u"id-speakers");
  audio_.AddPolicyVariant(sim::VistaPolicyObject());
  auto control = Control(kPolicyClassVista);
  // The first match decides, even though Windows refuses a disabled endpoint.
  EXPECT_NE(control.SetDefaultPlayback(kVista), 0u);
  ASSERT_EQ(audio_.PolicyCalls().size(), 1u);
  EXPECT_EQ(audio_.PolicyCalls()[0].endpoint_id, u"id-disabled");
  EXPECT_EQ(audio_.DefaultId(EndpointRole::kConsole), u"id-speakers");
}

TEST_F(EndpointControlTest, UnreadableDefaultNameIsSavedAsNotAvailableAndMatchesNothingAtRestore) {
  SetUpPc(audio_, kPolicyClassWindows7);
  audio_.AddEndpoint({u"id-hidden", u"Hidden card", kEndpointActive, false});
  audio_.SetDefault(EndpointRole::kConsole, u"id-hidden");
  auto control = Control(kPolicyClassWindows7);
  control.SetDefaultPlayback(kWindows7);
  EXPECT_EQ(control.SavedPlaybackName(), kDeviceNotAvailable);
  control.RestoreDefaultPlayback(kWindows7);
  EXPECT_EQ(audio_.DefaultName(), u"Velquor Kestrova Audio");
}

TEST_F(EndpointControlTest, NoDefaultEndpointLeavesTheNameEmptyAndTheRestoreChangesNothing) {
  SetUpPc(audio_, kPolicyClassWindows7);
  audio_.SetDefault(EndpointRole::kConsole, std::nullopt);
  auto control = Control(kPolicyClassWindows7);
  EXPECT_EQ(control.SetDefaultPlayback(kWindows7), 0u);
  EXPECT_EQ(control.SavedPlaybackName(), u"");
  control.RestoreDefaultPlayback(kWindows7);
  EXPECT_EQ(audio_.DefaultName(), u"Velquor Kestrova Audio");
  EXPECT_EQ(audio_.PolicyCalls().size(), 1u);
}

TEST_F(EndpointControlTest, ComFallsBackToTheSingleThreadedApartmentAndIsUndoneOnlyIfItSucceeded) {
  SetUpPc(audio_, kPolicyClassWindows7);
  audio_.SetComInitializeResult(ComApartment::kMultithreaded, platform::kRpcEChangedMode);
  audio_.SetComInitializeResult(ComApartment::kSingleThreaded, platform::kSFalse);
  auto control = Control(kPolicyClassWindows7);
  control.SetDefaultPlayback(kWindows7);
  EXPECT_THAT(audio_.ComInitializeCalls(),
              ::testing::ElementsAre(ComApartment::kMultithreaded, ComApartment::kSingleThreaded));
  EXPECT_EQ(audio_.LiveEnumerators(), 1);
  control.RunExitAction();
  EXPECT_EQ(audio_.LiveEnumerators(), 0);
  EXPECT_EQ(audio_.ComUninitializeCount(), 1);

  SimCoreAudio refused;
  SetUpPc(refused, kPolicyClassWindows7);
  refused.SetComInitializeResult(ComApartment::kMultithreaded, platform::kRpcEChangedMode);
  refused.SetComInitializeResult(ComApartment::kSingleThreaded, platform::kRpcEChangedMode);
  DefaultEndpointControl other({registry_, refused, refused, refused}, kPolicyClassWindows7);
  other.SetDefaultPlayback(kWindows7);
  other.RunExitAction();
  EXPECT_EQ(refused.ComUninitializeCount(), 0);
}

TEST_F(EndpointControlTest, MissingEnumeratorReportsTheThreadErrorAndRestoreDoesNothing) {
  SetUpPc(audio_, kPolicyClassWindows7);
  audio_.SetEnumeratorCreationResult(platform::kRegdbEClassNotReg, 1114);
  auto control = Control(kPolicyClassWindows7);
  EXPECT_EQ(control.SetDefaultPlayback(kWindows7), 1114u);
  EXPECT_EQ(control.SavedPlaybackName(), u"");
  control.RestoreDefaultPlayback(kWindows7);
  EXPECT_TRUE(audio_.PolicyCalls().empty());
  EXPECT_EQ(audio_.DefaultName(), u"Speakers (Realtone HD)");
}

}  // namespace
}  // namespace audio
