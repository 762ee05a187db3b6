#include "audio/core/streaming_sound.h"

#include <cstring>

namespace audio {

uint32_t NotifySize(const WaveFormatEx& format) {
  if (format.block_align == 0) return 0;
  const uint32_t size = format.samples_per_sec * format.block_align * 150 / 3000;
  return size - size % format.block_align;
}

CSound::CSound(std::unique_ptr<CWaveSource> source, std::unique_ptr<SoundBuffer> buffer,
               uint32_t buffer_size)
    : source_(std::move(source)), buffer_(std::move(buffer)), buffer_size_(buffer_size) {}

CStreamingSound::CStreamingSound(std::unique_ptr<CWaveSource> source,
                                 std::unique_ptr<SoundBuffer> buffer, uint32_t notify_size,
                                 platform::Clock& clock)
    : CSound(std::move(source), std::move(buffer), kBlocksPerBuffer * notify_size),
      clock_(clock),
      notify_size_(notify_size) {
  Buffer().SetCurrentPosition(0);
}

uint8_t CStreamingSound::SilenceByte() {
  return Source().HasFormat() && Source().Format().bits_per_sample == 8 ? 0x80 : 0x00;
}

bool CStreamingSound::RestoreBuffer() {
  uint32_t status = 0;
  if (platform::Failed(Buffer().GetStatus(&status)) || !(status & kDsbStatusBufferLost))
    return false;
  for (;;) {
    const platform::HResult result = Buffer().Restore();
    if (platform::Succeeded(result)) return true;
    if (result == platform::kDsErrBufferLost) clock_.Sleep(kRestoreRetryMs);
  }
}

bool CStreamingSound::IsPlaying() {
  uint32_t status = 0;
  return platform::Succeeded(Buffer().GetStatus(&status)) && (status & kDsbStatusPlaying);
}

void CStreamingSound::Reset() {
  last_play_position_ = 0;
  play_progress_ = 0;
  next_write_offset_ = 0;
  fill_silence_ = false;
  written_ = 0;
  audio_end_ = 0;
  RestoreBuffer();
  Source().Reset();
  Buffer().SetCurrentPosition(0);
}

// Reads what the source has into the destination and pads the rest with silence.
void CStreamingSound::FillWithSource(uint8_t* destination, uint32_t length, uint32_t* bytes_read) {
  *bytes_read = 0;
  if (length == 0) return;
  if (platform::Failed(Source().Read(destination, length, bytes_read))) *bytes_read = 0;
  std::memset(destination + *bytes_read, SilenceByte(), length - *bytes_read);
}

void CStreamingSound::Wrote(uint32_t length, uint32_t audio) {
  if (audio > 0) audio_end_ = written_ + audio;
  written_ += length;
}

platform::HResult CStreamingSound::Prefill() {
  RestoreBuffer();
  uint32_t available = Source().Available();
  if (available > BufferSize()) {
    Source().SkipTo(Source().WritePosition());
    available = Source().Available();
  }
  if (!draining_) {
    available -= available % notify_size_;
  } else if (available % notify_size_ != 0) {
    // The stream's last audio goes out in whole blocks padded with silence. Left out, a buffer
    // that starts with nothing written plays its empty blocks first, and the drain stops it
    // before the refill that held this audio is reached.
    available += notify_size_ - available % notify_size_;
  }
  if (available == 0) return platform::kSFalse;
  if (next_write_offset_ + available > BufferSize()) available = BufferSize() - next_write_offset_;

  LockedParts parts;
  const platform::HResult locked = Buffer().Lock(next_write_offset_, available, &parts);
  if (platform::Failed(locked)) return locked;
  uint32_t bytes_read = 0;
  FillWithSource(parts.first, parts.first_bytes, &bytes_read);
  Wrote(parts.first_bytes, bytes_read);
  FillWithSource(parts.second, parts.second_bytes, &bytes_read);
  Wrote(parts.second_bytes, bytes_read);
  const uint32_t locked_bytes = parts.first_bytes + parts.second_bytes;
  next_write_offset_ = (next_write_offset_ + locked_bytes) % BufferSize();
  blocks_written_ += locked_bytes / notify_size_;
  Buffer().Unlock(parts);
  if (blocks_written_ >= kStartThresholdBlocks) clock_.Sleep(kPrefillPauseMs);
  return platform::kSOk;
}

platform::HResult CStreamingSound::StartGate() {
  if (!draining_ && blocks_written_ < kStartThresholdBlocks) {
    start_pending_ = true;
    return platform::kSFalse;
  }
  start_pending_ = false;
  blocks_written_ = 0;
  if (RestoreBuffer()) {
    Reset();
    Prefill();
  }
  return Buffer().Play(kDsbPlayLooping);
}

platform::HResult CStreamingSound::HandleNotification() {
  if (RestoreBuffer()) return Prefill();

  LockedParts parts;
  const platform::HResult locked = Buffer().Lock(next_write_offset_, notify_size_, &parts);
  if (platform::Failed(locked)) return locked;
  if (parts.second_bytes != 0) {
    Buffer().Unlock(parts);
    return platform::kEUnexpected;
  }
  // After the stream's end no whole block may come again: what is left is read as it is.
  const bool read_now = !fill_silence_ || draining_ || Source().Available() >= notify_size_;
  if (read_now) {
    fill_silence_ = false;
    uint32_t bytes_read = 0;
    const platform::HResult read = Source().Read(parts.first, parts.first_bytes, &bytes_read);
    if (platform::Failed(read)) {
      Buffer().Unlock(parts);
      return read;
    }
    if (bytes_read < parts.first_bytes) {
      std::memset(parts.first + bytes_read, SilenceByte(), parts.first_bytes - bytes_read);
      fill_silence_ = true;
    }
    Wrote(parts.first_bytes, bytes_read);
  } else {
    std::memset(parts.first, SilenceByte(), parts.first_bytes);
    Wrote(parts.first_bytes, 0);
  }
  Buffer().Unlock(parts);

  uint32_t play = 0;
  uint32_t write = 0;
  const platform::HResult cursor = Buffer().GetCurrentPosition(&play, &write);
  if (platform::Failed(cursor)) return cursor;
  play_progress_ += (play + BufferSize() - last_play_position_) % BufferSize();
  last_play_position_ = play;

  // The last audio byte's place among the bytes written, not the source's read position:
  // silence played while the ring was dry would otherwise count as audio, and a drain would
  // stop the buffer before its last blocks of audio are heard.
  if (fill_silence_ && draining_ && play_progress_ >= audio_end_) {
    Buffer().Stop();
    draining_ = false;
  }
  next_write_offset_ = (next_write_offset_ + parts.first_bytes) % BufferSize();
  return platform::kSOk;
}

}  // namespace audio
