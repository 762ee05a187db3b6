// The audio path through Wine's DirectSound: the driver simulation inside this program writes
// numbered frames into its ring, the stream monitor and local playback (real threads, the real
// DirectSound adapter) play them on an ALSA output that records to a file, and the file is
// compared with the signal.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/core/local_playback.h"
#include "audio/core/stream_monitor.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/win32/win32_audio_adapters.h"
#include "platform/win32/win32_sync.h"

namespace audio {
namespace {

WaveFormatEx Pcm16Stereo(uint32_t rate) { return {kWaveFormatPcm, 2, rate, rate * 4, 4, 16, 0}; }

// The recording of an output, as Wine's drive Z: shows the runner's folder.
std::vector<uint8_t> ReadRecording(const std::string& name) {
  const char* folder = std::getenv("OV_SOUND_DIR");
  if (!folder) return {};
  std::string path = std::string("Z:") + folder + "/" + name + ".raw";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

struct Recorded {
  uint64_t written = 0;           // frames the driver wrote
  std::vector<uint32_t> numbers;  // of the non-silent frames, in the order played
  std::vector<uint32_t> streams;
  uint32_t silence_runs_inside = 0;
};

// Plays one driver stream for `ms` through the named output, ends it, lets it drain, and
// decodes the output's recording (interleaved 16-bit stereo).
Recorded PlayThrough(const std::string& output, const WaveFormatEx& format, uint32_t ms) {
  platform::win32::Win32Sync sync;
  platform::win32::Win32Clock clock;
  sim::SimVirtualAudioDriver driver(clock, 256 * 1024);
  SharedAddresses addresses{};
  const KsProperty map{kPropSetIdSharedAudio, kPropIdMap, kKsPropertyTypeGet};
  EXPECT_TRUE(driver.HandleProperty(map, &addresses, sizeof addresses));
  const std::unique_ptr<SharedMemory> memory = driver.Resolve(addresses);
  win32::Win32DirectSoundSystem direct_sound;
  Recorded recorded;
  {
    LocalPlayback playback(direct_sound, *memory, sync, clock);
    const std::u16string name(output.begin(), output.end());
    const std::optional<platform::Guid> card = playback.FindLocalDevice(u"Out: " + name);
    EXPECT_TRUE(card.has_value()) << output;
    if (!card) return recorded;
    EXPECT_EQ(playback.OpenLocalPlayback(&*card), platform::kSOk);
    CStreamMonitor monitor(*memory, playback, sync, clock);
    EXPECT_TRUE(monitor.Start());
    monitor.EnableLocalSound();
    driver.StartStream(format);
    clock.Sleep(ms);
    driver.SetState(kStreamStopped);
    clock.Sleep(1000);
    monitor.Stop();
    playback.CloseLocalPlayback();
  }
  for (const auto& mark : driver.write_marks()) recorded.written = mark.frames;

  const std::vector<uint8_t> bytes = ReadRecording(output);
  bool in_silence = false;
  for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    const sim::NumberedFrame frame = sim::ReadNumberedFrame(&bytes[at]);
    if (frame.stream == 0 && frame.number == 0) {
      in_silence = !recorded.numbers.empty();
      continue;
    }
    if (in_silence) ++recorded.silence_runs_inside;
    in_silence = false;
    recorded.numbers.push_back(frame.number);
    recorded.streams.push_back(frame.stream);
  }
  return recorded;
}

TEST(AudioPathWineTest, SixteenBitStereoAt48kHzArrivesFrameForFrame) {
  const Recorded recorded = PlayThrough("ovtest48", Pcm16Stereo(48000), 1500);
  ASSERT_GT(recorded.written, 48000u);
  ASSERT_FALSE(recorded.numbers.empty()) << "nothing was recorded";
  uint32_t out_of_order = 0;
  for (size_t i = 0; i < recorded.numbers.size(); ++i) {
    if (recorded.numbers[i] != i || recorded.streams[i] != 1) ++out_of_order;
  }
  std::printf(
      "48 kHz: driver wrote %llu frames, the output recorded %zu, %u out of place, "
      "%u silent gaps inside the stream\n",
      static_cast<unsigned long long>(recorded.written), recorded.numbers.size(), out_of_order,
      recorded.silence_runs_inside);
  EXPECT_EQ(recorded.numbers.size(), recorded.written) << "every frame, none twice";
  EXPECT_EQ(out_of_order, 0u) << "the same frames in order, bit for bit";
}

TEST(AudioPathWineTest, SixteenBitStereoAt44kHzIsResampledToTheOutputRate) {
  const Recorded recorded = PlayThrough("ovtest44", Pcm16Stereo(44100), 1500);
  ASSERT_GT(recorded.written, 44100u);
  size_t exact = 0;
  for (size_t i = 0; i < recorded.numbers.size(); ++i) {
    if (recorded.numbers[i] == i && recorded.streams[i] == 1) ++exact;
  }
  const double expected = static_cast<double>(recorded.written) * 48000.0 / 44100.0;
  std::printf(
      "44.1 kHz: driver wrote %llu frames, the output recorded %zu non-silent frames "
      "(%.0f expected at 48 kHz), %zu of them equal to the frame sent at that place\n",
      static_cast<unsigned long long>(recorded.written), recorded.numbers.size(), expected, exact);
  // Wine's mixer converts the rate: what holds is the length of the sound, not its samples.
  EXPECT_NEAR(static_cast<double>(recorded.numbers.size()), expected, expected * 0.05);
}

}  // namespace
}  // namespace audio
