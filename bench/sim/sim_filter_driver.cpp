#include "bench/sim/sim_filter_driver.h"

#include <cstring>

#include "platform/win_error.h"

namespace vexmark::sim {

namespace {

constexpr std::int32_t kStatusInvalidParameter = static_cast<std::int32_t>(0xC000000D);
constexpr std::int32_t kStatusUnsuccessful = static_cast<std::int32_t>(0xC0000001);
constexpr std::uint32_t kSimAdapter = 0x40000001;

}  // namespace

class SimFilterDriver::Device : public FilterDevice {
 public:
  explicit Device(SimFilterDriver& d) : d_(d) {}
  std::uint32_t Open(const std::string& path) override {
    if (!d_.installed || path != "\\\\.\\ZynKmdFltr") return platform::kErrorFileNotFound;
    open_ = true;
    return 0;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  std::uint32_t Control(std::uint32_t code, std::span<std::uint8_t> output) override {
    std::lock_guard lock(d_.mutex_);
    ++d_.version_queries_;
    if (!open_) return platform::kErrorInvalidHandle;
    if (code != kIoctlKmdfltrQvi || output.size() < sizeof(KmdVersionInfo)) {
      return platform::kErrorInvalidParameter;
    }
    if (d_.version_query_error != 0) return d_.version_query_error;
    std::memcpy(output.data(), &d_.version, sizeof(KmdVersionInfo));
    return 0;
  }

 private:
  SimFilterDriver& d_;
  bool open_ = false;
};

class SimFilterDriver::Thunks : public DisplayKernelThunks {
 public:
  explicit Thunks(SimFilterDriver& d) : d_(d) {}
  bool Load() override { return d_.thunks_present; }
  void Unload() override {}
  std::int32_t OpenAdapterFromHdc(DcHandle dc, std::uint32_t& adapter) override {
    if (dc == 0 || !d_.installed) return kStatusInvalidParameter;
    adapter = kSimAdapter;
    return 0;
  }
  std::int32_t CloseAdapter(std::uint32_t /*adapter*/) override { return 0; }
  std::int32_t Escape(std::uint32_t adapter, std::uint32_t flags,
                      std::span<std::uint8_t> data) override {
    return d_.HandleEscape(adapter, flags, data);
  }

 private:
  SimFilterDriver& d_;
};

class SimFilterDriver::Events : public UpdateEvents {
 public:
  explicit Events(SimFilterDriver& d) : d_(d) {}
  std::uint32_t Open(int index, const std::string& name) override {
    std::lock_guard lock(d_.mutex_);
    const char* expected =
        index == 0 ? "Global\\SendPingUpdateInProgress" : "Global\\SendPongUpdateInProgress";
    if (!d_.connected_ || name != expected) return platform::kErrorFileNotFound;
    d_.opened_[index] = true;
    return 0;
  }
  void Close(int index) override {
    std::lock_guard lock(d_.mutex_);
    d_.opened_[index] = false;
  }
  void Reset(int index) override {
    std::lock_guard lock(d_.mutex_);
    d_.signalled_[index] = false;
  }
  WaitKind Wait(std::uint32_t timeout_ms, std::uint32_t& error) override {
    bool deliver = false;
    int next = 0;
    {
      std::lock_guard lock(d_.mutex_);
      if (d_.fail_waits || !d_.opened_[0] || !d_.opened_[1]) {
        error = platform::kErrorInvalidHandle;
        return WaitKind::kFailed;
      }
      deliver = d_.deliver_on_wait && d_.connect_mode_ != 0 && d_.connected_;
      next = d_.next_delivery_;
    }
    if (deliver) d_.DeliverFrame(next);
    for (int attempt = 0; attempt < 2; ++attempt) {
      {
        std::lock_guard lock(d_.mutex_);
        if (d_.signalled_[0]) return WaitKind::kPing;
        if (d_.signalled_[1]) return WaitKind::kPong;
      }
      if (attempt == 0) d_.clock_.Sleep(timeout_ms);
    }
    return WaitKind::kTimedOut;
  }

 private:
  SimFilterDriver& d_;
};

class SimFilterDriver::Memory : public AddressSpace {
 public:
  explicit Memory(SimFilterDriver& d) : d_(d) {}
  std::uint64_t AddressOf(const void* buffer) override {
    std::lock_guard lock(d_.mutex_);
    for (const auto& [address, region] : d_.regions_) {
      if (region.first == buffer) return address;
    }
    return d_.Register(buffer, sizeof(KmdCommandBlock));
  }
  std::span<const std::uint8_t> Resolve(std::uint32_t address, std::size_t length) override {
    std::lock_guard lock(d_.mutex_);
    for (const auto& [start, region] : d_.regions_) {
      if (address >= start && address - start + length <= region.second) {
        return {region.first + (address - start), length};
      }
    }
    return {};
  }

 private:
  SimFilterDriver& d_;
};

SimFilterDriver::SimFilterDriver(SimScreen& screen, platform::Clock& clock)
    : screen_(screen),
      clock_(clock),
      device_(std::make_unique<Device>(*this)),
      thunks_(std::make_unique<Thunks>(*this)),
      events_(std::make_unique<Events>(*this)),
      memory_(std::make_unique<Memory>(*this)) {}

SimFilterDriver::~SimFilterDriver() = default;

FilterDevice& SimFilterDriver::device() { return *device_; }
DisplayKernelThunks& SimFilterDriver::thunks() { return *thunks_; }
UpdateEvents& SimFilterDriver::events() { return *events_; }
AddressSpace& SimFilterDriver::memory() { return *memory_; }

std::uint64_t SimFilterDriver::Register(const void* pointer, std::size_t size) {
  std::uint64_t address = next_address_;
  next_address_ += 0x1000000;
  regions_[address] = {static_cast<const std::uint8_t*>(pointer), size};
  return address;
}

std::uint32_t SimFilterDriver::row_bytes() const {
  int bits = screen_.bits_per_pixel() == 24 ? 32 : screen_.bits_per_pixel();
  return static_cast<std::uint32_t>(screen_.width() * bits / 8);
}

std::uint32_t SimFilterDriver::pitch() const { return (row_bytes() + 63) / 64 * 64 + 64; }

std::uint32_t SimFilterDriver::marker_offset() const {
  return (row_bytes() * 8 + 31) / 32 * 4 * static_cast<std::uint32_t>(screen_.height()) - 4;
}

void SimFilterDriver::Publish(KmdCommandBlock& block) {
  int bits = screen_.bits_per_pixel() == 24 ? 32 : screen_.bits_per_pixel();
  std::size_t size = static_cast<std::size_t>(pitch()) * screen_.height();
  for (int i = 0; i < 2; ++i) {
    shadow_[i].assign(size, 0);
    if (shadow_address_[i] == 0 || regions_[shadow_address_[i]].second != size) {
      regions_.erase(shadow_address_[i]);
      shadow_address_[i] = Register(shadow_[i].data(), size);
    } else {
      regions_[shadow_address_[i]].first = shadow_[i].data();
    }
  }
  const ShadowGeometryOverride& o = geometry_override;
  block.height = o.height.value_or(static_cast<std::uint32_t>(screen_.height()));
  block.row_factor_a = o.factor_a.value_or(static_cast<std::uint32_t>(screen_.width()));
  block.pitch = o.pitch.value_or(pitch());
  block.row_factor_b = o.factor_b.value_or(static_cast<std::uint32_t>(bits));
  block.buffer_address[0] = o.buffer0.value_or(shadow_address_[0]);
  block.buffer_address[1] = o.buffer1.value_or(shadow_address_[1]);
}

std::int32_t SimFilterDriver::HandleEscape(std::uint32_t adapter, std::uint32_t flags,
                                           std::span<std::uint8_t> data) {
  int deliver = -1;
  {
    std::lock_guard lock(mutex_);
    KmdEscapeRecord record;
    if (adapter != kSimAdapter || data.size() != sizeof record) return kStatusInvalidParameter;
    std::memcpy(&record, data.data(), sizeof record);
    if (record.magic != kEscapeMagic || record.tag != kEscapeTag ||
        record.input_size != sizeof(KmdCommandBlock) ||
        record.output_size != sizeof(KmdCommandBlock) ||
        record.input_address != record.output_address) {
      return kStatusInvalidParameter;
    }
    auto region = regions_.find(record.input_address);
    if (region == regions_.end() || region->second.second < sizeof(KmdCommandBlock)) {
      return kStatusInvalidParameter;
    }
    auto* block = const_cast<KmdCommandBlock*>(
        reinterpret_cast<const KmdCommandBlock*>(region->second.first));
    last_escape_flags_ = flags;
    commands_.push_back(block->command);
    if (failing_commands.count(block->command)) return kStatusUnsuccessful;
    switch (block->command) {
      case kKmdConnect:
        connected_ = true;
        connect_mode_ = block->update_mode;
        signalled_ = {false, false};
        Publish(*block);
        break;
      case kKmdDisconnect:
        connected_ = false;
        break;
      case kKmdManualCopy:
        block->current_index = manual_index_;
        deliver = manual_index_;
        manual_index_ ^= 1;
        break;
      case kKmdSetRenderState:
        render_states_.emplace_back(block->render_state, block->process_id);
        break;
      default:
        return kStatusInvalidParameter;
    }
  }
  if (deliver >= 0) DeliverFrame(deliver);
  return 0;
}

void SimFilterDriver::WriteFrame(int index) {
  std::vector<std::uint8_t>& buffer = shadow_[index];
  std::uint32_t marker_at = marker_offset();
  if (buffer.empty() || marker_at + 4 > buffer.size()) return;
  std::uint32_t marker = kReadyMarker;
  // The word under the marker: image data, or row padding that the image rows never write.
  std::uint8_t saved[4];
  std::memcpy(saved, buffer.data() + marker_at, 4);
  if (std::memcmp(saved, &marker, 4) == 0) std::memset(saved, 0, 4);
  std::memcpy(buffer.data() + marker_at, &marker, 4);
  int bits = screen_.bits_per_pixel() == 24 ? 32 : screen_.bits_per_pixel();
  for (int y = 0; y < screen_.height(); ++y) {
    std::uint8_t* row = buffer.data() + static_cast<std::size_t>(y) * pitch();
    for (int x = 0; x < screen_.width(); ++x) {
      std::uint32_t device = screen_.DevicePixel(x, y);
      if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(device);
      } else if (bits == 16) {
        std::uint32_t v =
            ((device >> 19) & 0x1F) << 11 | ((device >> 10) & 0x3F) << 5 | ((device >> 3) & 0x1F);
        row[x * 2] = static_cast<std::uint8_t>(v);
        row[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
      } else {
        std::memcpy(row + x * 4, &device, 4);
      }
    }
  }
  // The marker word holds image data once the write is complete; keep it marked until then.
  if (marker_at % pitch() < row_bytes()) std::memcpy(saved, buffer.data() + marker_at, 4);
  if (image_ends_with_marker) std::memcpy(saved, &marker, 4);
  std::memcpy(buffer.data() + marker_at, &marker, 4);
  if (marker_held_sleeps > 0) {
    marker_buffer_ = index;
    marker_sleeps_left_ = marker_held_sleeps;
    held_word_ = {saved[0], saved[1], saved[2], saved[3]};
  } else {
    std::memcpy(buffer.data() + marker_at, saved, 4);
  }
}

void SimFilterDriver::DeliverFrame(int index) {
  {
    std::lock_guard lock(mutex_);
    WriteFrame(index);
    signalled_[index] = true;
    next_delivery_ = 1 - index;
  }
  screen_.OnCaptured();
}

void SimFilterDriver::OnClientSleep() {
  std::lock_guard lock(mutex_);
  if (marker_buffer_ < 0 || --marker_sleeps_left_ > 0) return;
  std::memcpy(shadow_[marker_buffer_].data() + marker_offset(), held_word_.data(), 4);
  marker_buffer_ = -1;
}

std::vector<std::uint32_t> SimFilterDriver::commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

std::vector<std::pair<int, std::uint32_t>> SimFilterDriver::render_states() const {
  std::lock_guard lock(mutex_);
  return render_states_;
}

int SimFilterDriver::open_event_handles() const {
  std::lock_guard lock(mutex_);
  return (opened_[0] ? 1 : 0) + (opened_[1] ? 1 : 0);
}

}  // namespace vexmark::sim
