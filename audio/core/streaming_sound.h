// CSound and CStreamingSound: one looping DirectSound buffer of three notification blocks,
// filled from a CWaveSource ahead of the play cursor.
#pragma once
#include <cstdint>
#include <memory>

#include "audio/core/direct_sound_ports.h"
#include "audio/core/driver_records.h"
#include "audio/core/wave_source.h"
#include "platform/hresult.h"
#include "platform/sync.h"

namespace audio {

inline constexpr uint32_t kBlocksPerBuffer = 3;
inline constexpr uint32_t kStartThresholdBlocks = 3;
inline constexpr uint32_t kPrefillPauseMs = 30;
inline constexpr uint32_t kRestoreRetryMs = 10;
// Restore attempts before a lost buffer is given up (about a second of DSERR_BUFFERLOST).
inline constexpr uint32_t kMaxRestoreAttempts = 100;

// Bytes of one notification block: 50 ms of audio cut down to whole frames; 0 for a format
// that cannot be played in blocks (no block alignment, not one frame in 50 ms, or a buffer of
// three blocks that 32 bits cannot count).
uint32_t NotifySize(const WaveFormatEx& format);

class CSound {
 public:
  CSound(std::unique_ptr<CWaveSource> source, std::unique_ptr<SoundBuffer> buffer,
         uint32_t buffer_size);
  virtual ~CSound() = default;

  CWaveSource& Source() { return *source_; }
  SoundBuffer& Buffer() { return *buffer_; }
  uint32_t BufferSize() const { return buffer_size_; }

 private:
  std::unique_ptr<CWaveSource> source_;
  std::unique_ptr<SoundBuffer> buffer_;
  uint32_t buffer_size_;
};

class CStreamingSound : public CSound {
 public:
  // `restore_stop`, when set, ends the restore of a lost buffer early (it is only looked at,
  // never consumed).
  CStreamingSound(std::unique_ptr<CWaveSource> source, std::unique_ptr<SoundBuffer> buffer,
                  uint32_t notify_size, platform::Clock& clock, platform::Sync& sync,
                  platform::Event* restore_stop);

  // Writes whole blocks ahead of the play cursor; 1 when nothing was written.
  platform::HResult Prefill();
  // Starts looping playback once enough was prefilled (or the stream has ended); 1 when it
  // waits for more.
  platform::HResult StartGate();
  // Refills the block after the one the cursor has just left.
  platform::HResult HandleNotification();
  void Reset();
  enum class Restore { kNotLost, kRestored, kStillLost };
  // Restores a lost buffer, retrying a bounded number of times unless stopped.
  Restore RestoreBuffer();
  bool IsPlaying();

  bool start_pending() const { return start_pending_; }
  void set_draining(bool draining) { draining_ = draining; }

 private:
  uint8_t SilenceByte();
  void FillWithSource(uint8_t* destination, uint32_t length, uint32_t* bytes_read);
  // Counts bytes written into the buffer; `audio` of them came from the source.
  void Wrote(uint32_t length, uint32_t audio);

  bool RestoreStopped();

  platform::Clock& clock_;
  platform::Sync& sync_;
  platform::Event* restore_stop_;
  uint32_t last_play_position_ = 0;
  uint64_t play_progress_ = 0;
  const uint32_t notify_size_;
  uint32_t next_write_offset_ = 0;
  bool fill_silence_ = false;
  bool start_pending_ = false;
  bool draining_ = false;
  uint32_t blocks_written_ = 0;
  // Bytes written into the buffer since the last reset, and how far into them the last byte
  // of audio lies: play progress counts in the same units, silence included.
  uint64_t written_ = 0;
  uint64_t audio_end_ = 0;
};

}  // namespace audio
