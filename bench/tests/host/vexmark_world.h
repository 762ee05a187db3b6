// The benchmark wired to the simulated outside world, as the composition root wires it to the
// real one; tests drive it through its real start-up, loops and tear-down.
#pragma once
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <string>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/core/kmd_client.h"
#include "bench/core/run_state.h"
#include "bench/core/vexmark_app.h"
#include "bench/sim/sim_composition.h"
#include "bench/sim/sim_direct_draw.h"
#include "bench/sim/sim_filter_driver.h"
#include "bench/sim/sim_gdi.h"
#include "bench/sim/sim_gpu_encoder.h"
#include "bench/sim/sim_screen.h"
#include "bench/sim/sim_windowing.h"
#include "platform/sim/sim_debug_output.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_sync.h"

namespace vexmark::test {

// Runs body on a thread of its own and returns its result. A body still running after 30 s ends
// the test program: a hung thread can be neither joined nor left behind.
template <class Body>
auto EndsWithin(Body body) {
  auto result = std::async(std::launch::async, body);
  if (result.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    std::fprintf(stderr, "FAILED: still running after 30 s (a hang)\n");
    std::_Exit(1);
  }
  return result.get();
}

// Host events and threads whose waits on two events (the ring's) fail on request, as a wait
// on a closed handle does.
class FaultySync : public platform::sim::HostSync {
 public:
  std::atomic<bool> fail_two_event_waits{false};
  platform::WaitResult WaitAny(std::span<platform::Event* const> events,
                               std::uint32_t timeout_ms) override {
    if (fail_two_event_waits && events.size() == 2) {
      return {platform::WaitResult::Kind::kFailed, 0, platform::kErrorInvalidHandle};
    }
    return HostSync::WaitAny(events, timeout_ms);
  }
};

struct WorldOptions {
  int width = 64;
  int height = 48;
  int bits = 32;
  bool real_time = false;  // timers and the test time on the host clock
  std::uint32_t capture_cost_ms = 0;
};

class VexmarkWorld {
 public:
  explicit VexmarkWorld(const WorldOptions& options = {});

  int Run(const char* command_line) { return app.Run(command_line); }
  std::vector<std::string> Lines() const { return output.Lines(); }
  bool HasLine(const std::string& line) const;
  int CountStartingWith(const std::string& prefix) const;
  // Index of the first line equal to text at or after from; -1 when none.
  int Find(const std::string& line, int from = 0) const;

  platform::sim::RecordingDebugOutput output;
  platform::sim::SimNamedMutexes mutexes;
  FaultySync sync;
  platform::sim::VirtualClock virtual_clock;
  platform::sim::HostClock host_clock;
  platform::Clock& clock;
  sim::SimScreen screen;
  sim::SimGdi gdi;
  sim::SimWindowing windowing;
  sim::SimDirectDrawFactory direct_draw;
  sim::SimCompositionQuery composition;
  sim::SimFilterDriver driver;
  sim::DriverPacedClock driver_clock;
  DebugLog log;
  RunState state;
  KmdClient kmd;
  KmdGpuCaptureDriver capture_driver;
  sim::SimGpuEncoderFactory gpu;
  VexmarkApp app;
};

}  // namespace vexmark::test
