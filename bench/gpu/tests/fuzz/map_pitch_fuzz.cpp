// The GPU encoder with any frame size, quality, padding the card adds to its mapped rows and
// failing maps, then any frame and destination size: it must reject what it cannot encode and
// read and write only inside each mapping, the frame and the destination.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"
#include "bench/gpu/sim/sim_direct3d.h"
#include "platform/sim/sim_sync.h"

namespace {

class Sink : public platform::DebugOutput {
 public:
  void Write(std::string_view) override {}
  void Write(std::u16string_view) override {}
};

template <typename T>
T Take(const uint8_t*& data, size_t& size) {
  T value{};
  const size_t n = size < sizeof value ? size : sizeof value;
  if (n != 0) std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Sides below 40 pixels keep each software draw small: 8 to 32 are encodable, with one or
  // two chroma half blocks, and the rest must be refused.
  const int width = Take<uint8_t>(data, size) % 40;
  const int height = Take<uint8_t>(data, size) % 40;
  const int quality = Take<int8_t>(data, size);
  vexmark::gpu::sim::SimDirect3DFaults faults;
  faults.extra_row_pitch = Take<uint16_t>(data, size) % 1024;
  faults.fail_map_number = Take<int8_t>(data, size);
  const size_t destination_size = Take<uint16_t>(data, size);
  vexmark::gpu::sim::SimDirect3D d3d(faults);
  platform::sim::VirtualClock clock;
  Sink sink;
  vexmark::DebugLog log(sink);
  vexmark::gpu::MJGPUEncoderD3D10 encoder(d3d, clock, log, nullptr);
  if (!encoder.CreateContext(width, height, quality)) return 0;
  // The rest of the input is the frame, repeated or cut to the size it says.
  std::vector<uint8_t> frame(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < frame.size() && size != 0; ++i) frame[i] = data[i % size];
  if (!encoder.ReadSourceFromMemory(frame)) return 0;
  encoder.RunGpuPasses();
  std::vector<uint8_t> destination(destination_size);
  uint32_t written = 0;
  if (encoder.CPUEncodeVLE_IJL(destination, written) && written > destination.size()) {
    __builtin_trap();
  }
  return 0;
}
