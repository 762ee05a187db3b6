// Sixty seconds of virtual time through the whole audio path: streams that start, pause,
// change their rate, end, and are replaced, with every frame numbered so the sound card's
// recording shows any loss, repeat or reordering, and when each frame was played.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "audio/tests/host/audio_path_world.h"
#include "audio/tests/host/fake_shared_memory.h"

namespace audio {
namespace {

using testing::AudioPathWorld;
using testing::Pcm;
using testing::PlayedFrame;

struct StreamReport {
  uint32_t first_number = 0;
  uint32_t last_number = 0;
  uint32_t frames = 0;
  uint32_t lost = 0;      // numbers skipped inside the played run
  uint32_t repeated = 0;  // numbers not above the one before
  uint32_t first_tick = 0;
  uint32_t last_tick = 0;
};

std::map<uint32_t, StreamReport> Report(const std::vector<PlayedFrame>& frames) {
  std::map<uint32_t, StreamReport> reports;
  for (const PlayedFrame& frame : frames) {
    if (frame.stream == 0) continue;
    auto [it, fresh] = reports.try_emplace(frame.stream);
    StreamReport& report = it->second;
    if (fresh) {
      report.first_number = frame.number;
      report.first_tick = frame.tick;
    } else if (frame.number <= report.last_number) {
      ++report.repeated;
    } else {
      report.lost += frame.number - report.last_number - 1;
    }
    report.last_number = frame.number;
    report.last_tick = frame.tick;
    ++report.frames;
  }
  return reports;
}

// When the driver wrote frame `number` of the stream: the first write mark covering it.
class WriteTimes {
 public:
  explicit WriteTimes(const std::vector<sim::SimVirtualAudioDriver::WriteMark>& marks) {
    for (const auto& mark : marks) by_stream_[mark.stream_id].push_back(mark);
  }
  uint32_t Tick(uint32_t stream, uint32_t number) const {
    const auto& marks = by_stream_.at(stream);
    const auto mark = std::upper_bound(
        marks.begin(), marks.end(), number,
        [](uint32_t n, const sim::SimVirtualAudioDriver::WriteMark& m) { return n < m.frames; });
    return mark == marks.end() ? UINT32_MAX : mark->tick;
  }
  uint64_t Written(uint32_t stream) const { return by_stream_.at(stream).back().frames; }

 private:
  std::map<uint32_t, std::vector<sim::SimVirtualAudioDriver::WriteMark>> by_stream_;
};

TEST(WholePathTest, SixtySecondsOfStreamsPlayEveryFrameInOrderWithBoundedDelay) {
  AudioPathWorld world;
  ASSERT_TRUE(world.StartUp());
  sim::SimVirtualAudioDriver& driver = world.driver();
  driver.set_ready_low_ms(3);

  // Stream 1: plays, pauses, resumes, changes its rate in place, ends and drains.
  // Stream 2: plays and ends. Stream 3: replaced while it plays by stream 4, which runs on.
  std::multimap<uint32_t, std::function<void()>> schedule{
      {200, [&] { driver.StartStream(Pcm(44100, 2, 16)); }},
      {8000, [&] { driver.SetState(kStreamIntermediate); }},
      {9000, [&] { driver.SetState(kStreamRunning); }},
      {15000, [&] { driver.ChangeFormat(Pcm(48000, 2, 16)); }},
      {22000, [&] { driver.SetState(kStreamStopped); }},
      {24000, [&] { driver.StartStream(Pcm(48000, 2, 16)); }},
      {36000, [&] { driver.SetState(kStreamStopped); }},
      {38000, [&] { driver.StartStream(Pcm(44100, 2, 16)); }},
      {47000, [&] { driver.StartStream(Pcm(44100, 2, 16)); }},
  };
  world.RunUntil(60000, &schedule);
  EXPECT_TRUE(world.notification_failures().empty());

  const std::vector<PlayedFrame> played = testing::DecodePlayed(world.card().played());
  const auto reports = Report(played);
  const WriteTimes write_times(driver.write_marks());
  auto written = [&](uint32_t stream) { return write_times.Written(stream); };
  ASSERT_EQ(reports.size(), 4u);

  uint32_t max_delay = 0;
  uint64_t delay_sum = 0;
  uint64_t delay_count = 0;
  for (const PlayedFrame& frame : played) {
    if (frame.stream == 0) continue;
    const uint32_t delay = frame.tick - write_times.Tick(frame.stream, frame.number);
    max_delay = std::max(max_delay, delay);
    delay_sum += delay;
    ++delay_count;
  }

  for (const auto& [stream, report] : reports) {
    std::printf(
        "stream %u: played frames %u..%u (%u), written %llu, lost %u, repeated %u, "
        "first played at %u ms after the start\n",
        stream, report.first_number, report.last_number, report.frames,
        static_cast<unsigned long long>(written(stream)), report.lost, report.repeated,
        report.first_tick - AudioPathWorld::kStartTick);
    EXPECT_EQ(report.first_number, 0u) << "stream " << stream << " starts with its first frame";
    EXPECT_EQ(report.lost, 0u) << "stream " << stream;
    EXPECT_EQ(report.repeated, 0u) << "stream " << stream;
  }
  std::printf("delay from the driver's write to the card's play: max %u ms, mean %.1f ms\n",
              max_delay, static_cast<double>(delay_sum) / static_cast<double>(delay_count));

  // Streams that ended were drained to their last frame; the replaced one was cut.
  EXPECT_EQ(reports.at(1).last_number + 1, written(1));
  EXPECT_EQ(reports.at(2).last_number + 1, written(2));
  EXPECT_LT(reports.at(3).last_number + 1, written(3));
  EXPECT_LE(max_delay, 150u + kMonitorPollMs + kPrefillPauseMs);
}

TEST(WholePathTest, AStreamStartsAfterThreeBlocksAndStopsByItselfAfterItsLastFrame) {
  AudioPathWorld world;
  ASSERT_TRUE(world.StartUp());
  sim::SimVirtualAudioDriver& driver = world.driver();
  std::multimap<uint32_t, std::function<void()>> schedule{
      {100, [&] { driver.StartStream(Pcm(44100, 2, 16)); }},
      {2100, [&] { driver.SetState(kStreamStopped); }},
  };
  world.RunUntil(1000, &schedule);
  const std::vector<PlayedFrame> early = testing::DecodePlayed(world.card().played());
  ASSERT_FALSE(early.empty());
  const uint32_t start_delay = early.front().tick - AudioPathWorld::kStartTick - 100;
  // Three 50 ms blocks, at most one poll's wait for them, then the 30 ms pause.
  EXPECT_GE(start_delay, 150u + kPrefillPauseMs);
  EXPECT_LE(start_delay, 150u + kMonitorPollMs + kPrefillPauseMs);

  world.RunUntil(3000, &schedule);
  EXPECT_FALSE(world.card().LiveBufferPlaying());
  const std::vector<PlayedFrame> all = testing::DecodePlayed(world.card().played());
  const auto last_audio =
      std::find_if(all.rbegin(), all.rend(), [](const PlayedFrame& f) { return f.stream != 0; });
  ASSERT_NE(last_audio, all.rend());
  EXPECT_EQ(last_audio->number + 1, 2000u * 44100 / 1000);
  // The buffer stops within one block of silence after the last frame.
  EXPECT_LE(all.size() - static_cast<size_t>(all.rend() - last_audio), 2 * 8820u / 4);
  std::printf("start delay %u ms; silence frames played after the last frame: %zu\n", start_delay,
              all.size() - static_cast<size_t>(all.rend() - last_audio));
}

}  // namespace
}  // namespace audio

namespace audio {
namespace {

TEST(WholePathTest, BadRecordsSilenceTheStreamAndAnIdChangeMidReadStartsTheNextOne) {
  AudioPathWorld world;
  ASSERT_TRUE(world.StartUp());
  sim::SimVirtualAudioDriver& driver = world.driver();
  std::multimap<uint32_t, std::function<void()>> schedule{
      {100, [&] { driver.StartStream(Pcm(44100, 2, 16)); }},
      {1000, [&] { driver.faults().ring_size_zero = true; }},
      {1500, [&] { driver.faults() = {.record_outside_data = true}; }},
      {2000, [&] { driver.faults() = {}; }},
      {3000, [&] { driver.faults() = {.id_change_after_snapshots = 5}; }},
  };
  world.RunUntil(5000, &schedule);

  const std::vector<PlayedFrame> played = testing::DecodePlayed(world.card().played());
  std::map<uint32_t, std::vector<uint32_t>> numbers;
  for (const PlayedFrame& frame : played) {
    if (frame.stream != 0) numbers[frame.stream].push_back(frame.number);
  }
  ASSERT_EQ(numbers.size(), 2u) << "the stream, then the one its id changed to";
  for (const auto& [stream, list] : numbers) {
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end())) << "stream " << stream;
    EXPECT_EQ(std::adjacent_find(list.begin(), list.end()), list.end()) << "no repeats";
  }
  // While the records were bad nothing of the stream was played.
  const auto during_bad = std::count_if(played.begin(), played.end(), [](const PlayedFrame& f) {
    return f.stream != 0 && f.tick > AudioPathWorld::kStartTick + 1300 &&
           f.tick < AudioPathWorld::kStartTick + 2000;
  });
  EXPECT_EQ(during_bad, 0);
  std::printf("notification failures: %zu\n", world.notification_failures().size());
}

}  // namespace
}  // namespace audio
