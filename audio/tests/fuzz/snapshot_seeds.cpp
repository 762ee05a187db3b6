// Writes the snapshot target's seeds: the status blocks the simulated driver publishes, 30 ms
// apart as the monitor reads them, while streams start, run, change format and stop. One file
// per story, in the folder named on the command line.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/tests/host/fake_shared_memory.h"
#include "platform/sim/sim_sync.h"

namespace {

using audio::testing::Pcm;

// Runs the story on a fresh driver whose two ring regions fill the target's 8 KiB data area.
std::vector<uint8_t> Record(const std::function<void(audio::sim::SimVirtualAudioDriver&,
                                                     const std::function<void(int)>&)>& story) {
  platform::sim::VirtualClock clock(1000);
  audio::sim::SimVirtualAudioDriver driver(clock, 4096);
  std::vector<uint8_t> bytes;
  auto snapshots = [&](int count) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(30);
      driver.CatchUp();
      audio::StatusBlock block;
      driver.Snapshot(&block);
      const auto* raw = reinterpret_cast<const uint8_t*>(&block);
      bytes.insert(bytes.end(), raw, raw + sizeof block);
    }
  };
  story(driver, snapshots);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const std::pair<const char*, std::vector<uint8_t>> stories[] = {
      {"driver_running_stream", Record([](auto& driver, auto& snapshots) {
         driver.StartStream(Pcm(44100, 2, 16));
         snapshots(12);
       })},
      {"driver_format_change_and_stop", Record([](auto& driver, auto& snapshots) {
         driver.StartStream(Pcm(48000, 2, 16));
         snapshots(4);
         driver.ChangeFormat(Pcm(22050, 1, 8));
         snapshots(4);
         driver.SetState(audio::kStreamStopped);
         snapshots(2);
       })},
      {"driver_paused_then_new_stream", Record([](auto& driver, auto& snapshots) {
         driver.StartStream(Pcm(11025, 2, 16));
         snapshots(3);
         driver.SetState(audio::kStreamIntermediate);
         snapshots(3);
         driver.StartStream(Pcm(44100, 2, 16));
         snapshots(4);
       })},
  };
  for (const auto& [name, bytes] : stories) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) return 1;
  }
  return 0;
}
