#include "audio/core/wave_source.h"

#include <algorithm>
#include <cstring>

#include "audio/core/ring_reader.h"

namespace audio {

platform::HResult CWaveSource::Open(std::span<const uint8_t> format, uint32_t stream_id) {
  if (format.size() < sizeof(WaveFormatEx)) return platform::kEInvalidArg;
  WaveFormatEx base;
  std::memcpy(&base, format.data(), sizeof base);
  size_t bytes = sizeof base;
  if (base.format_tag == kWaveFormatPcm) {
    base.extra_size = 0;
  } else {
    bytes += base.extra_size;
    if (format.size() < bytes) return platform::kEInvalidArg;
  }
  format_.assign(format.begin(), format.begin() + bytes);
  std::memcpy(format_.data(), &base, sizeof base);
  stream_id_ = stream_id;
  Reset();
  return platform::kSOk;
}

void CWaveSource::Reset() {
  read_position_ = 0;
  write_position_ = 0;
}

const WaveFormatEx& CWaveSource::Format() const {
  return *reinterpret_cast<const WaveFormatEx*>(format_.data());
}

void CWaveSource::SetBaseFormat(const WaveFormatEx& format) {
  std::memcpy(format_.data(), &format, sizeof format);
}

uint64_t CWaveSource::WritePosition() {
  StatusBlock snapshot;
  memory_.SnapshotStatusBlock(&snapshot);
  if (snapshot.stream_id == stream_id_) write_position_ = CurrentRecord(snapshot).write_position;
  return write_position_;
}

uint32_t CWaveSource::Available() {
  return static_cast<uint32_t>(WritePosition()) - static_cast<uint32_t>(read_position_);
}

platform::HResult CWaveSource::Read(uint8_t* destination, uint32_t length, uint32_t* bytes_read) {
  *bytes_read = 0;
  if (!destination) return platform::kEInvalidArg;
  StatusBlock snapshot;
  memory_.SnapshotStatusBlock(&snapshot);
  if (snapshot.stream_id != stream_id_) return platform::kEFail;
  const RingRecord& record = CurrentRecord(snapshot);
  // A region outside the mapping is never read: the caller fills silence instead.
  if (!IsReadableRegion(record, memory_.DataAreaBytes())) return platform::kSOk;
  const uint64_t unread =
      record.write_position > read_position_ ? record.write_position - read_position_ : 0;
  const uint64_t take = std::min<uint64_t>(length, unread);
  CopyFromRing(memory_, record, read_position_, destination, static_cast<size_t>(take));
  read_position_ += take;
  *bytes_read = static_cast<uint32_t>(take);
  return platform::kSOk;
}

}  // namespace audio
