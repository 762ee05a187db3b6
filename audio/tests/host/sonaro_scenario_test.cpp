// The whole program on the simulated PC, from start to exit: the default device before,
// during and after, the Sound Mapper values, what reached the sound card, the exit code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "audio/core/sonaro_app.h"
#include "audio/core/sound_mapper.h"
#include "audio/sim/sim_core_audio.h"
#include "audio/sim/sim_frame_window.h"
#include "audio/sim/sim_media_device.h"
#include "audio/sim/sim_sound_card.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/tests/host/test_registry.h"
#include "platform/sim/sim_os_version.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_sync.h"

namespace audio {
namespace {

using platform::RootKey;
using sim::SimFrameWindowSystem;
using sim::SimVirtualAudioDriver;
using testing::WideStringBytes;

constexpr char kDevicePath[] = "\\\\?\\root#media#0000#{65e8773e-8f56-11d0-a3b9-00a0c9223196}";
constexpr char16_t kSpeakers[] = u"Speakers (Realtone HD)";
constexpr platform::Guid kSpeakersCard{0x11111111, 1, 1, {1}};
constexpr char16_t kSpeakersId[] = u"{0.0.0.00000000}.{speakers}";
constexpr char16_t kVirtualId[] = u"{0.0.0.00000000}.{virtual}";
constexpr std::string_view kSoundMapper = "Software\\Microsoft\\Multimedia\\Sound Mapper";
constexpr std::u16string_view kWideSoundMapper = u"Software\\Microsoft\\Multimedia\\Sound Mapper";
constexpr uint32_t kRegionBytes = 64 * 1024;
constexpr WaveFormatEx kCdFormat{kWaveFormatPcm, 2, 44100, 176400, 4, 16, 0};
// Real time for the program's threads: to start local playback (the monitor polls in real
// time), and to answer one step of virtual time.
constexpr auto kPlaybackStartLimit = std::chrono::seconds(10);
constexpr uint32_t kStepAnswerLimitMs = 2000;

enum class Windows { kXp, kVista, k7, k8 };

// A PC with its own sound card as the default playback device and the virtual audio device
// installed beside it.
struct SimulatedPc {
  void SetUpPc(Windows windows, bool driver_installed = true) {
    windows_version_ = windows;
    switch (windows) {
      case Windows::kXp:
        os_ = platform::sim::SimOsVersion(platform::sim::WindowsXp());
        PutPlayback(kSpeakers);
        break;
      case Windows::kVista:
        os_ = platform::sim::SimOsVersion(platform::sim::WindowsVista());
        core_audio_.AddPolicyVariant(sim::VistaPolicyObject());
        break;
      case Windows::k7:
        os_ = platform::sim::SimOsVersion(platform::sim::Windows7());
        core_audio_.AddPolicyVariant(sim::Windows7PolicyObject());
        break;
      case Windows::k8:
        os_ = platform::sim::SimOsVersion(platform::sim::Windows8());
        break;
    }
    if (windows != Windows::kXp) {
      core_audio_.AddEndpoint({kSpeakersId, kSpeakers});
      if (driver_installed) core_audio_.AddEndpoint({kVirtualId, u"Velquor Kestrova Audio"});
      for (auto role :
           {EndpointRole::kConsole, EndpointRole::kMultimedia, EndpointRole::kCommunications}) {
        core_audio_.SetDefault(role, std::u16string(kSpeakersId));
      }
    }
    // The virtual device is listed before the PC's own card: it must never be the local one.
    card_.AddDevice({false, {}, u"Primary Sound Driver", u""});
    if (driver_installed) {
      card_.AddDevice({true, {0x22222222, 2, 2, {2}}, u"Velquor Kestrova Audio", u"vqvad.sys"});
    }
    card_.AddDevice({true, kSpeakersCard, kSpeakers, u"realtone.sys"});
    if (!driver_installed) return;
    sim::AddMediaDevice(devices_, {"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {kDevicePath}},
                        [this] { return driver_.OpenFile(); });
  }

  void PutPlayback(std::u16string_view name) {
    registry_.PutString(RootKey::kCurrentUser, kWideSoundMapper, u"Playback", name);
  }
  std::optional<std::vector<uint8_t>> Playback() const {
    const auto value = registry_.GetValue(RootKey::kCurrentUser, kSoundMapper, "Playback");
    if (!value) return std::nullopt;
    return value->data;
  }
  // The default playback device as the user sees it in the control panel.
  std::optional<std::u16string> DefaultDevice() const {
    if (windows_version_ != Windows::kXp) return core_audio_.DefaultName();
    return registry_.GetString(RootKey::kCurrentUser, kWideSoundMapper, u"Playback");
  }

  CsonaroApp& App() {
    if (!app_) {
      app_ = std::make_unique<CsonaroApp>(SonaroPorts{os_, windows_, devices_, driver_, card_,
                                                      sync_, clock_, registry_, core_audio_,
                                                      core_audio_, core_audio_});
    }
    return *app_;
  }

  int RunToExit() {
    const int exit_code = App().Run();
    App().RunExitAction();
    return exit_code;
  }

  // Ten milliseconds of virtual time: the driver writes them, the card plays them.
  void AdvanceTenMilliseconds() {
    clock_.Advance(10);
    driver_.CatchUp();
    card_.CatchUp();
  }

  // The driver plays a stream for this long while the program runs; time passes in steps of
  // 10 ms, with real time for the program's threads to follow.
  void QueueStreamPlaying(uint32_t milliseconds) {
    windows_.QueueStep([this] { driver_.StartStream(kCdFormat); });
    for (uint32_t t = 0; t < milliseconds; t += 10) {
      windows_.QueueStep([this] {
        AdvanceTenMilliseconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
      });
    }
  }

  // As QueueStreamPlaying, for a test of what is played: time passes until the program plays
  // locally (10 s of real time at most), then for this long, each 10 ms step once the program's
  // threads have answered the one before, so a slow machine neither shortens nor repeats it.
  void QueueStreamPlayedLocally(uint32_t milliseconds) {
    windows_.QueueStep([this] { driver_.StartStream(kCdFormat); });
    windows_.QueueStep([this] {
      const auto limit = std::chrono::steady_clock::now() + kPlaybackStartLimit;
      while (!card_.LiveBufferPlaying() && std::chrono::steady_clock::now() < limit) {
        AdvanceTenMilliseconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
      }
    });
    for (uint32_t t = 0; t < milliseconds; t += 10) {
      windows_.QueueStep([this] {
        AdvanceTenMilliseconds();
        sync_.WaitUntilIdle(kStepAnswerLimitMs);
      });
    }
  }

  // The frame numbers of the virtual device's stream that the card played, in order
  // (silence left out).
  std::vector<uint32_t> PlayedFrames() const {
    std::vector<uint32_t> frames;
    for (const auto& chunk : card_.played()) {
      for (size_t i = 0; i + 3 < chunk.bytes.size(); i += 4) {
        const sim::NumberedFrame frame = sim::ReadNumberedFrame(&chunk.bytes[i]);
        if (frame.stream == 0 && frame.number == 0) continue;
        frames.push_back(frame.number);
      }
    }
    return frames;
  }

  Windows windows_version_ = Windows::k7;
  platform::sim::VirtualClock clock_{5000};
  platform::sim::HostSync sync_;
  platform::sim::SimOsVersion os_;
  SimFrameWindowSystem windows_;
  platform::sim::SimDevices devices_;
  SimVirtualAudioDriver driver_{clock_, kRegionBytes};
  sim::SimSoundCard card_{clock_};
  platform::sim::SimRegistry registry_;
  sim::SimCoreAudio core_audio_;
  std::unique_ptr<CsonaroApp> app_;
};

class SonaroScenario : public ::testing::Test, public SimulatedPc {};

std::string WindowsName(const ::testing::TestParamInfo<Windows>& info) {
  switch (info.param) {
    case Windows::kXp:
      return "Xp";
    case Windows::kVista:
      return "Vista";
    case Windows::k7:
      return "Windows7";
    case Windows::k8:
      return "Windows8";
  }
  return "";
}

class EveryWindows : public SonaroScenario, public ::testing::WithParamInterface<Windows> {};

TEST_P(EveryWindows, SwitchesTheDefaultPlaysLocallyOnRequestAndGivesTheDefaultBack) {
  SetUpPc(GetParam());
  ASSERT_EQ(DefaultDevice(), kSpeakers);
  // Windows 8 has no policy object the program knows: the default cannot be switched there.
  const std::u16string during = GetParam() == Windows::k8 ? kSpeakers : u"Velquor Kestrova Audio";
  std::optional<std::u16string> seen_during;
  windows_.QueueStep([&] { seen_during = DefaultDevice(); });
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  QueueStreamPlayedLocally(600);
  windows_.QueueMessageToFrame(u"CloseSonaro");

  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(seen_during, during);
  EXPECT_EQ(DefaultDevice(), kSpeakers);
  EXPECT_EQ(App().SavedPlaybackName(), kSpeakers);
  EXPECT_EQ(App().state(), SonaroState::kEnded);

  // The stream reached the PC's own card, in order and without repeats.
  EXPECT_EQ(card_.opened_device(), std::optional(std::optional(kSpeakersCard)));
  const auto frames = PlayedFrames();
  ASSERT_GT(frames.size(), 44100u / 10);
  for (size_t i = 1; i < frames.size(); ++i) ASSERT_EQ(frames[i], frames[i - 1] + 1) << i;

  // Mapped once, unmapped once at shutdown, the device closed.
  EXPECT_EQ(driver_.requests().map, 1u);
  EXPECT_EQ(driver_.requests().confirm, 1u);
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_FALSE(App().DeviceOpen());
  if (GetParam() != Windows::kXp) {
    EXPECT_EQ(core_audio_.ComUninitializeCount(), 1);
    EXPECT_EQ(core_audio_.LiveEnumerators(), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Sonaro, EveryWindows,
                         ::testing::Values(Windows::kXp, Windows::kVista, Windows::k7, Windows::k8),
                         WindowsName);

// Whatever ends the program, the default comes back and the mapping is released, once.
TEST_F(SonaroScenario, AQuitOrALogoffShutsDownLikeCloseSonaro) {
  {
    SCOPED_TRACE("WM_QUIT posted while the frame lives");
    SimulatedPc pc;
    pc.SetUpPc(Windows::k7);
    pc.windows_.QueueMessageToFrame(u"EnableLocalSound");
    pc.QueueStreamPlaying(200);
    pc.windows_.QueueQuit(0);
    EXPECT_EQ(pc.RunToExit(), 0);
    EXPECT_EQ(pc.DefaultDevice(), kSpeakers);
    EXPECT_EQ(pc.driver_.requests().unmap, 1u);
    EXPECT_FALSE(pc.App().DeviceOpen());
    EXPECT_EQ(pc.App().monitor(), nullptr);
    ASSERT_TRUE(pc.windows_.Frame());
    EXPECT_FALSE(pc.windows_.Frame()->destroyed);
    // The frame outlives the application object; it must not report to it any more.
    pc.app_.reset();
    EXPECT_FALSE(pc.windows_.FrameLinked());
  }
  {
    SCOPED_TRACE("logoff: WM_QUERYENDSESSION, WM_ENDSESSION TRUE");
    SimulatedPc pc;
    pc.SetUpPc(Windows::kXp);
    pc.windows_.QueueMessageToFrame(u"EnableLocalSound");
    pc.QueueStreamPlaying(200);
    pc.windows_.QueueSessionEnd(false);
    pc.windows_.QueueStep([&] { EXPECT_EQ(pc.driver_.requests().unmap, 0u) << "cancelled"; });
    pc.windows_.QueueSessionEnd(true);
    // The system may end the process right here.
    pc.windows_.QueueStep([&] {
      EXPECT_EQ(pc.DefaultDevice(), kSpeakers);
      EXPECT_EQ(pc.driver_.requests().unmap, 1u);
      EXPECT_FALSE(pc.App().DeviceOpen());
      EXPECT_EQ(pc.App().monitor(), nullptr);
    });
    // It was not ended: later messages and the close find nothing left to do.
    pc.windows_.QueueMessageToFrame(u"EnableLocalSound");
    pc.windows_.QueueMessageToFrame(u"CloseSonaro");
    EXPECT_EQ(pc.RunToExit(), 0);
    EXPECT_EQ(pc.driver_.requests().unmap, 1u);
    EXPECT_EQ(pc.DefaultDevice(), kSpeakers);
    EXPECT_EQ(pc.App().state(), SonaroState::kEnded);
  }
}

TEST_F(SonaroScenario, TheHiddenFrameCarriesTitleAndMarker) {
  SetUpPc(Windows::k7);
  std::optional<sim::SimFrame> frame;
  windows_.QueueStep([&] { frame = windows_.Frame(); });
  windows_.QueueMessageToFrame(u"CloseSonaro");
  EXPECT_EQ(RunToExit(), 0);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->resource_id, 128u);
  EXPECT_EQ(frame->text, u"sonaro");
  EXPECT_EQ(frame->properties.at(u"SONARO application"), 1u);
  EXPECT_FALSE(frame->visible);
  EXPECT_FALSE(frame->owned_popups_shown);
  EXPECT_TRUE(frame->at_bottom);
  EXPECT_EQ(windows_.RegistryKeyName(), u"ZYN SONARO application");
}

TEST_F(SonaroScenario, FirstRunOnXpWithoutSoundMapperKeyStaysIdle) {
  SetUpPc(Windows::kXp);
  registry_.DeleteKey(RootKey::kCurrentUser, kSoundMapper, platform::RegistryView::kDefault);
  std::optional<SonaroState> state;
  windows_.QueueStep([&] { state = App().state(); });
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  QueueStreamPlaying(200);
  windows_.QueueMessageToFrame(u"CloseSonaro");

  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(state, SonaroState::kIdle);
  EXPECT_EQ(App().SavedPlaybackName(), u"Velquor Kestrova Audio");
  EXPECT_THAT(registry_.ValueNames(RootKey::kCurrentUser, kSoundMapper),
              ::testing::ElementsAre("PreferredOnly", "SetupPreferredAudioDevicesCount", "Playback",
                                     "Record"));
  EXPECT_EQ(DefaultDevice(), u"Velquor Kestrova Audio");
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_TRUE(card_.played().empty());
}

TEST_F(SonaroScenario, XpPlaybackNameTooLongForTheBufferIsRestoredEmptyAndPlaysNowhere) {
  SetUpPc(Windows::kXp);
  PutPlayback(std::u16string(130, u'x'));
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  QueueStreamPlaying(200);
  windows_.QueueMessageToFrame(u"CloseSonaro");
  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(App().SavedPlaybackName(), u"");
  EXPECT_EQ(Playback(), WideStringBytes(u""));
  // No name, no card: above all not the virtual device, listed first.
  EXPECT_EQ(card_.opened_device(), std::nullopt);
  EXPECT_TRUE(card_.played().empty());
}

TEST_F(SonaroScenario, DefaultAlreadyTheVirtualDeviceLeavesTheProgramIdle) {
  SetUpPc(Windows::k7);
  core_audio_.SetDefault(EndpointRole::kConsole, std::u16string(kVirtualId));
  std::optional<SonaroState> state;
  bool device_open = true;
  windows_.QueueStep([&] {
    state = App().state();
    device_open = App().DeviceOpen();
  });
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  windows_.QueueStep([&] { EXPECT_EQ(App().state(), SonaroState::kIdle); });
  QueueStreamPlaying(200);
  windows_.QueueMessageToFrame(u"CloseSonaro");

  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(state, SonaroState::kIdle);
  EXPECT_FALSE(device_open);
  EXPECT_EQ(App().monitor(), nullptr);
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_TRUE(card_.played().empty());
  // Set back to the same name at shutdown.
  EXPECT_EQ(DefaultDevice(), u"Velquor Kestrova Audio");
  ASSERT_EQ(core_audio_.PolicyCalls().size(), 2u);
  EXPECT_EQ(core_audio_.PolicyCalls()[1].endpoint_id, kVirtualId);
}

TEST_F(SonaroScenario, WithoutTheVirtualDeviceTheProgramEndsAndChangesNothing) {
  for (Windows windows : {Windows::kXp, Windows::k7}) {
    SimulatedPc pc;
    pc.SetUpPc(windows, /*driver_installed=*/false);
    EXPECT_EQ(pc.RunToExit(), -1);
    EXPECT_EQ(pc.App().state(), SonaroState::kRefused);
    EXPECT_EQ(pc.DefaultDevice(), kSpeakers);
    EXPECT_EQ(pc.Playback(),
              windows == Windows::kXp ? std::optional(WideStringBytes(kSpeakers)) : std::nullopt);
    EXPECT_FALSE(pc.windows_.Frame());
    EXPECT_TRUE(pc.core_audio_.ComInitializeCalls().empty());
  }
}

TEST_F(SonaroScenario, TheDriverRefusingItsMappingEndsTheProgramWithTheDeviceClosed) {
  SetUpPc(Windows::k7);
  driver_.faults().fail_map = true;
  EXPECT_EQ(RunToExit(), -1);
  EXPECT_EQ(driver_.requests().unmap, 0u);
  EXPECT_FALSE(App().DeviceOpen());
  EXPECT_EQ(DefaultDevice(), kSpeakers);
}

TEST_F(SonaroScenario, AMappingTheSystemCannotConfirmIsNeverReadButTheDefaultStillSwitches) {
  SetUpPc(Windows::k7);
  driver_.faults().mapping_unconfirmed = true;
  std::optional<std::u16string> during;
  windows_.QueueStep([&] {
    during = DefaultDevice();
    EXPECT_EQ(App().state(), SonaroState::kIdle);
    EXPECT_EQ(driver_.requests().unmap, 1u);
    EXPECT_FALSE(App().DeviceOpen());
  });
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  QueueStreamPlaying(200);
  windows_.QueueMessageToFrame(u"CloseSonaro");
  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(during, u"Velquor Kestrova Audio");
  EXPECT_EQ(DefaultDevice(), kSpeakers);
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_EQ(card_.opened_device(), std::nullopt);
}

TEST_F(SonaroScenario, SecondInstanceBringsTheFirstForwardAndOpensNoDevice) {
  SetUpPc(Windows::k7);
  windows_.AddForeignWindow({{u"Other property", 1}});
  const WindowHandle first = windows_.AddForeignWindow({{u"SONARO application", 1}});
  EXPECT_EQ(RunToExit(), -1);
  EXPECT_EQ(windows_.Foreground(), first);
  EXPECT_EQ(devices_.PresentListsMade(), 0u);
  EXPECT_EQ(driver_.requests().map, 0u);
  EXPECT_FALSE(windows_.Frame());
  EXPECT_EQ(DefaultDevice(), kSpeakers);
}

TEST_F(SonaroScenario, EnableLocalSoundTwiceIsTheSameAsOnce) {
  SetUpPc(Windows::k7);
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  windows_.QueueMessageToFrame(u"EnableLocalSound");
  windows_.QueueStep([&] {
    EXPECT_EQ(App().state(), SonaroState::kLocalSound);
    EXPECT_EQ(App().monitor()->LocalSoundEnabled(), 1u);
  });
  QueueStreamPlayedLocally(300);
  windows_.QueueMessageToFrame(u"CloseSonaro");
  EXPECT_EQ(RunToExit(), 0);
  EXPECT_FALSE(PlayedFrames().empty());
  EXPECT_EQ(card_.buffers_created(), 1u);
}

TEST_F(SonaroScenario, CloseBeforeEnableLocalSoundShutsDownWithoutPlaying) {
  SetUpPc(Windows::k7);
  QueueStreamPlaying(200);
  windows_.QueueMessageToFrame(u"CloseSonaro");
  windows_.QueueMessageToFrame(u"EnableLocalSound");  // too late: the frame is gone
  EXPECT_EQ(RunToExit(), 0);
  EXPECT_THAT(windows_.DeliveredMessages(), ::testing::ElementsAre(u"CloseSonaro"));
  EXPECT_TRUE(card_.played().empty());
  EXPECT_EQ(card_.buffers_created(), 0u);
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_EQ(DefaultDevice(), kSpeakers);
}

TEST_F(SonaroScenario, UnreadableDefaultNameLeavesTheVirtualDeviceDefaultAfterExit) {
  SetUpPc(Windows::k7);
  core_audio_.AddEndpoint({u"id-hidden", u"Hidden card", kEndpointActive, false});
  core_audio_.SetDefault(EndpointRole::kConsole, u"id-hidden");
  windows_.QueueMessageToFrame(u"CloseSonaro");
  EXPECT_EQ(RunToExit(), 0);
  EXPECT_EQ(App().SavedPlaybackName(), u"<Device not available>");
  EXPECT_EQ(DefaultDevice(), u"Velquor Kestrova Audio");
}

TEST_F(SonaroScenario, FrameThatCannotBeCreatedStillGivesTheDefaultBack) {
  SetUpPc(Windows::k7);
  windows_.FailFrameCreation();
  EXPECT_EQ(RunToExit(), -1);
  EXPECT_EQ(DefaultDevice(), kSpeakers);
  EXPECT_EQ(driver_.requests().unmap, 1u);
  EXPECT_FALSE(App().DeviceOpen());
}

}  // namespace
}  // namespace audio
