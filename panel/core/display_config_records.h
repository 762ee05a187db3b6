// The display-configuration records as user32 fills them (DISPLAYCONFIG_PATH_INFO, 72 bytes,
// and DISPLAYCONFIG_MODE_INFO, 64 bytes), with the constants the topology uses.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace panel {

inline constexpr uint32_t kQdcAllPaths = 0x1;  // QDC_ALL_PATHS
inline constexpr uint32_t kSdcApply = 0x80;    // SDC_APPLY

struct Luid {
  uint32_t low_part = 0;
  int32_t high_part = 0;
};

struct Rational {
  uint32_t numerator = 0;
  uint32_t denominator = 0;
};

struct Region2D {
  uint32_t cx = 0;
  uint32_t cy = 0;
};

struct PointL {
  int32_t x = 0;
  int32_t y = 0;
};

struct DisplayConfigPathSourceInfo {
  Luid adapter_id;
  uint32_t id = 0;
  uint32_t mode_info_idx = 0;
  uint32_t status_flags = 0;
};

struct DisplayConfigPathTargetInfo {
  Luid adapter_id;
  uint32_t id = 0;
  uint32_t mode_info_idx = 0;
  uint32_t output_technology = 0;
  uint32_t rotation = 0;
  uint32_t scaling = 0;
  Rational refresh_rate;
  uint32_t scan_line_ordering = 0;
  int32_t target_available = 0;  // BOOL
  uint32_t status_flags = 0;
};

struct DisplayConfigPathInfo {
  DisplayConfigPathSourceInfo source_info;
  DisplayConfigPathTargetInfo target_info;
  uint32_t flags = 0;
};

struct DisplayConfigVideoSignalInfo {
  uint64_t pixel_rate = 0;
  Rational h_sync_freq;
  Rational v_sync_freq;
  Region2D active_size;
  Region2D total_size;
  uint32_t video_standard = 0;
  uint32_t scan_line_ordering = 0;
};

struct DisplayConfigTargetMode {
  DisplayConfigVideoSignalInfo target_video_signal_info;
};

struct DisplayConfigSourceMode {
  uint32_t width = 0;
  uint32_t height = 0;
  uint32_t pixel_format = 0;
  PointL position;
};

// The mode's body is a union of a source mode and a target mode, chosen by info_type; it is
// kept as bytes and read as either through the views below.
struct DisplayConfigModeInfo {
  uint32_t info_type = 0;
  uint32_t id = 0;
  Luid adapter_id;
  alignas(8) std::array<unsigned char, 48> mode{};
};

inline DisplayConfigSourceMode AsSourceMode(const DisplayConfigModeInfo& info) {
  DisplayConfigSourceMode source;
  std::memcpy(&source, info.mode.data(), sizeof source);
  return source;
}

inline DisplayConfigTargetMode AsTargetMode(const DisplayConfigModeInfo& info) {
  DisplayConfigTargetMode target;
  std::memcpy(&target, info.mode.data(), sizeof target);
  return target;
}

static_assert(sizeof(Luid) == 8);
static_assert(sizeof(DisplayConfigPathSourceInfo) == 20);
static_assert(sizeof(DisplayConfigPathTargetInfo) == 48);
static_assert(sizeof(DisplayConfigPathInfo) == 72);
static_assert(offsetof(DisplayConfigPathInfo, target_info) == 20);
static_assert(offsetof(DisplayConfigPathInfo, flags) == 68);
static_assert(offsetof(DisplayConfigPathTargetInfo, output_technology) == 16);
static_assert(offsetof(DisplayConfigPathTargetInfo, refresh_rate) == 28);
static_assert(offsetof(DisplayConfigPathTargetInfo, scan_line_ordering) == 36);
static_assert(offsetof(DisplayConfigPathTargetInfo, target_available) == 40);
static_assert(offsetof(DisplayConfigPathTargetInfo, status_flags) == 44);
static_assert(sizeof(DisplayConfigModeInfo) == 64);
static_assert(offsetof(DisplayConfigModeInfo, adapter_id) == 8);
static_assert(offsetof(DisplayConfigModeInfo, mode) == 16);
static_assert(sizeof(DisplayConfigVideoSignalInfo) == 48);
static_assert(offsetof(DisplayConfigVideoSignalInfo, active_size) == 24);
static_assert(offsetof(DisplayConfigVideoSignalInfo, video_standard) == 40);
static_assert(offsetof(DisplayConfigVideoSignalInfo, scan_line_ordering) == 44);
static_assert(sizeof(DisplayConfigSourceMode) == 20);
static_assert(offsetof(DisplayConfigSourceMode, position) == 12);

}  // namespace panel
