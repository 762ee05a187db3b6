// A faithful model of the display filter driver at its interface: the control device's
// version answer, the escape commands on the command block, two shadow buffers filled with the
// simulated screen and announced on the ping and pong events, the ready marker while a buffer
// is written, manual-copy mode, and faults (failing escapes, wrong geometry, time-outs, a
// marker that stays). The four client ports are facades over this one model.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "bench/core/kmd_ports.h"
#include "bench/core/kmd_records.h"
#include "bench/sim/sim_screen.h"
#include "platform/sync.h"

namespace vexmark::sim {

// Field values the driver publishes on connect instead of the true ones.
struct ShadowGeometryOverride {
  std::optional<std::uint32_t> height = {};
  std::optional<std::uint32_t> factor_a = {};
  std::optional<std::uint32_t> pitch = {};
  std::optional<std::uint32_t> factor_b = {};
  std::optional<std::uint64_t> buffer0 = {};
  std::optional<std::uint64_t> buffer1 = {};
};

class SimFilterDriver {
 public:
  SimFilterDriver(SimScreen& screen, platform::Clock& clock);
  ~SimFilterDriver();

  FilterDevice& device();
  DisplayKernelThunks& thunks();
  UpdateEvents& events();
  AddressSpace& memory();

  // Configuration and faults.
  bool installed = true;
  bool thunks_present = true;
  KmdVersionInfo version{32, 3, 1, 1, 0, "ZynKmdFltr"};
  std::uint32_t version_query_error = 0;
  std::set<std::uint32_t> failing_commands;
  ShadowGeometryOverride geometry_override;
  // Each wait delivers the next frame into the next buffer first (the driver keeps up).
  bool deliver_on_wait = true;
  bool fail_waits = false;
  // The marker stays set for this many of the client's 1 ms sleeps after a delivery.
  int marker_held_sleeps = 0;
  // The picture's own last word equals the marker, so the finished buffer still shows it.
  bool image_ends_with_marker = false;

  // A new frame in shadow buffer index, then its event.
  void DeliverFrame(int index);
  // Called for every Sleep of the client's clock (see DriverPacedClock).
  void OnClientSleep();

  // What the client sent.
  std::vector<std::uint32_t> commands() const;
  std::vector<std::pair<int, std::uint32_t>> render_states() const;  // (state, process id)
  std::uint32_t last_escape_flags() const { return last_escape_flags_; }
  std::uint8_t connect_mode() const { return connect_mode_; }
  int open_event_handles() const;
  int version_queries() const { return version_queries_; }
  std::uint32_t pitch() const;
  std::uint32_t row_bytes() const;
  std::uint32_t marker_offset() const;
  const std::vector<std::uint8_t>& shadow(int index) const { return shadow_[index]; }

 private:
  class Device;
  class Thunks;
  class Events;
  class Memory;
  friend class Device;
  friend class Thunks;
  friend class Events;
  friend class Memory;

  std::int32_t HandleEscape(std::uint32_t adapter, std::uint32_t flags,
                            std::span<std::uint8_t> data);
  void Publish(KmdCommandBlock& block);
  void WriteFrame(int index);
  std::uint64_t Register(const void* pointer, std::size_t size);

  SimScreen& screen_;
  platform::Clock& clock_;
  mutable std::mutex mutex_;
  std::unique_ptr<Device> device_;
  std::unique_ptr<Thunks> thunks_;
  std::unique_ptr<Events> events_;
  std::unique_ptr<Memory> memory_;

  std::array<std::vector<std::uint8_t>, 2> shadow_;
  std::array<std::uint64_t, 2> shadow_address_{};
  std::map<std::uint64_t, std::pair<const std::uint8_t*, std::size_t>> regions_;
  std::uint64_t next_address_ = 0x10000000;
  bool connected_ = false;
  std::array<bool, 2> signalled_{};
  std::array<bool, 2> opened_{};
  int next_delivery_ = 0;
  int marker_sleeps_left_ = 0;
  int marker_buffer_ = -1;
  std::array<std::uint8_t, 4> held_word_{};
  std::uint8_t connect_mode_ = 0;
  std::uint8_t manual_index_ = 0;
  std::uint32_t last_escape_flags_ = 0;
  int version_queries_ = 0;
  std::vector<std::uint32_t> commands_;
  std::vector<std::pair<int, std::uint32_t>> render_states_;
};

// The client's clock: a virtual clock whose sleeps also pace the simulated driver.
class DriverPacedClock : public platform::Clock {
 public:
  DriverPacedClock(platform::Clock& inner, SimFilterDriver& driver)
      : inner_(inner), driver_(driver) {}
  std::uint32_t TickCount() override { return inner_.TickCount(); }
  std::int64_t PerformanceCounter() override { return inner_.PerformanceCounter(); }
  std::int64_t PerformanceFrequency() override { return inner_.PerformanceFrequency(); }
  void Sleep(std::uint32_t ms) override {
    inner_.Sleep(ms);
    driver_.OnClientSleep();
  }

 private:
  platform::Clock& inner_;
  SimFilterDriver& driver_;
};

}  // namespace vexmark::sim
