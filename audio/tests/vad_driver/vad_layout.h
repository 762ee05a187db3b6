/* The stand-in virtual audio driver's contract: the property requests it answers, the shared
 * memory it publishes, and the private requests of its feeder. Plain C, so the driver, the feeder
 * and the test clients (C++) all compile the same definitions; the records are packed to the
 * byte, as a 32-bit reader expects them. */
#ifndef VAD_LAYOUT_H
#define VAD_LAYOUT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define VAD_STATIC_ASSERT static_assert
#else
#define VAD_STATIC_ASSERT _Static_assert
#endif

/* {5D9078C4-B381-48FF-8639-9A4060706930} */
#define VAD_PROPSET_DATA1 0x5D9078C4u
#define VAD_PROPSET_DATA2 0xB381u
#define VAD_PROPSET_DATA3 0x48FFu
#define VAD_PROPSET_DATA4 \
  { 0x86, 0x39, 0x9A, 0x40, 0x60, 0x70, 0x69, 0x30 }

#define VAD_IOCTL_KS_PROPERTY 0x002F0003u /* FILE_DEVICE_KS, function 0, METHOD_NEITHER */

#define VAD_PROPID_QUERY 0x100Fu
#define VAD_PROPID_MAP 0x101Fu
#define VAD_PROPID_UNMAP 0x102Fu
#define VAD_PROPID_CONFIRM 0x103Fu

#define VAD_PROPERTY_GET 1u
#define VAD_PROPERTY_SET 2u

#define VAD_STATE_STOPPED 0u
#define VAD_STATE_PAUSED 1u
#define VAD_STATE_RUNNING 2u

#pragma pack(push, 1)

typedef struct VadGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
} VadGuid;

typedef struct VadProperty {
  VadGuid set;
  uint32_t id;
  uint32_t flags;
} VadProperty;

/* The platform's 18-byte wave format record. */
typedef struct VadWaveFormat {
  uint16_t format_tag;
  uint16_t channels;
  uint32_t samples_per_sec;
  uint32_t avg_bytes_per_sec;
  uint16_t block_align;
  uint16_t bits_per_sample;
  uint16_t extra_size;
} VadWaveFormat;

typedef struct VadRingRecord {
  uint32_t offset; /* of the region from the start of the data area */
  uint32_t size;
  uint64_t write_position; /* bytes written into the region since the stream began */
} VadRingRecord;

typedef struct VadStatusBlock {
  uint32_t ready;
  uint32_t reserved0;
  uint32_t stream_state;
  uint32_t stream_id;
  uint32_t start_stamp; /* system tick count, ms */
  uint32_t current_record;
  VadRingRecord record[2];
  VadWaveFormat format;
  uint8_t reserved1[6];
} VadStatusBlock;

typedef struct VadSharedAddresses {
  uint32_t status_block;
  uint32_t data_area;
} VadSharedAddresses;

/* The PROPID_QUERY reply: the caller sets `size` to 24 before the call. */
typedef struct VadQueryReply {
  uint32_t size;
  uint32_t version;
  uint32_t requestor_process_id; /* the process the driver would map into */
  uint32_t status_block_size;
  uint32_t data_area_size;
  uint32_t region_size;
} VadQueryReply;

/* One entry of the driver's request journal, so tests can see what arrived in which order. */
typedef struct VadJournalEntry {
  uint32_t sequence; /* 1 for the first entry since the driver started */
  uint32_t event;    /* VAD_EVENT_* */
  uint32_t process_id;
  uint32_t status; /* NTSTATUS of the answer */
} VadJournalEntry;

/* The feeder stamps a new stream with its own GetTickCount, the clock readers compare with. */
typedef struct VadFeedStart {
  VadWaveFormat format;
  uint32_t start_stamp;
} VadFeedStart;

#pragma pack(pop)

VAD_STATIC_ASSERT(sizeof(VadProperty) == 24, "property request is 24 bytes");
VAD_STATIC_ASSERT(sizeof(VadWaveFormat) == 18, "wave format is 18 bytes");
VAD_STATIC_ASSERT(sizeof(VadRingRecord) == 16, "ring record is 16 bytes");
VAD_STATIC_ASSERT(offsetof(VadRingRecord, write_position) == 8, "write position at 8");
VAD_STATIC_ASSERT(sizeof(VadStatusBlock) == 80, "status block is 80 bytes");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, stream_state) == 0x08, "stream state at 0x08");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, stream_id) == 0x0C, "stream id at 0x0C");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, start_stamp) == 0x10, "start stamp at 0x10");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, current_record) == 0x14, "current record at 0x14");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, record) == 0x18, "record 0 at 0x18");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, record) + sizeof(VadRingRecord) == 0x28,
                  "record 1 at 0x28");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, format) == 0x38, "format at 0x38");
VAD_STATIC_ASSERT(offsetof(VadStatusBlock, reserved1) == 0x4A, "reserved tail at 0x4A");
VAD_STATIC_ASSERT(sizeof(VadSharedAddresses) == 8, "shared addresses are 8 bytes");
VAD_STATIC_ASSERT(sizeof(VadQueryReply) == 24, "query reply is 24 bytes");
VAD_STATIC_ASSERT(sizeof(VadFeedStart) == 22, "feed start is 22 bytes");
VAD_STATIC_ASSERT(sizeof(VadJournalEntry) == 16, "journal entry is 16 bytes");

/* One section: the status block on its own page, then the data area with two ring regions. */
#define VAD_STATUS_PAGE_SIZE 0x1000u
#define VAD_REGION_SIZE 0x20000u
#define VAD_DATA_AREA_SIZE (2u * VAD_REGION_SIZE)
#define VAD_SECTION_SIZE (VAD_STATUS_PAGE_SIZE + VAD_DATA_AREA_SIZE)

/* Private requests of the feeder, which plays the audio engine's part: METHOD_BUFFERED on a
 * device type of our own. */
#define VAD_FEED_DEVICE_TYPE 0x8A11u
#define VAD_FEED_CODE(function) ((VAD_FEED_DEVICE_TYPE << 16) | ((function) << 2))
/* in: VadFeedStart; out: uint32_t stream id. A new stream, running, on the other region. */
#define VAD_IOCTL_FEED_START VAD_FEED_CODE(0x801u)
/* in: audio bytes, a whole number of frames of the current format. */
#define VAD_IOCTL_FEED_WRITE VAD_FEED_CODE(0x802u)
/* in: VadWaveFormat; the current stream's format changes in place. */
#define VAD_IOCTL_FEED_FORMAT VAD_FEED_CODE(0x803u)
/* in: uint32_t state (VAD_STATE_*). */
#define VAD_IOCTL_FEED_STATE VAD_FEED_CODE(0x804u)

/* out: up to VAD_JOURNAL_SIZE VadJournalEntry, oldest first. */
#define VAD_IOCTL_FEED_JOURNAL VAD_FEED_CODE(0x805u)
#define VAD_JOURNAL_SIZE 64u

enum {
  VAD_EVENT_OPEN = 1,
  VAD_EVENT_CLOSE,
  VAD_EVENT_QUERY,
  VAD_EVENT_MAP,
  VAD_EVENT_CONFIRM,
  VAD_EVENT_UNMAP,
  VAD_EVENT_REFUSED /* a property request of the wrong size, set, id or direction */
};

/* Names of the driver's objects. */
#define VAD_DEVICE_NAME L"\\Device\\VqVadSimple"
#define VAD_FEED_LINK_NAME L"\\??\\VqVadSimpleFeed"
#define VAD_FEED_WIN32_PATH L"\\\\.\\VqVadSimpleFeed"
#define VAD_SERVICE_NAME L"VqVadSimple"
/* REG_SZ under the service key: the device interface path the driver links to its device. */
#define VAD_INTERFACE_LINK_VALUE L"InterfaceLink"

#ifdef __cplusplus
}
#endif

#endif
