#include "audio/core/local_playback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "audio/sim/sim_sound_card.h"
#include "audio/tests/host/fake_shared_memory.h"
#include "audio/tests/host/held_thread_sync.h"

namespace audio {
namespace {

using testing::FakeSharedMemory;
using testing::Pcm;

constexpr platform::Guid kCard{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
constexpr platform::Guid kOtherCard{9, 9, 9, {9}};

TEST(NotifySizeTest, FiftyMillisecondsInWholeFrames) {
  EXPECT_EQ(NotifySize(Pcm(44100, 2, 16)), 8820u);
  EXPECT_EQ(NotifySize(Pcm(11025, 2, 16)), 2204u);
  EXPECT_EQ(NotifySize(Pcm(8000, 1, 8)), 400u);
  WaveFormatEx no_align = Pcm(44100, 2, 16);
  no_align.block_align = 0;
  EXPECT_EQ(NotifySize(no_align), 0u);
  // Sizes from the driver's format are not wrapped: 50 ms that 32 bits hold only as a
  // product, then 150 ms that do not fit at all.
  EXPECT_EQ(NotifySize(Pcm(1000000, 16, 16)), 1600000u);
  EXPECT_EQ(NotifySize(Pcm(0xFFFFFFFF, 8, 16)), 0u);
}

class LocalPlaybackTest : public ::testing::Test {
 protected:
  LocalPlaybackTest() : memory_(100000), card_(clock_), playback_(card_, memory_, sync_, clock_) {
    card_.AddDevice({false, {}, u"Primary Sound Driver", u""});
    card_.AddDevice({true, kCard, u"Speakers (Card)", u"card.sys"});
    memory_.block.ready = 1;
    memory_.block.stream_id = 5;
    memory_.block.records[0] = {0, 100000, 0};
  }

  // Opens playback and a stream of the format; the driver's ring is empty.
  void OpenStream(const WaveFormatEx& format) {
    ASSERT_EQ(playback_.OpenLocalPlayback(&kCard), platform::kSOk);
    ASSERT_EQ(playback_.StartStream(FormatBytes(format), 5), platform::kSOk);
    format_ = format;
  }

  // The driver writes n bytes of value into its ring.
  void Write(uint32_t n, uint8_t value) {
    RingRecord& record = memory_.block.records[0];
    for (uint32_t i = 0; i < n; ++i) {
      memory_.data[(record.write_position++) % record.size] = value;
    }
  }

  // Plays for ms milliseconds, handling each notification as the thread would.
  void Play(uint32_t ms) {
    for (uint32_t t = 0; t < ms; ++t) {
      clock_.Advance(1);
      const uint32_t before = card_.notifications_fired();
      card_.CatchUp();
      for (uint32_t n = before; n < card_.notifications_fired(); ++n) {
        last_notification_ = playback_.HandleNotification();
      }
    }
  }

  std::vector<uint8_t> PlayedBytes() const {
    std::vector<uint8_t> all;
    for (const sim::PlayedChunk& chunk : card_.played()) {
      all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
    }
    return all;
  }

  FakeSharedMemory memory_;
  platform::sim::VirtualClock clock_;
  testing::HeldThreadSync sync_;
  sim::SimSoundCard card_;
  LocalPlayback playback_;
  WaveFormatEx format_{};
  platform::HResult last_notification_ = platform::kSOk;
};

TEST_F(LocalPlaybackTest, FindLocalDeviceSkipsThePrimaryAndTakesTheFirstMatch) {
  card_.AddDevice({true, kOtherCard, u"Speakers (Card) 2", u"b.sys"});
  EXPECT_EQ(playback_.FindLocalDevice(u"Speakers"), kCard);
  EXPECT_EQ(playback_.FindLocalDevice(u"Card) 2"), kOtherCard);
  EXPECT_EQ(playback_.FindLocalDevice(u"speakers"), std::nullopt) << "case-sensitive";
  EXPECT_EQ(playback_.FindLocalDevice(u""), std::nullopt) << "an empty name is no match";
  EXPECT_EQ(playback_.Devices().size(), 2u);

  for (int i = 0; i < 30; ++i) card_.AddDevice({true, kOtherCard, std::u16string(300, u'x'), u""});
  playback_.FindLocalDevice(u"x");
  ASSERT_EQ(playback_.Devices().size(), kMaxLocalDevices);
  EXPECT_EQ(playback_.Devices().back().description.size(), kDeviceTextChars - 1);
}

TEST_F(LocalPlaybackTest, FindLocalDeviceNeverTakesTheVirtualDevice) {
  sim::SimSoundCard card(clock_);
  card.AddDevice({true, kOtherCard, u"Speakers (VELQUOR Kestrova Audio)", u"vqvad.sys"});
  card.AddDevice({true, kCard, u"Speakers (Card)", u"card.sys"});
  LocalPlayback playback(card, memory_, sync_, clock_);
  EXPECT_EQ(playback.FindLocalDevice(u"Speakers"), kCard);
  EXPECT_EQ(playback.FindLocalDevice(u"Kestrova"), std::nullopt);
}

TEST_F(LocalPlaybackTest, OpenSetsThePrimaryFormatAndStartsTheNotificationThread) {
  ASSERT_EQ(playback_.OpenLocalPlayback(&kCard), platform::kSOk);
  const WaveFormatEx expected = Pcm(44100, 2, 16);
  EXPECT_EQ(card_.primary_format(),
            std::vector<uint8_t>(FormatBytes(expected).begin(), FormatBytes(expected).end()));
  EXPECT_EQ(sync_.threads_started, 1);
  EXPECT_EQ(sync_.last_priority, platform::ThreadPriority::kAboveNormal);
  EXPECT_EQ(card_.cooperative_window(), card_.ForegroundWindow());

  card_.set_foreground_window(0);
  card_.faults().fail_cooperative_level = true;
  EXPECT_LT(playback_.OpenLocalPlayback(&kCard), 0);
  EXPECT_EQ(playback_.StartStream(FormatBytes(expected), 5), platform::kCoENotInitialized);
}

TEST_F(LocalPlaybackTest, StartStreamBuildsThreeBlocksWithNotificationsAtTheirEnds) {
  OpenStream(Pcm(44100, 2, 16));
  EXPECT_EQ(card_.LiveNotificationPositions(), (std::vector<uint32_t>{8819, 17639, 26459}));
  EXPECT_FALSE(playback_.IsPlaying());
}

TEST_F(LocalPlaybackTest, StartStreamRefusesFormatsWithoutBlocks) {
  ASSERT_EQ(playback_.OpenLocalPlayback(&kCard), platform::kSOk);
  EXPECT_EQ(playback_.StartStream({}, 5), platform::kEInvalidArg);
  WaveFormatEx bad = Pcm(44100, 2, 16);
  bad.block_align = 0;
  EXPECT_EQ(playback_.StartStream(FormatBytes(bad), 5), platform::kEInvalidArg);
  bad = Pcm(10, 1, 8);  // 50 ms is not one frame
  EXPECT_EQ(playback_.StartStream(FormatBytes(bad), 5), platform::kEInvalidArg);
  WaveFormatEx extensible = Pcm(44100, 2, 16);
  extensible.format_tag = 0xFFFE;
  extensible.extra_size = 22;  // extra bytes the 18-byte record does not hold
  EXPECT_EQ(playback_.StartStream(FormatBytes(extensible), 5), platform::kEInvalidArg);
  EXPECT_FALSE(playback_.HasCurrentSound());
  EXPECT_EQ(card_.buffers_created(), 0u);
}

TEST_F(LocalPlaybackTest, PlaybackWaitsForThreeBlocksAndPadsPartialReadsWithSilence) {
  OpenStream(Pcm(44100, 2, 16));
  Write(2 * 8820 + 100, 0x11);
  EXPECT_EQ(playback_.BeginPlayback(), platform::kSOk);
  EXPECT_TRUE(playback_.IsStartPending());
  EXPECT_FALSE(playback_.IsPlaying());
  const uint32_t before = clock_.TickCount();

  Write(8820, 0x22);
  EXPECT_EQ(playback_.BeginPlayback(), platform::kSOk);
  EXPECT_FALSE(playback_.IsStartPending());
  EXPECT_TRUE(playback_.IsPlaying());
  EXPECT_EQ(clock_.TickCount() - before, kPrefillPauseMs);

  // The ring then runs dry: after the written audio the card plays silence.
  Play(400);
  const std::vector<uint8_t> played = PlayedBytes();
  ASSERT_GE(played.size(), 3u * 8820 + 8820);
  EXPECT_EQ(std::count(played.begin(), played.begin() + 3 * 8820 + 100, 0x11) +
                std::count(played.begin(), played.begin() + 3 * 8820 + 100, 0x22),
            3 * 8820 + 100);
  EXPECT_TRUE(
      std::all_of(played.begin() + 3 * 8820 + 100, played.end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(last_notification_, platform::kSOk);
  EXPECT_TRUE(playback_.IsPlaying()) << "without draining it keeps playing silence";
}

TEST_F(LocalPlaybackTest, SilenceFillResumesOnlyWithAWholeBlock) {
  OpenStream(Pcm(44100, 2, 16));
  Write(3 * 8820, 0x11);
  playback_.BeginPlayback();
  Play(200);  // dry: silence
  const size_t dry_end = PlayedBytes().size();
  Write(8000, 0x33);  // less than a block: still silence
  Play(200);
  std::vector<uint8_t> played = PlayedBytes();
  EXPECT_EQ(std::count(played.begin() + dry_end, played.end(), 0x33), 0);
  Write(820, 0x33);  // now a whole block
  Play(300);
  played = PlayedBytes();
  EXPECT_EQ(std::count(played.begin() + dry_end, played.end(), 0x33), 8820);
}

TEST_F(LocalPlaybackTest, EightBitStreamsPadWithMidScale) {
  OpenStream(Pcm(8000, 1, 8));
  Write(3 * 400, 0x10);
  playback_.BeginPlayback();
  Play(260);  // the ring runs dry after three blocks
  const std::vector<uint8_t> played = PlayedBytes();
  ASSERT_GT(played.size(), 1200u);
  EXPECT_TRUE(
      std::all_of(played.begin() + 1200, played.end(), [](uint8_t b) { return b == 0x80; }));
}

TEST_F(LocalPlaybackTest, AStreamThatEndsEarlyStartsAtOnceAndStopsAfterItsLastByte) {
  OpenStream(Pcm(44100, 2, 16));
  Write(8820 + 500, 0x44);  // one block and a bit, and the stream has already ended
  playback_.SetDraining(true);
  EXPECT_EQ(playback_.BeginPlayback(), platform::kSOk);
  EXPECT_TRUE(playback_.IsPlaying());
  Play(600);
  EXPECT_FALSE(playback_.IsPlaying()) << "stopped by itself";
  const std::vector<uint8_t> played = PlayedBytes();
  EXPECT_EQ(std::count(played.begin(), played.end(), 0x44), 8820 + 500);
}

TEST_F(LocalPlaybackTest, AStreamThatEndsAfterTheRingRanDryStillPlaysItsLastPartialBlock) {
  OpenStream(Pcm(44100, 2, 16));
  Write(3 * 8820, 0x11);
  playback_.BeginPlayback();
  Play(200);  // dry: silence fill
  Write(1000, 0x66);
  playback_.SetDraining(true);
  Play(400);
  EXPECT_FALSE(playback_.IsPlaying());
  const std::vector<uint8_t> played = PlayedBytes();
  EXPECT_EQ(std::count(played.begin(), played.end(), 0x66), 1000);
}

TEST_F(LocalPlaybackTest, RateOnlyChangesApplyInPlaceOthersAreNotImplemented) {
  EXPECT_EQ(playback_.ChangeRateInPlace(Pcm(48000, 2, 16)), platform::kSFalse) << "no sound";
  OpenStream(Pcm(44100, 2, 16));
  EXPECT_EQ(playback_.ChangeRateInPlace(Pcm(48000, 2, 16)), platform::kSOk);
  EXPECT_EQ(card_.LiveBufferFrequency(), 48000u);
  EXPECT_EQ(playback_.ChangeRateInPlace(Pcm(48000, 1, 16)), platform::kENotImpl);
  EXPECT_EQ(playback_.ChangeRateInPlace(Pcm(48000, 2, 8)), platform::kENotImpl);
  EXPECT_EQ(card_.LiveBufferFrequency(), 48000u);
}

TEST_F(LocalPlaybackTest, LostBufferIsRestoredAndRefilled) {
  OpenStream(Pcm(44100, 2, 16));
  Write(3 * 8820, 0x11);
  playback_.BeginPlayback();
  Play(20);
  card_.LoseBuffer();
  card_.faults().restore_failures = 2;
  Write(3 * 8820, 0x55);
  const uint32_t before = clock_.TickCount();
  EXPECT_EQ(playback_.BeginPlayback(), platform::kSOk);
  EXPECT_EQ(clock_.TickCount() - before, 2 * kRestoreRetryMs + kPrefillPauseMs);
  EXPECT_TRUE(playback_.IsPlaying());

  // A card that never gives the buffer back: the retries end, and so does the refill.
  card_.LoseBuffer();
  card_.faults().restore_failures = UINT32_MAX;
  const uint32_t lost_at = clock_.TickCount();
  EXPECT_EQ(playback_.BeginPlayback(), platform::kDsErrBufferLost);
  EXPECT_EQ(clock_.TickCount() - lost_at, kMaxRestoreAttempts * kRestoreRetryMs);
  EXPECT_EQ(playback_.HandleNotification(), platform::kDsErrBufferLost);
}

// The refill ends with the first failure, and the buffer stops instead of repeating itself.
TEST_F(LocalPlaybackTest, NotificationFailuresEndTheRefillAndStopTheBuffer) {
  OpenStream(Pcm(44100, 2, 16));
  Write(3 * 8820, 0x11);
  playback_.BeginPlayback();
  card_.faults().split_next_lock = true;
  Play(60);
  EXPECT_EQ(last_notification_, platform::kEUnexpected);
  EXPECT_FALSE(playback_.IsPlaying());

  ASSERT_EQ(playback_.StartStream(FormatBytes(format_), 5), platform::kSOk);
  memory_.block.records[0].write_position = 0;
  Write(3 * 8820, 0x11);
  playback_.BeginPlayback();
  memory_.block.stream_id = 6;  // the ring now belongs to another stream
  Play(60);
  EXPECT_EQ(last_notification_, platform::kEFail);
  EXPECT_FALSE(playback_.IsPlaying());
}

// A refill stuck restoring a lost buffer, on a thread of its own and in real time.
TEST_F(LocalPlaybackTest, AStuckRestoreKeepsItsLockAndGivesUpWhenTheStreamStops) {
  platform::sim::HostClock real_clock;
  testing::HeldThreadSync sync;
  LocalPlayback playback(card_, memory_, sync, real_clock);
  ASSERT_EQ(playback.OpenLocalPlayback(&kCard), platform::kSOk);
  ASSERT_EQ(playback.StartStream(FormatBytes(Pcm(44100, 2, 16)), 5), platform::kSOk);
  card_.LoseBuffer();
  card_.faults().restore_failures = UINT32_MAX;
  std::thread refill([&] { playback.BeginPlayback(); });
  while (card_.restores_tried() == 0) real_clock.Sleep(1);
  // The restore holds the lock throughout: a caller gets in only once it has given up.
  playback.HasCurrentSound();
  EXPECT_GE(card_.restores_tried(), kMaxRestoreAttempts)
      << "got in while the restore held the lock";
  refill.join();

  const uint32_t tried = card_.restores_tried();
  std::thread stuck([&] { playback.BeginPlayback(); });
  while (card_.restores_tried() == tried) real_clock.Sleep(1);
  EXPECT_EQ(playback.StopStream(), platform::kSOk);
  stuck.join();
  EXPECT_LT(card_.restores_tried() - tried, kMaxRestoreAttempts) << "stopped before its bound";
}

TEST_F(LocalPlaybackTest, FailuresOfTheCardLeaveNoSound) {
  card_.faults().fail_create = true;
  EXPECT_EQ(playback_.OpenLocalPlayback(&kCard), platform::kEFail);
  card_.faults() = {};
  ASSERT_EQ(playback_.OpenLocalPlayback(&kCard), platform::kSOk);
  card_.faults().fail_buffer = true;
  EXPECT_EQ(playback_.StartStream(FormatBytes(Pcm(44100, 2, 16)), 5), platform::kEOutOfMemory);
  card_.faults() = {.fail_notify = true};
  EXPECT_EQ(playback_.StartStream(FormatBytes(Pcm(44100, 2, 16)), 5), platform::kEFail);
  EXPECT_FALSE(playback_.HasCurrentSound());
  EXPECT_FALSE(card_.HasLiveBuffer()) << "the buffer made was released";
}

TEST_F(LocalPlaybackTest, StopStreamDeletesTheSoundAndCloseReleasesEverything) {
  OpenStream(Pcm(44100, 2, 16));
  EXPECT_EQ(playback_.StopStream(), platform::kSOk);
  EXPECT_FALSE(playback_.HasCurrentSound());
  EXPECT_FALSE(card_.HasLiveBuffer());
  EXPECT_EQ(playback_.BeginPlayback(), platform::kEFail);
  playback_.CloseLocalPlayback();
  EXPECT_EQ(playback_.StartStream(FormatBytes(Pcm(44100, 2, 16)), 5), platform::kCoENotInitialized);
}

}  // namespace
}  // namespace audio
