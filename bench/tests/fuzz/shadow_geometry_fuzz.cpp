// The filter driver's command-block geometry with any values: the client copies a frame only
// when height, pitch, row-size factors and buffer address describe one inside the shadow
// buffer and the destination, and never reads or writes outside them (the sanitizers watch).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/core/kmd_client.h"
#include "bench/sim/sim_filter_driver.h"
#include "platform/sim/sim_sync.h"

namespace {

class Sink : public platform::DebugOutput {
 public:
  void Write(std::string_view) override {}
  void Write(std::u16string_view) override {}
};

template <typename T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T value{};
  std::size_t n = size < sizeof value ? size : sizeof value;
  if (n == 0) return value;  // an empty input may come with a null pointer
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  platform::sim::VirtualClock clock;
  vexmark::sim::SimScreen screen(24, 16, 32);
  vexmark::sim::SimFilterDriver driver(screen, clock);
  vexmark::sim::DriverPacedClock paced(clock, driver);
  Sink sink;
  vexmark::DebugLog log(sink);
  vexmark::KmdClient kmd(
      log, {driver.device(), driver.thunks(), driver.events(), driver.memory(), paced});
  vexmark::sim::ShadowGeometryOverride& g = driver.geometry_override;
  g.height = Take<std::uint16_t>(data, size);
  g.factor_a = Take<std::uint32_t>(data, size);
  g.factor_b = Take<std::uint8_t>(data, size);
  g.pitch = Take<std::uint32_t>(data, size);
  if (Take<std::uint8_t>(data, size) & 1) g.buffer0 = Take<std::uint32_t>(data, size);
  std::size_t destination_size = Take<std::uint16_t>(data, size);
  driver.deliver_on_wait = Take<std::uint8_t>(data, size) & 1;
  std::uint32_t adapter = kmd.KmdOpenAdapter(1);
  if (!kmd.KmdConnect(adapter, 1)) return 0;
  std::vector<std::uint8_t> destination(destination_size);
  kmd.CopyKMDScreenShadowBuffer(destination, 24 * 4);
  kmd.CopyKMDScreenShadowBuffer(destination, 24 * 4);
  kmd.KmdDisconnect(adapter);
  return 0;
}
