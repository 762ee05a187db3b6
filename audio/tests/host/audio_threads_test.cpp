// The monitor thread and the notification thread on real threads: they play a stream the
// driver writes while the test moves the clock, and shut down without waiting forever.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "audio/core/local_playback.h"
#include "audio/core/stream_monitor.h"
#include "audio/sim/sim_sound_card.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/tests/host/fake_shared_memory.h"
#include "platform/sim/sim_sync.h"

namespace audio {
namespace {

constexpr platform::Guid kCard{7, 7, 7, {7}};

TEST(AudioThreadsTest, ThreadsPlayTheStreamAndStopOnShutdown) {
  platform::sim::VirtualClock clock(1000);
  platform::sim::HostSync sync;
  sim::SimVirtualAudioDriver driver(clock, 65536);
  SharedAddresses addresses{};
  const KsProperty map{kPropSetIdSharedAudio, kPropIdMap, kKsPropertyTypeGet};
  ASSERT_TRUE(driver.HandleProperty(map, &addresses, sizeof addresses));
  const std::unique_ptr<SharedMemory> memory = driver.Resolve(addresses);
  sim::SimSoundCard card(clock);
  card.AddDevice({true, kCard, u"card", u""});
  {
    LocalPlayback playback(card, *memory, sync, clock);
    ASSERT_EQ(playback.OpenLocalPlayback(&kCard), platform::kSOk);
    CStreamMonitor monitor(*memory, playback, sync, clock);
    ASSERT_TRUE(monitor.Start());
    monitor.EnableLocalSound();
    driver.StartStream(testing::Pcm(44100, 2, 16));
    // Virtual time runs at about real speed while the threads poll and refill.
    for (int ms = 0; ms < 1500; ++ms) {
      clock.Advance(1);
      card.CatchUp();
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    monitor.Stop();
    playback.CloseLocalPlayback();
  }
  const auto& played = card.played();
  const bool heard = std::any_of(played.begin(), played.end(), [](const sim::PlayedChunk& c) {
    return std::any_of(c.bytes.begin(), c.bytes.end(), [](uint8_t b) { return b != 0; });
  });
  EXPECT_TRUE(heard);
  EXPECT_GT(card.notifications_fired(), 3u);
}

TEST(AudioThreadsTest, ADriverWhoseReadyFieldStaysDownDoesNotBlockShutdown) {
  platform::sim::HostClock clock;
  platform::sim::HostSync sync;
  sim::SimVirtualAudioDriver driver(clock, 65536);
  SharedAddresses addresses{};
  const KsProperty map{kPropSetIdSharedAudio, kPropIdMap, kKsPropertyTypeGet};
  ASSERT_TRUE(driver.HandleProperty(map, &addresses, sizeof addresses));
  const std::unique_ptr<SharedMemory> memory = driver.Resolve(addresses);
  sim::SimSoundCard card(clock);
  card.AddDevice({true, kCard, u"card", u""});
  LocalPlayback playback(card, *memory, sync, clock);
  ASSERT_EQ(playback.OpenLocalPlayback(&kCard), platform::kSOk);
  CStreamMonitor monitor(*memory, playback, sync, clock);
  driver.faults().ready_stuck = true;
  driver.StartStream(testing::Pcm(44100, 2, 16));
  ASSERT_TRUE(monitor.Start());
  monitor.EnableLocalSound();
  clock.Sleep(200);
  monitor.Stop();  // returns although the poll is still waiting for the ready field
  EXPECT_EQ(monitor.stream_id(), -1) << "nothing was taken over";
  EXPECT_EQ(card.buffers_created(), 0u);
}

}  // namespace
}  // namespace audio
