// The benchmark's client of the display filter driver: the version query on its control
// device, the escape requests through the display kernel thunks, and the WDDM 1.0 capture
// step that copies the driver's current shadow buffer.
#pragma once
#include <atomic>
#include <cstdint>
#include <span>

#include "bench/core/debug_log.h"
#include "bench/core/kmd_ports.h"
#include "bench/core/kmd_records.h"
#include "bench/core/mj_gpu_encoder.h"
#include "platform/sync.h"

namespace vexmark {

inline constexpr char kKmdDevicePath[] = "\\\\.\\ZynKmdFltr";
inline constexpr char kPingEventName[] = "Global\\SendPingUpdateInProgress";
inline constexpr char kPongEventName[] = "Global\\SendPongUpdateInProgress";
inline constexpr std::uint32_t kShadowWaitMs = 2000;
// How long a shadow buffer may keep its ready marker before the frame is skipped. The driver
// writes one frame within a refresh period (17 ms at 60 Hz; a 4K frame is copied in well under
// 30 ms); a marker still there after six such periods means a driver that stopped mid-write or a
// picture whose last word happens to equal the marker.
inline constexpr std::uint32_t kMarkerWaitLimitMs = 100;

// The geometry the driver published on connect, checked against what it can describe.
struct ShadowGeometry {
  std::uint32_t height = 0;
  std::uint32_t row_bytes = 0;          // packed bytes of one image row
  std::uint32_t pitch = 0;              // bytes between rows in a shadow buffer
  std::uint64_t image_bytes = 0;        // pitch x (height - 1) + row bytes
  std::uint64_t destination_bytes = 0;  // stride x (height - 1) + row bytes
  std::uint64_t marker_offset = 0;      // where the ready marker lies
};

struct KmdPorts {
  FilterDevice& device;
  DisplayKernelThunks& thunks;
  UpdateEvents& events;
  AddressSpace& memory;
  platform::Clock& clock;
};

class KmdClient {
 public:
  KmdClient(DebugLog& log, const KmdPorts& ports) : log_(log), ports_(ports) {}

  // Control device: 0 or the error code.
  std::uint32_t OpenDevice();
  void CloseDevice();
  int QueryVersionInfo(KmdVersionInfo& info);

  std::uint32_t KmdOpenAdapter(DcHandle dc);
  int KmdCloseAdapter(std::uint32_t adapter);
  int KmdConnect(std::uint32_t adapter, std::uint8_t update_mode);
  int KmdDisconnect(std::uint32_t adapter);
  int KmdManualCopy(std::uint32_t adapter);
  int KmdSetRenderState(std::uint32_t adapter, std::uint8_t render_state, std::uint32_t process_id);

  // Waits for the driver's next frame and copies it into destination, one row every
  // destination_stride bytes; false when nothing was copied. Geometry that cannot describe a
  // frame inside the shadow buffers or the destination is refused.
  bool CopyKMDScreenShadowBuffer(std::span<std::uint8_t> destination,
                                 std::size_t destination_stride);
  // While this flag is set (the test is being stopped) no capture waits for a buffer to be ready.
  void set_stop_request(const std::atomic<bool>* stop) { stop_ = stop; }

  std::uint8_t update_mode() const { return update_mode_; }
  void set_update_mode(std::uint8_t mode) { update_mode_ = mode; }
  std::uint8_t current_index() const { return current_index_; }

 private:
  bool Escape(std::uint32_t adapter, std::uint32_t flags);
  bool OpenEvent(int index, const char* name, const char* short_name);
  bool CheckGeometry(ShadowGeometry& geometry, std::size_t destination_size,
                     std::size_t destination_stride);
  bool WaitWhileWriting(std::span<const std::uint8_t> image, std::uint64_t marker_offset);

  DebugLog& log_;
  KmdPorts ports_;
  bool thunks_loaded_ = false;
  std::uint32_t connected_adapter_ = 0;
  alignas(8) KmdCommandBlock block_{};
  std::uint8_t current_index_ = 0;
  std::uint8_t update_mode_ = 1;
  const std::atomic<bool>* stop_ = nullptr;
};

// GPU capture's render-state switch, sent to the adapter the benchmark opened.
class KmdGpuCaptureDriver : public GpuCaptureDriver {
 public:
  KmdGpuCaptureDriver(KmdClient& kmd, const std::uint32_t& adapter)
      : kmd_(kmd), adapter_(adapter) {}
  bool SetRenderState(std::uint8_t render_state, std::uint32_t process_id) override {
    return kmd_.KmdSetRenderState(adapter_, render_state, process_id) != 0;
  }

 private:
  KmdClient& kmd_;
  const std::uint32_t& adapter_;
};

}  // namespace vexmark
