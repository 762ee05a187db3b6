// The two records the streaming library fills, with the byte layout both sides rely on.
#pragma once
#include <cstddef>
#include <cstdint>

namespace panel {

inline constexpr size_t kReceiverInfoSize = 9812;
inline constexpr size_t kLibraryEventSize = 1048;

// One receiver, as ZYNOV_GetDeviceInfo fills it. The fields between belong to the library.
struct ReceiverInfo {
  char16_t DisplayName[618];
  char16_t WebAddress[4224];
  // Such as "1-00-00"; the eighth character is a hexadecimal digit of capability bits.
  char16_t CapabilityCode[64];
};
static_assert(sizeof(ReceiverInfo) == kReceiverInfoSize);
static_assert(offsetof(ReceiverInfo, DisplayName) == 0);
static_assert(offsetof(ReceiverInfo, WebAddress) == 1236);
static_assert(offsetof(ReceiverInfo, CapabilityCode) == 9684);
static_assert(offsetof(ReceiverInfo, CapabilityCode) + 7 * sizeof(char16_t) == 9698);

// Event codes of LibraryEvent::Code.
inline constexpr int32_t kEventNone = 0;
inline constexpr int32_t kEventVariable = 10;
inline constexpr int32_t kEventSearchAgain = 20;

// One report of ZYNOV_BackgroundTask. Value points into the library's own storage and stays
// valid until the next ZYNOV_BackgroundTask call. Aligned to 8 so the pointer sits at byte
// 1040 and the record is 1048 bytes in 32-bit and 64-bit builds alike.
struct alignas(8) LibraryEvent {
  int32_t Code;
  char16_t Name[518];
  const char16_t* Value;
};
static_assert(sizeof(LibraryEvent) == kLibraryEventSize);
static_assert(offsetof(LibraryEvent, Code) == 0);
static_assert(offsetof(LibraryEvent, Name) == 4);
static_assert(offsetof(LibraryEvent, Value) == 1040);

}  // namespace panel
