#include "bench/core/kmd_client.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "bench/core/kmd_status_names.h"

namespace vexmark {

namespace {

constexpr std::uint32_t kEscapeFlagHardwareAccess = 1;
// Frames larger than this cannot be addressed by the 32-bit program.
constexpr std::uint64_t kLargestImage = std::numeric_limits<std::int32_t>::max();

std::uint32_t ReadWord(std::span<const std::uint8_t> image, std::uint64_t offset) {
  // The driver writes the marker while we poll it.
  const volatile std::uint8_t* p = image.data() + offset;
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::uint32_t KmdClient::OpenDevice() {
  std::uint32_t error = ports_.device.Open(kKmdDevicePath);
  if (error != 0) log_("CreateFile failed!  Error = %d\n", static_cast<int>(error));
  return error;
}

void KmdClient::CloseDevice() { ports_.device.Close(); }

int KmdClient::QueryVersionInfo(KmdVersionInfo& info) {
  if (!ports_.device.IsOpen()) return 0;
  info.size = sizeof(KmdVersionInfo);
  std::uint32_t status = ports_.device.Control(
      kIoctlKmdfltrQvi,
      std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(&info), sizeof info));
  if (status == 0) {
    char name[sizeof info.driver_name + 1] = {};
    std::memcpy(name, info.driver_name, sizeof info.driver_name);
    log_("QueryVersionInfo: %s driver ver: %d.%d, WDDM1_0:%d, WDDM1_1:%d.\n", name,
         info.major_version, info.minor_version, static_cast<int>(info.wddm1_0),
         static_cast<int>(info.wddm1_1));
  }
  log_("DeviceIoControl IOCTL_KMDFLTR_QVI status:%s.\n", KmdStatusName(status).c_str());
  return status == 0 ? 1 : 0;
}

std::uint32_t KmdClient::KmdOpenAdapter(DcHandle dc) {
  if (dc == 0) {
    log_("KmdOpenAdapter - hdc is NULL!\n");
    return 0;
  }
  if (!thunks_loaded_) {
    thunks_loaded_ = ports_.thunks.Load();
    if (!thunks_loaded_) {
      log_("KmdOpenAdapter - InitKernelThunks failed!\n");
      return 0;
    }
  }
  std::uint32_t adapter = 0;
  if (ports_.thunks.OpenAdapterFromHdc(dc, adapter) != 0) {
    log_("KmdOpenAdapter - Unable to Open Adapter!\n");
    return 0;
  }
  return adapter;
}

int KmdClient::KmdCloseAdapter(std::uint32_t adapter) {
  if (!thunks_loaded_) {
    log_("KmdCloseAdapter - gdi32.dll not loaded!\n");
    return 0;
  }
  ports_.thunks.CloseAdapter(adapter);
  ports_.thunks.Unload();
  thunks_loaded_ = false;
  return 1;
}

bool KmdClient::Escape(std::uint32_t adapter, std::uint32_t flags) {
  // Without the thunks the wrapper answers "not supported".
  if (!thunks_loaded_) return false;
  KmdEscapeRecord record{};
  record.magic = kEscapeMagic;
  std::uint64_t address = ports_.memory.AddressOf(&block_);
  record.input_address = address;
  record.input_size = sizeof(KmdCommandBlock);
  record.output_address = address;
  record.output_size = sizeof(KmdCommandBlock);
  record.tag = kEscapeTag;
  return ports_.thunks.Escape(
             adapter, flags,
             std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(&record), sizeof record)) == 0;
}

bool KmdClient::OpenEvent(int index, const char* name, const char* short_name) {
  std::uint32_t error = ports_.events.Open(index, name);
  if (error != 0) {
    log_("Event %s Create FAILED! %d\n", short_name, static_cast<int>(error));
    return false;
  }
  log_("Event %s Opened.\n", short_name);
  return true;
}

int KmdClient::KmdConnect(std::uint32_t adapter, std::uint8_t update_mode) {
  block_ = KmdCommandBlock{};
  block_.command = kKmdConnect;
  block_.zero = 0;
  block_.update_mode = update_mode;
  if (!Escape(adapter, 0)) {
    log_("KmdConnect - Escape call to connect to the filter driver failed!\n");
    return 0;
  }
  connected_adapter_ = adapter;
  if (!OpenEvent(0, kPingEventName, "SendPingUpdateInProgress")) return 0;
  if (!OpenEvent(1, kPongEventName, "SendPongUpdateInProgress")) return 0;
  ports_.events.Reset(0);
  ports_.events.Reset(1);
  return 1;
}

int KmdClient::KmdDisconnect(std::uint32_t adapter) {
  block_.command = kKmdDisconnect;
  block_.zero = 0;
  block_.update_mode = 0;
  if (!Escape(adapter, 0)) {
    log_("KmdDisconnect - Escape call to disconnect to the filter driver failed!\n");
    return 0;
  }
  ports_.events.Close(0);
  ports_.events.Close(1);
  return 1;
}

int KmdClient::KmdManualCopy(std::uint32_t adapter) {
  block_.command = kKmdManualCopy;
  block_.zero = 0;
  if (!Escape(adapter, 0)) {
    log_("KmdManualCopy - Escape call to manual copy from filter driver failed!\n");
    return 0;
  }
  return 1;
}

int KmdClient::KmdSetRenderState(std::uint32_t adapter, std::uint8_t render_state,
                                 std::uint32_t process_id) {
  block_.command = kKmdSetRenderState;
  block_.zero = 0;
  block_.render_state = render_state;
  block_.process_id = process_id;
  if (!Escape(adapter, kEscapeFlagHardwareAccess)) {
    log_("KmdSetRenderState - Escape call to set render state from filter driver failed!\n");
    return 0;
  }
  return 1;
}

bool KmdClient::CheckGeometry(ShadowGeometry& geometry, std::size_t destination_size,
                              std::size_t destination_stride) {
  std::uint64_t row_bits = static_cast<std::uint64_t>(block_.row_factor_a) * block_.row_factor_b;
  geometry.height = block_.height;
  geometry.pitch = block_.pitch;
  std::uint64_t row_bytes = row_bits / 8;
  if (geometry.height == 0 || row_bytes == 0 || row_bytes > geometry.pitch ||
      row_bytes > destination_stride) {
    return false;
  }
  geometry.row_bytes = static_cast<std::uint32_t>(row_bytes);
  geometry.image_bytes =
      static_cast<std::uint64_t>(geometry.pitch) * (geometry.height - 1) + row_bytes;
  geometry.destination_bytes =
      static_cast<std::uint64_t>(destination_stride) * (geometry.height - 1) + row_bytes;
  geometry.marker_offset = (row_bits + 31) / 32 * 4 * geometry.height - 4;
  return geometry.destination_bytes <= destination_size && geometry.image_bytes <= kLargestImage &&
         geometry.marker_offset + 4 <= kLargestImage;
}

// False when the frame is to be skipped: the marker outlived its limit or the test is stopping.
bool KmdClient::WaitWhileWriting(std::span<const std::uint8_t> image, std::uint64_t marker_offset) {
  if (ReadWord(image, marker_offset) != kReadyMarker) return true;
  log_("CopyKMDScreenShadowBuffer: Wait for buffer ready...\n");
  std::uint32_t start = ports_.clock.TickCount();
  while (ReadWord(image, marker_offset) == kReadyMarker) {
    if (stop_ && stop_->load()) {
      log_("CopyKMDScreenShadowBuffer: test stopped, frame skipped.\n");
      return false;
    }
    if (ports_.clock.TickCount() - start >= kMarkerWaitLimitMs) {
      log_("CopyKMDScreenShadowBuffer: buffer not ready after %d ms, frame skipped.\n",
           static_cast<int>(kMarkerWaitLimitMs));
      return false;
    }
    ports_.clock.Sleep(1);
  }
  return true;
}

bool KmdClient::CopyKMDScreenShadowBuffer(std::span<std::uint8_t> destination,
                                          std::size_t destination_stride) {
  if (update_mode_ == 0) {
    if (!KmdManualCopy(connected_adapter_)) log_("KmdManualCopy failed!\n");
    // An index outside 0..1 would name no buffer.
    current_index_ = block_.current_index & 1;
  }
  std::uint32_t error = 0;
  switch (ports_.events.Wait(kShadowWaitMs, error)) {
    case UpdateEvents::WaitKind::kPing:
      ports_.events.Reset(0);
      current_index_ = 0;
      break;
    case UpdateEvents::WaitKind::kPong:
      ports_.events.Reset(1);
      current_index_ = 1;
      break;
    case UpdateEvents::WaitKind::kTimedOut:
      // Without news from the driver, take the buffer after the one copied last, so that
      // captures alternate between the two.
      log_("CopyKMDScreenShadowBuffer: Wait Events time out!\n");
      break;
    case UpdateEvents::WaitKind::kFailed:
      log_("CopyKMDScreenShadowBuffer: WaitForMultipleObjects returns error! %d\n",
           static_cast<int>(error));
      return false;
  }
  int source_index = current_index_;
  bool copied = false;
  ShadowGeometry geometry;
  if (!CheckGeometry(geometry, destination.size(), destination_stride)) {
    log_("CopyKMDScreenShadowBuffer: shadow buffer geometry refused!\n");
  } else {
    std::uint64_t readable = std::max(geometry.image_bytes, geometry.marker_offset + 4);
    std::span<const std::uint8_t> image =
        ports_.memory.Resolve(static_cast<std::uint32_t>(block_.buffer_address[source_index]),
                              static_cast<std::size_t>(readable));
    if (image.empty()) {
      log_("CopyKMDScreenShadowBuffer: shadow buffer %d is not readable!\n", source_index);
    } else if (WaitWhileWriting(image, geometry.marker_offset)) {
      for (std::uint32_t row = 0; row < geometry.height; ++row) {
        std::memcpy(destination.data() + static_cast<std::size_t>(row) * destination_stride,
                    image.data() + static_cast<std::size_t>(row) * geometry.pitch,
                    geometry.row_bytes);
      }
      copied = true;
    }
  }
  current_index_ = static_cast<std::uint8_t>(1 - current_index_);
  return copied;
}

}  // namespace vexmark
