#include "audio/sim/sim_virtual_audio_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace audio::sim {

namespace {

void PutSample16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

class SimDriverFile : public platform::DeviceFile {
 public:
  explicit SimDriverFile(SimVirtualAudioDriver& driver) : driver_(driver) {}
  bool Control(uint32_t code, const void* input, uint32_t input_bytes, void* output,
               uint32_t output_bytes) override {
    if (code != kIoctlKsProperty || !input || input_bytes < sizeof(KsProperty)) return false;
    KsProperty property;
    std::memcpy(&property, input, sizeof property);
    return driver_.HandleProperty(property, output, output_bytes);
  }

 private:
  SimVirtualAudioDriver& driver_;
};

class SimDriverMemory : public SharedMemory {
 public:
  explicit SimDriverMemory(SimVirtualAudioDriver& driver) : driver_(driver) {}
  void SnapshotStatusBlock(StatusBlock* snapshot) override { driver_.Snapshot(snapshot); }
  uint64_t DataAreaBytes() const override { return driver_.DataAreaBytes(); }
  void CopyFromDataArea(uint64_t offset, void* destination, size_t length) override {
    driver_.CopyData(offset, destination, length);
  }

 private:
  SimVirtualAudioDriver& driver_;
};

}  // namespace

void WriteNumberedFrame(const WaveFormatEx& format, uint32_t stream_id, uint32_t frame,
                        uint8_t* destination) {
  std::memset(destination, 0, format.block_align);
  if (format.bits_per_sample == 16 && format.block_align >= 2) {
    PutSample16(destination, static_cast<uint16_t>(frame));
    if (format.block_align >= 4) {
      PutSample16(destination + 2,
                  static_cast<uint16_t>(((stream_id & 0xFF) << 8) | ((frame >> 16) & 0xFF)));
    }
    return;
  }
  for (uint16_t i = 0; i < format.block_align; ++i) {
    destination[i] = static_cast<uint8_t>(frame >> (8 * (i % 4)));
  }
}

NumberedFrame ReadNumberedFrame(const uint8_t* frame) {
  const uint32_t low = frame[0] | (frame[1] << 8);
  const uint32_t high = frame[2] | (frame[3] << 8);
  return {high >> 8, low | ((high & 0xFF) << 16)};
}

SimVirtualAudioDriver::SimVirtualAudioDriver(platform::Clock& clock, uint32_t region_bytes)
    : clock_(clock), data_(2 * size_t{region_bytes}) {
  for (uint32_t i = 0; i < 2; ++i) {
    block_.records[i].offset = i * region_bytes;
    block_.records[i].size = region_bytes;
  }
  published_at_ = clock_.TickCount();
  block_.ready = 1;
}

void SimVirtualAudioDriver::StartStream(const WaveFormatEx& format, uint32_t state) {
  std::lock_guard lock(mutex_);
  CatchUpLocked();
  ++stream_id_;
  format_ = format;
  state_ = state;
  current_record_ ^= 1;
  block_.records[current_record_].write_position = 0;
  block_.start_stamp = clock_.TickCount();
  frames_written_ = 0;
  running_since_ = clock_.TickCount();
  frames_at_running_since_ = 0;
  PublishLocked();
}

void SimVirtualAudioDriver::SetState(uint32_t state) {
  std::lock_guard lock(mutex_);
  CatchUpLocked();
  state_ = state;
  running_since_ = clock_.TickCount();
  frames_at_running_since_ = frames_written_;
  PublishLocked();
}

void SimVirtualAudioDriver::ChangeFormat(const WaveFormatEx& format) {
  std::lock_guard lock(mutex_);
  CatchUpLocked();
  format_ = format;
  running_since_ = clock_.TickCount();
  frames_at_running_since_ = frames_written_;
  PublishLocked();
}

void SimVirtualAudioDriver::CatchUp() {
  std::lock_guard lock(mutex_);
  CatchUpLocked();
}

void SimVirtualAudioDriver::CatchUpLocked() {
  if (stream_id_ == 0 || state_ != kStreamRunning || format_.block_align == 0) return;
  const uint32_t now = clock_.TickCount();
  const uint64_t due =
      frames_at_running_since_ + uint64_t{now - running_since_} * format_.samples_per_sec / 1000;
  if (due <= frames_written_) return;
  RingRecord record = block_.records[current_record_];
  std::vector<uint8_t> frame(format_.block_align);
  for (uint64_t n = frames_written_; n < due; ++n) {
    WriteNumberedFrame(format_, stream_id_, static_cast<uint32_t>(n), frame.data());
    for (uint8_t byte : frame) {
      data_[record.offset + record.write_position % record.size] = byte;
      ++record.write_position;
    }
  }
  frames_written_ = due;
  write_marks_.push_back({now, stream_id_, frames_written_});
  block_.records[current_record_] = record;
}

void SimVirtualAudioDriver::PublishLocked() {
  block_.stream_state = state_;
  block_.stream_id = stream_id_;
  block_.current_record = current_record_;
  block_.format = format_;
  published_at_ = clock_.TickCount();
}

void SimVirtualAudioDriver::Snapshot(StatusBlock* snapshot) {
  std::lock_guard lock(mutex_);
  CatchUpLocked();
  if (faults_.id_change_after_snapshots != 0 && ++snapshots_ == faults_.id_change_after_snapshots) {
    ++stream_id_;
    block_.stream_id = stream_id_;
  }
  *snapshot = block_;
  const bool writing = clock_.TickCount() - published_at_ < ready_low_ms_;
  snapshot->ready = faults_.ready_stuck || writing ? 0 : 1;
  RingRecord& current = snapshot->records[current_record_];
  if (faults_.record_outside_data) current.offset = static_cast<uint32_t>(data_.size()) - 16;
  if (faults_.ring_size_zero) current.size = 0;
}

void SimVirtualAudioDriver::CopyData(uint64_t offset, void* destination, size_t length) {
  std::lock_guard lock(mutex_);
  if (offset > data_.size() || length > data_.size() - offset) std::abort();  // a core fault
  std::memcpy(destination, data_.data() + offset, length);
}

bool SimVirtualAudioDriver::HandleProperty(const KsProperty& property, void* value,
                                           uint32_t value_bytes) {
  std::lock_guard lock(mutex_);
  if (property.set != kPropSetIdSharedAudio || !value) return false;
  const bool get = property.flags == kKsPropertyTypeGet;
  const bool set = property.flags == kKsPropertyTypeSet;
  SharedAddresses addresses{};
  switch (property.id) {
    case kPropIdQuery:
      ++requests_.query;
      return get && value_bytes >= 24 && !faults_.fail_query;
    case kPropIdMap:
      ++requests_.map;
      if (!get || value_bytes < sizeof addresses || faults_.fail_map) return false;
      mapped_ = true;
      addresses = {kStatusBlockAddress, kDataAreaAddress};
      std::memcpy(value, &addresses, sizeof addresses);
      return true;
    case kPropIdConfirm:
      ++requests_.confirm;
      if (!set || value_bytes < sizeof addresses) return false;
      return true;
    case kPropIdUnmap:
      ++requests_.unmap;
      if (!set || value_bytes < sizeof addresses) return false;
      std::memcpy(&requests_.last_unmap, value, sizeof addresses);
      mapped_ = false;
      return true;
    default:
      return false;
  }
}

std::unique_ptr<platform::DeviceFile> SimVirtualAudioDriver::OpenFile() {
  return std::make_unique<SimDriverFile>(*this);
}

std::unique_ptr<SharedMemory> SimVirtualAudioDriver::Resolve(const SharedAddresses& addresses) {
  std::lock_guard lock(mutex_);
  if (!mapped_ || faults_.mapping_unconfirmed || addresses.status_block != kStatusBlockAddress ||
      addresses.data_area != kDataAreaAddress) {
    return nullptr;
  }
  return std::make_unique<SimDriverMemory>(*this);
}

}  // namespace audio::sim
