// CStreamMonitor: follows the driver's stream through the shared status block and drives
// local playback to match it, on a thread that wakes every 30 ms.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "audio/core/driver_records.h"
#include "audio/core/playback_control.h"
#include "audio/core/shared_memory_port.h"
#include "platform/sync.h"

namespace audio {

inline constexpr uint32_t kMonitorPollMs = 30;
// Spans of one advance that may each try to start a waiting buffer; the rest of a larger jump
// of the write position is handed on at once.
inline constexpr uint32_t kMaxStartAttemptsPerAdvance = 64;

class CStreamMonitor {
 public:
  CStreamMonitor(SharedMemory& memory, PlaybackControl& playback, platform::Sync& sync,
                 platform::Clock& clock);
  ~CStreamMonitor();
  CStreamMonitor(const CStreamMonitor&) = delete;
  CStreamMonitor& operator=(const CStreamMonitor&) = delete;

  // Starts the thread (stopping a running one first); false when it cannot be started.
  bool Start();
  void Stop();

  // Set by "EnableLocalSound"; never cleared.
  void EnableLocalSound() { local_sound_enabled_.store(1); }
  uint32_t LocalSoundEnabled() const { return local_sound_enabled_.load(); }

  // One pass over the status block. false when the stop event arrived while waiting for the
  // driver's ready field (the thread then ends).
  bool Poll();
  void AdvanceToWritePosition(const RingRecord& record);

  int32_t stream_id() const { return stream_id_; }
  uint32_t start_stamp() const { return start_stamp_; }
  uint64_t seen_position() const { return seen_position_; }
  bool primed() const { return primed_; }

 private:
  void ThreadBody();
  // Waits for a non-zero ready field; false when stopped meanwhile.
  bool WaitForReady();
  void TakeOver(const StatusBlock& snapshot);

  SharedMemory& memory_;
  PlaybackControl& playback_;
  platform::Sync& sync_;
  platform::Clock& clock_;

  WaveFormatEx format_{};
  uint32_t state_ = kStreamStopped;
  int32_t stream_id_ = -1;
  uint32_t start_stamp_;
  uint64_t seen_position_ = 0;
  bool primed_ = false;
  std::atomic<uint32_t> local_sound_enabled_{0};

  std::unique_ptr<platform::Event> wake_event_;
  std::unique_ptr<platform::Event> stop_event_;
  std::unique_ptr<platform::Thread> thread_;
};

}  // namespace audio
