// The display-settings records as user32 reads and writes them: DEVMODEW (220 bytes) and
// DISPLAY_DEVICEW (840 bytes), with the constants the topology uses.
#pragma once
#include <cstddef>
#include <cstdint>

namespace panel {

inline constexpr uint32_t kEnumCurrentSettings = 0xFFFFFFFF;   // ENUM_CURRENT_SETTINGS
inline constexpr uint32_t kEnumRegistrySettings = 0xFFFFFFFE;  // ENUM_REGISTRY_SETTINGS
inline constexpr uint32_t kEdsRawMode = 0x2;                   // EDS_RAWMODE

inline constexpr uint32_t kDmPosition = 0x20;        // DM_POSITION
inline constexpr uint32_t kDmPelsWidth = 0x80000;    // DM_PELSWIDTH
inline constexpr uint32_t kDmPelsHeight = 0x100000;  // DM_PELSHEIGHT

inline constexpr uint32_t kCdsUpdateRegistry = 0x1;  // CDS_UPDATEREGISTRY
inline constexpr uint32_t kCdsTest = 0x2;            // CDS_TEST
inline constexpr uint32_t kCdsSetPrimary = 0x10;     // CDS_SET_PRIMARY
inline constexpr uint32_t kCdsNoReset = 0x10000000;  // CDS_NORESET

inline constexpr int32_t kDispChangeSuccessful = 0;  // DISP_CHANGE_SUCCESSFUL
inline constexpr int32_t kDispChangeBadMode = -2;    // DISP_CHANGE_BADMODE
inline constexpr int32_t kDispChangeBadParam = -5;   // DISP_CHANGE_BADPARAM

inline constexpr uint32_t kDisplayDevicePrimaryDevice = 0x4;  // DISPLAY_DEVICE_PRIMARY_DEVICE

struct DevModeW {
  char16_t device_name[32] = {};
  uint16_t layout_version = 0;
  uint16_t driver_version = 0;
  uint16_t size = 0;
  uint16_t driver_extra = 0;
  uint32_t fields = 0;
  int32_t position_x = 0;
  int32_t position_y = 0;
  uint32_t display_orientation = 0;
  uint32_t display_fixed_output = 0;
  unsigned char printer_fields[76] = {};  // dmColor .. dmLogPixels: not read here
  uint32_t bits_per_pel = 0;
  uint32_t pels_width = 0;
  uint32_t pels_height = 0;
  uint32_t display_flags = 0;
  uint32_t display_frequency = 0;
  uint32_t icm_and_panning[8] = {};  // dmICMMethod .. dmPanningHeight: not read here
};

struct DisplayDeviceW {
  uint32_t cb = 0;
  char16_t device_name[32] = {};
  char16_t device_string[128] = {};
  uint32_t state_flags = 0;
  char16_t device_id[128] = {};
  char16_t device_key[128] = {};
};

static_assert(sizeof(DevModeW) == 220);
static_assert(offsetof(DevModeW, size) == 68);
static_assert(offsetof(DevModeW, fields) == 72);
static_assert(offsetof(DevModeW, position_x) == 76);
static_assert(offsetof(DevModeW, position_y) == 80);
static_assert(offsetof(DevModeW, bits_per_pel) == 168);
static_assert(offsetof(DevModeW, pels_width) == 172);
static_assert(offsetof(DevModeW, pels_height) == 176);
static_assert(offsetof(DevModeW, display_frequency) == 184);
static_assert(sizeof(DisplayDeviceW) == 840);
static_assert(offsetof(DisplayDeviceW, device_name) == 4);
static_assert(offsetof(DisplayDeviceW, device_string) == 68);
static_assert(offsetof(DisplayDeviceW, state_flags) == 324);

}  // namespace panel
