// The byte layouts shared with the display filter driver: the version record of the control
// device, the escape record of every display escape and the command block it points at.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vexmark {

inline constexpr std::uint32_t kIoctlKmdfltrQvi = 0x0022C000;
inline constexpr std::uint32_t kEscapeMagic = 0x56512700;
inline constexpr std::uint32_t kEscapeTag = 0x5554494C;  // "LITU" in memory
inline constexpr std::uint32_t kReadyMarker = 0xBABECAFE;

struct KmdVersionInfo {
  std::uint32_t size;
  std::uint16_t minor_version;
  std::uint16_t major_version;
  std::uint32_t wddm1_0;
  std::uint32_t wddm1_1;
  char driver_name[16];
};
static_assert(sizeof(KmdVersionInfo) == 32);
static_assert(offsetof(KmdVersionInfo, size) == 0);
static_assert(offsetof(KmdVersionInfo, minor_version) == 4);
static_assert(offsetof(KmdVersionInfo, major_version) == 6);
static_assert(offsetof(KmdVersionInfo, wddm1_0) == 8);
static_assert(offsetof(KmdVersionInfo, wddm1_1) == 12);
static_assert(offsetof(KmdVersionInfo, driver_name) == 16);

#pragma pack(push, 4)
struct KmdEscapeRecord {
  std::uint32_t magic;
  std::uint8_t reserved0[12];
  std::uint64_t input_address;
  std::uint32_t input_size;
  std::uint32_t reserved1;
  std::uint64_t output_address;
  std::uint32_t output_size;
  std::uint32_t tag;
  std::uint8_t reserved2[8];
};
#pragma pack(pop)
static_assert(sizeof(KmdEscapeRecord) == 56);
static_assert(offsetof(KmdEscapeRecord, magic) == 0);
static_assert(offsetof(KmdEscapeRecord, reserved0) == 4);
static_assert(offsetof(KmdEscapeRecord, input_address) == 16);
static_assert(offsetof(KmdEscapeRecord, input_size) == 24);
static_assert(offsetof(KmdEscapeRecord, reserved1) == 28);
static_assert(offsetof(KmdEscapeRecord, output_address) == 32);
static_assert(offsetof(KmdEscapeRecord, output_size) == 40);
static_assert(offsetof(KmdEscapeRecord, tag) == 44);
static_assert(offsetof(KmdEscapeRecord, reserved2) == 48);

enum KmdCommand : std::uint32_t {
  kKmdConnect = 1,
  kKmdDisconnect = 2,
  kKmdManualCopy = 4,
  kKmdSetRenderState = 5,
};

#pragma pack(push, 4)
struct KmdCommandBlock {
  std::uint32_t command;
  std::uint32_t zero;
  std::uint32_t unused0;
  std::uint32_t height;
  std::uint32_t row_factor_a;
  std::uint32_t pitch;
  std::uint32_t row_factor_b;
  std::uint32_t unused1;
  std::uint64_t buffer_address[2];
  std::uint8_t update_mode;
  std::uint8_t render_state;
  std::uint8_t current_index;
  std::uint8_t unused2;
  std::uint32_t process_id;
};
#pragma pack(pop)
static_assert(sizeof(KmdCommandBlock) == 56);
static_assert(offsetof(KmdCommandBlock, command) == 0);
static_assert(offsetof(KmdCommandBlock, zero) == 4);
static_assert(offsetof(KmdCommandBlock, unused0) == 8);
static_assert(offsetof(KmdCommandBlock, height) == 12);
static_assert(offsetof(KmdCommandBlock, row_factor_a) == 16);
static_assert(offsetof(KmdCommandBlock, pitch) == 20);
static_assert(offsetof(KmdCommandBlock, row_factor_b) == 24);
static_assert(offsetof(KmdCommandBlock, unused1) == 28);
static_assert(offsetof(KmdCommandBlock, buffer_address) == 32);
static_assert(offsetof(KmdCommandBlock, update_mode) == 48);
static_assert(offsetof(KmdCommandBlock, render_state) == 49);
static_assert(offsetof(KmdCommandBlock, current_index) == 50);
static_assert(offsetof(KmdCommandBlock, unused2) == 51);
static_assert(offsetof(KmdCommandBlock, process_id) == 52);

}  // namespace vexmark
