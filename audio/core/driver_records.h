// The virtual audio driver's fixed-layout records: the property request, the address pair of
// the shared memory, the status block with its two ring records, and the wave format. Their
// byte layout is the driver's contract, so every offset is checked here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/guid.h"

namespace audio {

// Every name the virtual device goes by (its endpoint, its DirectSound description) carries
// this word, in any case.
inline constexpr std::u16string_view kVirtualDeviceMark = u"Velquor";

// {5D9078C4-B381-48FF-8639-9A4060706930}
inline constexpr platform::Guid kPropSetIdSharedAudio{
    0x5D9078C4, 0xB381, 0x48FF, {0x86, 0x39, 0x9A, 0x40, 0x60, 0x70, 0x69, 0x30}};

inline constexpr uint32_t kPropIdQuery = 0x100F;
inline constexpr uint32_t kPropIdMap = 0x101F;
inline constexpr uint32_t kPropIdUnmap = 0x102F;
inline constexpr uint32_t kPropIdConfirm = 0x103F;

inline constexpr uint32_t kKsPropertyTypeGet = 1;
inline constexpr uint32_t kKsPropertyTypeSet = 2;

// IOCTL_KS_PROPERTY: FILE_DEVICE_KS, function 0, METHOD_NEITHER, FILE_ANY_ACCESS.
inline constexpr uint32_t kIoctlKsProperty = 0x002F0003;

struct KsProperty {
  platform::Guid set;
  uint32_t id;
  uint32_t flags;
};
static_assert(sizeof(KsProperty) == 24);
static_assert(offsetof(KsProperty, set) == 0);
static_assert(offsetof(KsProperty, id) == 16);
static_assert(offsetof(KsProperty, flags) == 20);

// The driver maps both regions into a 32-bit address space; the values are resolved through
// the shared-memory port, never used as pointers here.
struct SharedAddresses {
  uint32_t status_block;
  uint32_t data_area;  // 0: no mapping
};
static_assert(sizeof(SharedAddresses) == 8);
static_assert(offsetof(SharedAddresses, status_block) == 0);
static_assert(offsetof(SharedAddresses, data_area) == 4);

inline constexpr uint16_t kWaveFormatPcm = 1;

#pragma pack(push, 2)
// WAVEFORMATEX.
struct WaveFormatEx {
  uint16_t format_tag;
  uint16_t channels;
  uint32_t samples_per_sec;
  uint32_t avg_bytes_per_sec;
  uint16_t block_align;
  uint16_t bits_per_sample;
  uint16_t extra_size;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormatEx) == 18);

// The format as the 18 bytes the sound ports take.
inline std::span<const uint8_t> FormatBytes(const WaveFormatEx& format) {
  return {reinterpret_cast<const uint8_t*>(&format), sizeof format};
}
static_assert(offsetof(WaveFormatEx, format_tag) == 0);
static_assert(offsetof(WaveFormatEx, channels) == 2);
static_assert(offsetof(WaveFormatEx, samples_per_sec) == 4);
static_assert(offsetof(WaveFormatEx, avg_bytes_per_sec) == 8);
static_assert(offsetof(WaveFormatEx, block_align) == 12);
static_assert(offsetof(WaveFormatEx, bits_per_sample) == 14);
static_assert(offsetof(WaveFormatEx, extra_size) == 16);

struct RingRecord {
  uint32_t offset;          // of the region from the start of the data area
  uint32_t size;            // of the region
  uint64_t write_position;  // bytes written into the region since the stream began
};
static_assert(sizeof(RingRecord) == 16);
static_assert(offsetof(RingRecord, offset) == 0);
static_assert(offsetof(RingRecord, size) == 4);
static_assert(offsetof(RingRecord, write_position) == 8);

inline constexpr uint32_t kStreamStopped = 0;
inline constexpr uint32_t kStreamIntermediate = 1;
inline constexpr uint32_t kStreamRunning = 2;

struct StatusBlock {
  uint32_t ready;
  uint32_t reserved0;
  uint32_t stream_state;
  uint32_t stream_id;
  uint32_t start_stamp;
  uint32_t current_record;
  RingRecord records[2];
  WaveFormatEx format;
  uint8_t reserved1[6];
};
static_assert(sizeof(StatusBlock) == 80);
static_assert(offsetof(StatusBlock, ready) == 0x00);
static_assert(offsetof(StatusBlock, reserved0) == 0x04);
static_assert(offsetof(StatusBlock, stream_state) == 0x08);
static_assert(offsetof(StatusBlock, stream_id) == 0x0C);
static_assert(offsetof(StatusBlock, start_stamp) == 0x10);
static_assert(offsetof(StatusBlock, current_record) == 0x14);
static_assert(offsetof(StatusBlock, records) == 0x18);
static_assert(offsetof(StatusBlock, records) + sizeof(RingRecord) == 0x28);
static_assert(offsetof(StatusBlock, format) == 0x38);
static_assert(offsetof(StatusBlock, reserved1) == 0x4A);

// The record the driver writes now, and the one before it. A current index other than 0 or 1
// is taken modulo 2, so a bad value never indexes outside the pair.
inline const RingRecord& CurrentRecord(const StatusBlock& block) {
  return block.records[block.current_record & 1];
}
inline const RingRecord& PreviousRecord(const StatusBlock& block) {
  return block.records[(block.current_record - 1) & 1];
}

}  // namespace audio
