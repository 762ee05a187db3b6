// The whole audio path on virtual time: the driver model behind the device lookup, the
// stream monitor, local playback and the sound card model, stepped one millisecond at a time.
// The test plays the monitor's and the notification thread's part in a fixed order.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "audio/core/device_access.h"
#include "audio/core/local_playback.h"
#include "audio/core/stream_monitor.h"
#include "audio/sim/sim_media_device.h"
#include "audio/sim/sim_sound_card.h"
#include "audio/sim/sim_virtual_audio_driver.h"
#include "audio/tests/host/held_thread_sync.h"
#include "platform/sim/sim_sync.h"

namespace audio::testing {

inline constexpr platform::Guid kLocalCard{0xCA4D, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};

class AudioPathWorld {
 public:
  static constexpr uint32_t kStartTick = 5000;
  static constexpr uint32_t kRegionBytes = 65536;

  AudioPathWorld() : driver_(clock_, kRegionBytes), card_(clock_), device_(devices_) {
    sim::AddMediaDevice(devices_, {"ROOT\\MEDIA\\0000", {"*VQVADSimple"}, {}, {"\\\\?\\vad#audio"}},
                        [this] { return driver_.OpenFile(); });
    card_.AddDevice({false, {}, u"Primary Sound Driver", u""});
    card_.AddDevice({true, kLocalCard, u"Speakers (Local Card)", u"card.sys"});
  }

  // Start-up as the program does it: open, query, map, confirm, find the card, play.
  bool StartUp() {
    if (device_.OpenVirtualAudioDevice() != 0 || !device_.SendQuery() ||
        !device_.SendMap(&addresses_)) {
      return false;
    }
    device_.SendConfirm(addresses_);
    memory_ = driver_.Resolve(addresses_);
    if (!memory_) return false;
    playback_ = std::make_unique<LocalPlayback>(card_, *memory_, sync_, clock_);
    const std::optional<platform::Guid> card = playback_->FindLocalDevice(u"Local Card");
    if (!card || platform::Failed(playback_->OpenLocalPlayback(&*card))) return false;
    monitor_ = std::make_unique<CStreamMonitor>(*memory_, *playback_, sync_, clock_);
    monitor_->Start();
    monitor_->EnableLocalSound();
    return true;
  }

  // Milliseconds since the world was made.
  uint32_t Now() { return clock_.TickCount() - kStartTick; }

  // Runs until `until` ms, calling `at` for each scheduled action once its time has come.
  void RunUntil(uint32_t until, std::multimap<uint32_t, std::function<void()>>* schedule) {
    while (Now() < until) {
      while (!schedule->empty() && schedule->begin()->first <= Now()) {
        schedule->begin()->second();
        schedule->erase(schedule->begin());
      }
      driver_.CatchUp();
      const uint32_t fired = card_.notifications_fired();
      card_.CatchUp();
      for (uint32_t n = fired; n < card_.notifications_fired(); ++n) {
        const platform::HResult result = playback_->HandleNotification();
        if (platform::Failed(result)) notification_failures_.push_back(result);
      }
      if (Now() >= next_poll_) {
        monitor_->Poll();
        next_poll_ = Now() + kMonitorPollMs;
      }
      clock_.Advance(1);
    }
  }

  sim::SimVirtualAudioDriver& driver() { return driver_; }
  sim::SimSoundCard& card() { return card_; }
  LocalPlayback& playback() { return *playback_; }
  const std::vector<platform::HResult>& notification_failures() const {
    return notification_failures_;
  }

 private:
  platform::sim::VirtualClock clock_{kStartTick};
  HeldThreadSync sync_;
  sim::SimVirtualAudioDriver driver_;
  sim::SimSoundCard card_;
  platform::sim::SimDevices devices_;
  VirtualAudioDevice device_;
  SharedAddresses addresses_{};
  std::unique_ptr<SharedMemory> memory_;
  std::unique_ptr<LocalPlayback> playback_;
  std::unique_ptr<CStreamMonitor> monitor_;
  uint32_t next_poll_ = 0;
  std::vector<platform::HResult> notification_failures_;
};

// A frame the card played, decoded from the numbered signal; stream 0 is silence.
struct PlayedFrame {
  uint32_t tick;
  uint32_t stream;
  uint32_t number;
};

// Decodes 16-bit stereo played chunks: the first channel holds the frame number's low bits,
// the second the stream id and the number's bits 16 to 23.
inline std::vector<PlayedFrame> DecodePlayed(const std::vector<sim::PlayedChunk>& chunks) {
  std::vector<PlayedFrame> frames;
  for (const sim::PlayedChunk& chunk : chunks) {
    for (size_t at = 0; at + 4 <= chunk.bytes.size(); at += 4) {
      const sim::NumberedFrame frame = sim::ReadNumberedFrame(&chunk.bytes[at]);
      frames.push_back({chunk.tick, frame.stream, frame.number});
    }
  }
  return frames;
}

}  // namespace audio::testing
