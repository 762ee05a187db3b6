#include "vexmark_world.h"

#include <algorithm>

namespace vexmark::test {

VexmarkWorld::VexmarkWorld(const WorldOptions& o)
    : clock(o.real_time ? static_cast<platform::Clock&>(host_clock)
                        : static_cast<platform::Clock&>(virtual_clock)),
      screen(o.width, o.height, o.bits),
      gdi(screen, clock, o.capture_cost_ms),
      windowing(clock),
      direct_draw(screen),
      driver(screen, clock),
      driver_clock(clock, driver),
      log(output),
      kmd(log, KmdPorts{driver.device(), driver.thunks(), driver.events(), driver.memory(),
                        driver_clock}),
      capture_driver(kmd, state.adapter),
      gpu(&capture_driver),
      app(log,
          VexmarkPorts{output, mutexes, sync, clock, gdi, windowing, direct_draw, composition, kmd,
                       gpu, 4242},
          state) {
  gdi.display_devices = {
      {"\\\\.\\DISPLAY1", kDisplayAttachedToDesktop | kDisplayPrimaryDevice,
       "PCI\\VEN_4B45&DEV_0001"},
  };
}

bool VexmarkWorld::HasLine(const std::string& line) const { return Find(line) >= 0; }

int VexmarkWorld::CountStartingWith(const std::string& prefix) const {
  auto lines = Lines();
  return static_cast<int>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

int VexmarkWorld::Find(const std::string& line, int from) const {
  auto lines = Lines();
  for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) {
    if (lines[i] == line) return i;
  }
  return -1;
}

}  // namespace vexmark::test
