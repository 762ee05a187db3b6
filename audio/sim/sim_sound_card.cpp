#include "audio/sim/sim_sound_card.h"

#include <algorithm>
#include <cstring>

namespace audio::sim {

namespace {

constexpr platform::HResult kDsErrInvalidParam = platform::kEInvalidArg;
constexpr uint32_t kDsbStatusLooping = 0x00000004;
constexpr uint32_t kDsbSizeMin = 4;
constexpr uint32_t kDsbSizeMax = 0x0FFFFFFF;

}  // namespace

class SimSoundCard::Buffer : public SoundBuffer {
 public:
  Buffer(SimSoundCard& card, bool primary, uint32_t bytes, const WaveFormatEx& format)
      : card_(card), primary_(primary), data_(bytes), format_(format) {
    frequency_ = format.samples_per_sec;
    last_tick_ = card_.clock_.TickCount();
  }
  ~Buffer() override {
    std::lock_guard lock(card_.mutex_);
    std::erase(card_.buffers_, this);
    if (card_.latest_ == this) card_.latest_ = nullptr;
  }

  platform::HResult SetFormat(std::span<const uint8_t> format) override {
    std::lock_guard lock(card_.mutex_);
    if (!primary_ || format.size() < sizeof(WaveFormatEx)) return kDsErrInvalidParam;
    card_.primary_format_.assign(format.begin(), format.end());
    return platform::kSOk;
  }
  platform::HResult GetStatus(uint32_t* status) override {
    std::lock_guard lock(card_.mutex_);
    Advance();
    *status = (playing_ ? kDsbStatusPlaying : 0) | (playing_ && looping_ ? kDsbStatusLooping : 0) |
              (lost_ ? kDsbStatusBufferLost : 0);
    return platform::kSOk;
  }
  platform::HResult Restore() override {
    std::lock_guard lock(card_.mutex_);
    ++card_.restores_tried_;
    if (card_.faults_.restore_failures > 0) {
      --card_.faults_.restore_failures;
      return platform::kDsErrBufferLost;
    }
    lost_ = false;
    return platform::kSOk;
  }
  platform::HResult Lock(uint32_t offset, uint32_t bytes, LockedParts* parts) override {
    std::lock_guard lock(card_.mutex_);
    if (lost_) return platform::kDsErrBufferLost;
    const auto size = static_cast<uint32_t>(data_.size());
    if (offset >= size || bytes > size) return kDsErrInvalidParam;
    *parts = {};
    // Nothing to lock is no error (Wine).
    if (bytes == 0) return platform::kSOk;
    parts->first = data_.data() + offset;
    parts->first_bytes = std::min(bytes, size - offset);
    if (bytes > parts->first_bytes) {
      parts->second = data_.data();
      parts->second_bytes = bytes - parts->first_bytes;
    } else if (card_.faults_.split_next_lock && bytes > 1) {
      card_.faults_.split_next_lock = false;
      parts->first_bytes = bytes / 2;
      parts->second = parts->first + parts->first_bytes;
      parts->second_bytes = bytes - parts->first_bytes;
    }
    return platform::kSOk;
  }
  platform::HResult Unlock(const LockedParts&) override { return platform::kSOk; }
  platform::HResult Play(uint32_t flags) override {
    std::lock_guard lock(card_.mutex_);
    if (lost_) return platform::kDsErrBufferLost;
    Advance();
    playing_ = true;
    looping_ = (flags & kDsbPlayLooping) != 0;
    return platform::kSOk;
  }
  platform::HResult Stop() override {
    std::lock_guard lock(card_.mutex_);
    Advance();
    playing_ = false;
    return platform::kSOk;
  }
  platform::HResult SetCurrentPosition(uint32_t position) override {
    std::lock_guard lock(card_.mutex_);
    Advance();
    position_ = data_.empty() ? 0 : position % static_cast<uint32_t>(data_.size());
    return platform::kSOk;
  }
  platform::HResult GetCurrentPosition(uint32_t* play, uint32_t* write) override {
    std::lock_guard lock(card_.mutex_);
    Advance();
    *play = position_;
    // The write cursor leads by 10 ms while playing; a stopped buffer has no lead (Wine).
    const uint32_t ahead = playing_ ? frequency_ * format_.block_align / 100 : 0;
    *write = data_.empty() ? 0 : (position_ + ahead) % static_cast<uint32_t>(data_.size());
    return platform::kSOk;
  }
  platform::HResult SetFrequency(uint32_t samples_per_sec) override {
    std::lock_guard lock(card_.mutex_);
    if (samples_per_sec < 100 || samples_per_sec > 200000) return kDsErrInvalidParam;
    Advance();
    frequency_ = samples_per_sec;
    return platform::kSOk;
  }
  platform::HResult SetNotificationPositions(std::span<const uint32_t> offsets,
                                             platform::Event* event) override {
    std::lock_guard lock(card_.mutex_);
    if (card_.faults_.fail_notify) return platform::kEFail;
    // Windows refuses a playing buffer, as documented; Wine 8 takes the positions.
    if (playing_) return platform::kDsErrInvalidCall;
    // An offset past the buffer is taken and never fires (Wine).
    notify_positions_.assign(offsets.begin(), offsets.end());
    event_ = event;
    return platform::kSOk;
  }

  // Called with the card locked.
  void Advance() {
    const uint32_t now = card_.clock_.TickCount();
    const uint32_t elapsed = now - last_tick_;
    last_tick_ = now;
    if (!playing_ || lost_ || data_.empty() || format_.block_align == 0) return;
    const uint64_t scaled = uint64_t{elapsed} * frequency_ + remainder_;
    remainder_ = scaled % 1000;
    uint64_t bytes = scaled / 1000 * format_.block_align;
    const auto size = static_cast<uint32_t>(data_.size());
    while (bytes > 0 && playing_) {
      const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(bytes, size - position_));
      Record(now, position_, chunk);
      for (uint32_t offset : notify_positions_) {
        if (offset >= position_ && offset < position_ + chunk && event_) {
          event_->Set();
          ++card_.notifications_fired_;
        }
      }
      bytes -= chunk;
      position_ = (position_ + chunk) % size;
      if (position_ == 0 && !looping_) playing_ = false;
    }
  }

  void Lose() {
    Advance();
    lost_ = true;
    playing_ = false;
    std::fill(data_.begin(), data_.end(), uint8_t{0});
  }

  uint32_t frequency() const { return frequency_; }
  bool playing() const { return playing_; }
  const std::vector<uint32_t>& notify_positions() const { return notify_positions_; }

 private:
  void Record(uint32_t tick, uint32_t from, uint32_t length) {
    std::vector<PlayedChunk>& played = card_.played_;
    if (played.empty() || played.back().tick != tick ||
        played.back().samples_per_sec != frequency_ ||
        played.back().block_align != format_.block_align) {
      played.push_back({tick, frequency_, format_.block_align, {}});
    }
    played.back().bytes.insert(played.back().bytes.end(), data_.begin() + from,
                               data_.begin() + from + length);
  }

  SimSoundCard& card_;
  const bool primary_;
  std::vector<uint8_t> data_;
  WaveFormatEx format_;
  uint32_t frequency_ = 0;
  bool playing_ = false;
  bool looping_ = false;
  bool lost_ = false;
  uint32_t position_ = 0;
  uint32_t last_tick_ = 0;
  uint64_t remainder_ = 0;
  std::vector<uint32_t> notify_positions_;
  platform::Event* event_ = nullptr;
};

class SimSoundCard::Device : public DirectSoundDevice {
 public:
  explicit Device(SimSoundCard& card) : card_(card) {}

  platform::HResult SetCooperativeLevel(WindowHandle window, uint32_t) override {
    std::lock_guard lock(card_.mutex_);
    if (card_.faults_.fail_cooperative_level) return platform::kEFail;
    card_.cooperative_window_ = window;
    return platform::kSOk;
  }

  platform::HResult CreateSoundBuffer(const BufferDescription& description,
                                      std::unique_ptr<SoundBuffer>* buffer) override {
    std::lock_guard lock(card_.mutex_);
    if (card_.faults_.fail_buffer) return platform::kEOutOfMemory;
    const bool primary = (description.flags & kDsbCapsPrimaryBuffer) != 0;
    WaveFormatEx format{};
    if (!primary) {
      if (description.format.size() < sizeof format || description.bytes == 0) {
        return kDsErrInvalidParam;
      }
      std::memcpy(&format, description.format.data(), sizeof format);
      if (format.block_align == 0 || description.bytes < kDsbSizeMin ||
          description.bytes > kDsbSizeMax) {
        return kDsErrInvalidParam;
      }
    }
    if (description.bytes > card_.faults_.largest_buffer_bytes) return platform::kEOutOfMemory;
    // A size that is no whole number of frames grows to the next one (Wine).
    const uint32_t bytes = primary ? 0
                                   : (description.bytes + format.block_align - 1) /
                                         format.block_align * format.block_align;
    auto made = std::make_unique<Buffer>(card_, primary, bytes, format);
    card_.buffers_.push_back(made.get());
    if (!primary) {
      card_.latest_ = made.get();
      ++card_.buffers_created_;
    }
    *buffer = std::move(made);
    return platform::kSOk;
  }

 private:
  SimSoundCard& card_;
};

SimSoundCard::SimSoundCard(platform::Clock& clock) : clock_(clock) {}

SimSoundCard::~SimSoundCard() = default;

void SimSoundCard::CatchUp() {
  std::lock_guard lock(mutex_);
  for (Buffer* buffer : buffers_) buffer->Advance();
}

void SimSoundCard::LoseBuffer() {
  std::lock_guard lock(mutex_);
  if (latest_) latest_->Lose();
}

uint32_t SimSoundCard::restores_tried() const {
  std::lock_guard lock(mutex_);
  return restores_tried_;
}

bool SimSoundCard::HasLiveBuffer() const {
  std::lock_guard lock(mutex_);
  return latest_ != nullptr;
}

uint32_t SimSoundCard::LiveBufferFrequency() const {
  std::lock_guard lock(mutex_);
  return latest_ ? latest_->frequency() : 0;
}

std::vector<uint32_t> SimSoundCard::LiveNotificationPositions() const {
  std::lock_guard lock(mutex_);
  return latest_ ? latest_->notify_positions() : std::vector<uint32_t>{};
}

bool SimSoundCard::LiveBufferPlaying() const {
  std::lock_guard lock(mutex_);
  return latest_ && latest_->playing();
}

platform::HResult SimSoundCard::EnumerateDevices(
    const std::function<bool(const SoundDeviceEntry&)>& callback) {
  for (const SimSoundDevice& device : devices_) {
    if (!callback({device.has_guid ? &device.guid : nullptr, device.description, device.module})) {
      break;
    }
  }
  return platform::kSOk;
}

platform::HResult SimSoundCard::Create(const platform::Guid* device,
                                       std::unique_ptr<DirectSoundDevice>* object) {
  std::lock_guard lock(mutex_);
  if (faults_.fail_create) return platform::kEFail;
  if (device && std::none_of(devices_.begin(), devices_.end(), [&](const SimSoundDevice& d) {
        return d.has_guid && d.guid == *device;
      })) {
    return platform::kEFail;
  }
  opened_device_ = device ? std::optional(*device) : std::nullopt;
  *object = std::make_unique<Device>(*this);
  return platform::kSOk;
}

}  // namespace audio::sim
