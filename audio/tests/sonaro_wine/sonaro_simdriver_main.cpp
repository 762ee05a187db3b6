// sonaro with the simulated virtual audio driver in place of the device adapter, for the Wine
// tests: Wine runs no kernel driver. Everything else is wired as in sonaro.exe. The driver
// plays one numbered stream from start-up on, at the stream's real byte rate, and at the end
// reports what was asked of it on the debugger output.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "audio/sim/sim_media_device.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/win32/sonaro_root.h"
#include "audio/win32/win32_audio_adapters.h"
#include "platform/win32/win32_sync.h"

namespace {

constexpr char kDevicePath[] =
    "\\\\?\\root#media#0000#{65e8773e-8f56-11d0-a3b9-00a0c9223196}\\wave";
// 48000 Hz: the rate Wine mixes at, so the samples reach the sound card's file unchanged.
constexpr audio::WaveFormatEx kStreamFormat{audio::kWaveFormatPcm, 2, 48000, 192000, 4, 16, 0};

// The driver's device file, noting whether the mapping was released before it was closed.
class WatchedFile : public platform::DeviceFile {
 public:
  WatchedFile(audio::sim::SimVirtualAudioDriver& driver, std::atomic<int>* unmaps_at_close)
      : driver_(driver), file_(driver.OpenFile()), unmaps_at_close_(unmaps_at_close) {}
  ~WatchedFile() override { *unmaps_at_close_ = static_cast<int>(driver_.requests().unmap); }
  bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
               uint32_t output_bytes) override {
    return file_->Control(code, input, input_bytes, output, output_bytes);
  }

 private:
  audio::sim::SimVirtualAudioDriver& driver_;
  std::unique_ptr<platform::DeviceFile> file_;
  std::atomic<int>* unmaps_at_close_;
};

void Report(const audio::sim::SimVirtualAudioDriver& driver, uint32_t lookups,
            int unmaps_at_close) {
  const auto& requests = driver.requests();
  char line[256];
  std::snprintf(line, sizeof line, "sim driver: device looked up %u times", lookups);
  OutputDebugStringA(line);
  std::snprintf(line, sizeof line,
                "sim driver: requests query %u map %u confirm %u unmap %u, device closed %s",
                requests.query, requests.map, requests.confirm, requests.unmap,
                unmaps_at_close < 0   ? "never"
                : unmaps_at_close > 0 ? "after unmap"
                                      : "without unmap");
  OutputDebugStringA(line);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  platform::win32::Win32Clock clock;
  audio::sim::SimVirtualAudioDriver driver(clock, 64 * 1024);
  std::atomic<int> unmaps_at_close{-1};
  platform::sim::SimDevices devices;
  audio::sim::AddMediaDevice(
      devices, {"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {kDevicePath}},
      [&] { return std::make_unique<WatchedFile>(driver, &unmaps_at_close); });
  audio::win32::Win32DirectSoundSystem direct_sound;

  driver.StartStream(kStreamFormat);
  std::atomic<bool> playing{true};
  std::thread feeder([&] {
    while (playing) {
      driver.CatchUp();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  const int exit_code = audio::win32::RunSonaro(instance, devices, driver, direct_sound);
  playing = false;
  feeder.join();
  Report(driver, devices.PresentListsMade(), unmaps_at_close);
  return exit_code;
}
