// The cost of one stream monitor Poll and of one notification refill, each beside the copy it
// cannot do without (an 80-byte snapshot; one 50 ms block), measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "audio/core/local_playback.h"
#include "audio/core/stream_monitor.h"
#include "audio/sim/sim_sound_card.h"
#include "audio/tests/host/fake_shared_memory.h"
#include "audio/tests/host/held_thread_sync.h"

namespace {

using audio::testing::FakeSharedMemory;
using audio::testing::Pcm;

constexpr platform::Guid kCard{1, 1, 1, {1}};
constexpr uint32_t kRegion = 1 << 20;

// A running stream whose writer moves on by one poll's worth of audio before each read.
void SetUpStream(FakeSharedMemory& memory) {
  memory.block.ready = 1;
  memory.block.stream_state = audio::kStreamRunning;
  memory.block.stream_id = 1;
  memory.block.start_stamp = 2000;
  memory.block.records[0] = {0, kRegion, 0};
  memory.block.format = Pcm(44100, 2, 16);
}

void BM_Poll(benchmark::State& state) {
  FakeSharedMemory memory(kRegion);
  SetUpStream(memory);
  platform::sim::VirtualClock clock(1000);
  audio::testing::HeldThreadSync sync;
  audio::sim::SimSoundCard card(clock);
  card.AddDevice({true, kCard, u"card", u""});
  audio::LocalPlayback playback(card, memory, sync, clock);
  playback.OpenLocalPlayback(&kCard);
  audio::CStreamMonitor monitor(memory, playback, sync, clock);
  monitor.Poll();
  for (auto _ : state) {
    memory.block.records[0].write_position += 5292;  // 30 ms of 44.1 kHz stereo
    monitor.Poll();
  }
}
BENCHMARK(BM_Poll);

void BM_SnapshotCopyPeer(benchmark::State& state) {
  audio::StatusBlock live{};
  audio::StatusBlock copy;
  for (auto _ : state) {
    benchmark::DoNotOptimize(&live);
    std::memcpy(&copy, &live, sizeof copy);
    benchmark::DoNotOptimize(&copy);
  }
}
BENCHMARK(BM_SnapshotCopyPeer);

void BM_Notification(benchmark::State& state) {
  FakeSharedMemory memory(kRegion);
  SetUpStream(memory);
  platform::sim::VirtualClock clock(1000);
  audio::testing::HeldThreadSync sync;
  audio::sim::SimSoundCard card(clock);
  card.AddDevice({true, kCard, u"card", u""});
  audio::LocalPlayback playback(card, memory, sync, clock);
  playback.OpenLocalPlayback(&kCard);
  const audio::WaveFormatEx format = Pcm(44100, 2, 16);
  playback.StartStream(audio::FormatBytes(format), 1);
  memory.block.records[0].write_position = 3 * 8820;
  playback.BeginPlayback();
  for (auto _ : state) {
    memory.block.records[0].write_position += 8820;  // one block arrived since the last one
    benchmark::DoNotOptimize(playback.HandleNotification());
  }
}
BENCHMARK(BM_Notification);

void BM_BlockCopyPeer(benchmark::State& state) {
  std::vector<uint8_t> ring(kRegion);
  std::vector<uint8_t> block(8820);
  size_t at = 0;
  for (auto _ : state) {
    std::memcpy(block.data(), ring.data() + at, block.size());
    benchmark::DoNotOptimize(block.data());
    at = (at + block.size()) % (kRegion - block.size());
  }
}
BENCHMARK(BM_BlockCopyPeer);

}  // namespace
