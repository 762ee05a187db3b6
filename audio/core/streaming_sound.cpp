#include "audio/core/streaming_sound.h"

#include <cstring>

namespace audio {

uint32_t NotifySize(const WaveFormatEx& format) {
  if (format.block_align == 0) return 0;
  // The rate comes from the driver: 64 bits cannot overflow here, 32 could.
  uint64_t size = uint64_t{format.samples_per_sec} * format.block_align * 150 / 3000;
  size -= size % format.block_align;
  if (size * kBlocksPerBuffer > UINT32_MAX) return 0;
  return static_cast<uint32_t>(size);
}

CSound::CSound(std::unique_ptr<CWaveSource> source, std::unique_ptr<SoundBuffer> buffer,
               uint32_t buffer_size)
    : source_(std::move(source)), buffer_(std::move(buffer)), buffer_size_(buffer_size) {}

CStreamingSound::CStreamingSound(std::unique_ptr<CWaveSource> source,
                                 std::unique_ptr<SoundBuffer> buffer, uint32_t notify_size,
                                 platform::Clock& clock, platform::Sync& sync,
                                 platform::Event* restore_stop)
    : CSound(std::move(source), std::move(buffer), kBlocksPerBuffer * notify_size),
      clock_(clock),
      sync_(sync),
      restore_stop_(restore_stop),
      notify_size_(notify_size) {
  Buffer().SetCurrentPosition(0);
}

uint8_t CStreamingSound::SilenceByte() {
  return Source().HasFormat() && Source().Format().bits_per_sample == 8 ? 0x80 : 0x00;
}

CStreamingSound::Restore CStreamingSound::RestoreBuffer() {
  uint32_t status = 0;
  if (platform::Failed(Buffer().GetStatus(&status)) || !(status & kDsbStatusBufferLost))
    return Restore::kNotLost;
  // Another program may hold the card for good: the retries end, and the stream's end does
  // not wait for them.
  for (uint32_t attempt = 0; attempt < kMaxRestoreAttempts; ++attempt) {
    const platform::HResult result = Buffer().Restore();
    if (platform::Succeeded(result)) return Restore::kRestored;
    if (result == platform::kDsErrBufferLost) clock_.Sleep(kRestoreRetryMs);
    if (RestoreStopped()) break;
  }
  return Restore::kStillLost;
}

bool CStreamingSound::RestoreStopped() {
  if (restore_stop_ == nullptr) return false;
  platform::Event* stop = restore_stop_;
  return sync_.WaitAny({&stop, 1}, 0).kind == platform::WaitResult::Kind::kSignalled;
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
  if (RestoreBuffer() == Restore::kStillLost) return platform::kDsErrBufferLost;
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
  if (uint64_t{next_write_offset_} + available > BufferSize()) {
    available = BufferSize() - next_write_offset_;
  }

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
  switch (RestoreBuffer()) {
    case Restore::kNotLost:
      break;
    case Restore::kRestored:
      Reset();
      Prefill();
      break;
    case Restore::kStillLost:
      return platform::kDsErrBufferLost;
  }
  return Buffer().Play(kDsbPlayLooping);
}

platform::HResult CStreamingSound::HandleNotification() {
  switch (RestoreBuffer()) {
    case Restore::kNotLost:
      break;
    case Restore::kRestored:
      return Prefill();
    case Restore::kStillLost:
      return platform::kDsErrBufferLost;
  }

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
