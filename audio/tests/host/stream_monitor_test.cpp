#include "audio/core/stream_monitor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/tests/host/fake_shared_memory.h"
#include "platform/sim/sim_sync.h"

namespace audio {
namespace {

using testing::FakeSharedMemory;
using testing::Pcm;

// Records the calls in order; its answers are set by the test.
class RecordingPlayback : public PlaybackControl {
 public:
  platform::HResult StartStream(std::span<const uint8_t> format, uint32_t stream_id) override {
    WaveFormatEx f;
    std::memcpy(&f, format.data(), sizeof f);
    calls.push_back("StartStream(" + std::to_string(f.samples_per_sec) + "," +
                    std::to_string(stream_id) + ")");
    has_sound = true;
    return platform::kSOk;
  }
  platform::HResult StopStream() override {
    calls.push_back("StopStream");
    has_sound = false;
    return platform::kSOk;
  }
  platform::HResult BeginPlayback() override {
    calls.push_back("BeginPlayback");
    if (begin_clears_pending) pending = false;
    return platform::kSOk;
  }
  platform::HResult ChangeRateInPlace(const WaveFormatEx& format) override {
    calls.push_back("ChangeRateInPlace(" + std::to_string(format.samples_per_sec) + ")");
    return rate_change_result;
  }
  bool IsPlaying() override { return playing; }
  bool HasCurrentSound() override { return has_sound; }
  bool IsStartPending() override { return has_sound && pending; }
  void SetDraining(bool draining) override {
    calls.push_back("SetDraining(" + std::to_string(draining) + ")");
  }

  std::vector<std::string> calls;
  bool has_sound = false;
  bool playing = false;
  bool pending = false;
  bool begin_clears_pending = false;
  platform::HResult rate_change_result = platform::kSOk;
};

class StreamMonitorTest : public ::testing::Test {
 protected:
  StreamMonitorTest() : clock_(1000), monitor_(memory_, playback_, sync_, clock_) {
    memory_.block.ready = 1;
    memory_.block.records[0] = {0, 1000, 0};
    memory_.block.records[1] = {1000, 1000, 0};
    memory_.block.format = Pcm(44100, 2, 16);
  }

  void SetStream(uint32_t id, uint32_t stamp, uint32_t state) {
    memory_.block.stream_id = id;
    memory_.block.start_stamp = stamp;
    memory_.block.stream_state = state;
  }

  FakeSharedMemory memory_{2000};
  RecordingPlayback playback_;
  platform::sim::HostSync sync_;
  platform::sim::VirtualClock clock_;
  CStreamMonitor monitor_;
};

using Calls = std::vector<std::string>;

TEST_F(StreamMonitorTest, FirstPollTakesOverAStreamNotOlderThanTheMonitorInAnyState) {
  SetStream(7, 1000, kStreamStopped);
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, (Calls{"StopStream", "StartStream(44100,7)"}));
  EXPECT_TRUE(monitor_.primed());
  EXPECT_EQ(monitor_.stream_id(), 7);

  // The same stream is not taken over again; a lower id with a later stamp is not new.
  playback_.calls.clear();
  monitor_.Poll();
  SetStream(6, 1200, kStreamRunning);
  memory_.block.stream_state = kStreamStopped;
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, Calls{});
}

TEST_F(StreamMonitorTest, AnOlderStreamIsTakenOverOnlyWhileRunning) {
  memory_.block.format = {};  // keeps the format test quiet
  SetStream(3, 500, kStreamIntermediate);
  monitor_.Poll();
  EXPECT_FALSE(monitor_.primed());
  memory_.block.stream_state = kStreamRunning;
  monitor_.Poll();
  EXPECT_TRUE(monitor_.primed());
  EXPECT_EQ(monitor_.start_stamp(), 500u);
  EXPECT_EQ(playback_.calls, (Calls{"StopStream", "StartStream(0,3)", "BeginPlayback"}));
}

TEST_F(StreamMonitorTest, TakeOverSeenPositionFollowsTheHalfRegionRule) {
  SetStream(1, 2000, kStreamRunning);
  memory_.block.records[0].write_position = 499;  // less than half of 1000
  monitor_.Poll();
  // Taken over at 0, then the 499 new bytes were handed on by the same poll.
  EXPECT_EQ(monitor_.seen_position(), 499u);

  SetStream(2, 3000, kStreamRunning);
  memory_.block.current_record = 1;
  memory_.block.records[1].write_position = 500;
  monitor_.Poll();
  EXPECT_EQ(monitor_.seen_position(), 500u);
}

TEST_F(StreamMonitorTest, NewStreamHandsOnTheRestOfThePreviousRingFirst) {
  SetStream(1, 2000, kStreamRunning);
  monitor_.Poll();
  memory_.block.records[0].write_position = 300;
  SetStream(2, 2100, kStreamRunning);
  memory_.block.current_record = 1;
  playback_.has_sound = true;
  playback_.pending = true;
  playback_.calls.clear();
  monitor_.Poll();
  ASSERT_GE(playback_.calls.size(), 2u);
  EXPECT_EQ(playback_.calls[0], "BeginPlayback");  // the previous ring's rest paced a start
  EXPECT_EQ(playback_.calls[1], "StopStream");
}

TEST_F(StreamMonitorTest, MoreThanARegionBetweenPollsIsHandedOnInRegionSpans) {
  SetStream(1, 2000, kStreamRunning);
  monitor_.Poll();
  playback_.has_sound = true;
  playback_.pending = true;
  playback_.calls.clear();
  memory_.block.records[0].write_position = 200 + 1000 + 1000 + 100;
  monitor_.AdvanceToWritePosition(memory_.block.records[0]);
  // 0..1000 (to the region end), 1000..2000, 2000..2300: three spans.
  EXPECT_EQ(playback_.calls, (Calls{"BeginPlayback", "BeginPlayback", "BeginPlayback"}));
  EXPECT_EQ(monitor_.seen_position(), 2300u);

  // Once the buffer has started the remaining spans only move the position.
  playback_.begin_clears_pending = true;
  playback_.calls.clear();
  memory_.block.records[0].write_position += 5000;
  monitor_.AdvanceToWritePosition(memory_.block.records[0]);
  EXPECT_EQ(playback_.calls, Calls{"BeginPlayback"});
  EXPECT_EQ(monitor_.seen_position(), 7300u);
}

TEST_F(StreamMonitorTest, FormatChangeWhilePlayingGoesInPlaceOtherwiseRecreates) {
  SetStream(1, 2000, kStreamRunning);
  monitor_.Poll();
  playback_.playing = true;
  playback_.calls.clear();
  memory_.block.format = Pcm(48000, 2, 16);
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, Calls{"ChangeRateInPlace(48000)"});

  // More than the rate: the stream starts again in the new format.
  playback_.rate_change_result = platform::kENotImpl;
  playback_.calls.clear();
  memory_.block.format = Pcm(48000, 1, 16);
  monitor_.Poll();
  EXPECT_EQ(playback_.calls,
            (Calls{"ChangeRateInPlace(48000)", "StartStream(48000,1)", "BeginPlayback"}));

  playback_.playing = false;
  playback_.calls.clear();
  memory_.block.format = Pcm(22050, 2, 16);
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, Calls{"StartStream(22050,1)"});
}

TEST_F(StreamMonitorTest, StateChanges) {
  SetStream(1, 2000, kStreamRunning);
  monitor_.Poll();
  playback_.playing = true;
  playback_.calls.clear();

  memory_.block.stream_state = kStreamIntermediate;
  monitor_.Poll();
  memory_.block.stream_state = kStreamRunning;
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, Calls{}) << "1 -> 2 while playing changes nothing";

  memory_.block.stream_state = kStreamStopped;
  playback_.pending = true;
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, (Calls{"SetDraining(1)", "BeginPlayback"}));

  playback_.calls.clear();
  playback_.playing = false;
  memory_.block.stream_state = kStreamRunning;
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, (Calls{"SetDraining(0)", "BeginPlayback"})) << "0 -> 2 starts again";
}

TEST_F(StreamMonitorTest, BadDriverRecordsAreNeverReadOrDividedBy) {
  SetStream(1, 2000, kStreamRunning);
  monitor_.Poll();
  playback_.has_sound = true;
  playback_.pending = true;
  playback_.calls.clear();
  memory_.block.records[0] = {0, 0, 50};  // size 0
  monitor_.Poll();
  memory_.block.records[0] = {1990, 100, 80};  // past the data area
  monitor_.Poll();
  memory_.block.current_record = 0xFFFFFFFF;  // index outside the pair
  monitor_.Poll();
  EXPECT_EQ(playback_.calls, Calls{});
  EXPECT_EQ(monitor_.seen_position(), 80u);
}

TEST_F(StreamMonitorTest, StreamIdZeroEndsThePollBeforeTheReadyWait) {
  memory_.block.ready = 0;
  SetStream(0, 2000, kStreamRunning);
  EXPECT_TRUE(monitor_.Poll());
  EXPECT_EQ(memory_.snapshots, 1);
}

TEST_F(StreamMonitorTest, ReadyStuckAtZeroStillLetsTheThreadStop) {
  platform::sim::HostClock real_clock;
  CStreamMonitor monitor(memory_, playback_, sync_, real_clock);
  memory_.block.ready = 0;
  SetStream(1, 2000, kStreamRunning);
  ASSERT_TRUE(monitor.Start());
  monitor.EnableLocalSound();
  while (memory_.snapshots < 5) real_clock.Sleep(1);
  monitor.Stop();  // returns: the ready wait watches the stop event
  EXPECT_EQ(playback_.calls, Calls{});
}

TEST_F(StreamMonitorTest, WithLocalSoundOffTheStatusBlockIsNeverRead) {
  platform::sim::HostClock real_clock;
  CStreamMonitor monitor(memory_, playback_, sync_, real_clock);
  SetStream(1, 2000, kStreamRunning);
  ASSERT_TRUE(monitor.Start());
  real_clock.Sleep(100);
  EXPECT_EQ(memory_.snapshots, 0);
  monitor.EnableLocalSound();
  monitor.EnableLocalSound();
  while (memory_.snapshots == 0) real_clock.Sleep(1);
  monitor.Stop();
  EXPECT_EQ(monitor.LocalSoundEnabled(), 1u);
}

}  // namespace
}  // namespace audio
