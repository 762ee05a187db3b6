// CWaveSource: the audio of one driver stream, read out of the shared ring.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "audio/core/driver_records.h"
#include "audio/core/shared_memory_port.h"
#include "platform/hresult.h"

namespace audio {

class CWaveSource {
 public:
  explicit CWaveSource(SharedMemory& memory) : memory_(memory) {}

  // Takes a copy of the format: 18 bytes with the extra size forced to 0 for PCM; for any
  // other tag the 18 bytes and the extra bytes that follow them, which `format` must hold.
  platform::HResult Open(std::span<const uint8_t> format, uint32_t stream_id);
  void Reset();
  // The write position of the stream's current ring record, when the status block still
  // carries this stream; otherwise the last one seen.
  uint64_t WritePosition();
  uint32_t Available();
  // Copies up to `length` bytes that the driver has written and this source has not read.
  platform::HResult Read(uint8_t* destination, uint32_t length, uint32_t* bytes_read);

  bool HasFormat() const { return !format_.empty(); }
  const WaveFormatEx& Format() const;
  std::span<const uint8_t> FormatBytes() const { return format_; }
  // Replaces the first 18 bytes of the format (a rate-only change).
  void SetBaseFormat(const WaveFormatEx& format);
  void SkipTo(uint64_t position) { read_position_ = position; }

 private:
  SharedMemory& memory_;
  std::vector<uint8_t> format_;
  uint32_t stream_id_ = 0;
  uint64_t read_position_ = 0;
  uint64_t write_position_ = 0;
};

}  // namespace audio
