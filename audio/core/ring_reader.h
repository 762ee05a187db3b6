// Ring addressing over the driver's data area. A ring record comes from the driver and is
// trusted only after its region has been checked against the mapping's extent.
#pragma once
#include <cstddef>
#include <cstdint>

#include "audio/core/driver_records.h"
#include "audio/core/shared_memory_port.h"

namespace audio {

// Whether the record's region is non-empty and lies wholly inside the data area.
bool IsReadableRegion(const RingRecord& record, uint64_t data_area_bytes);

// Copies `length` bytes that start at ring position `position` (bytes since the stream began)
// out of the record's region, wrapping from its end to its start. The record must be readable
// and length at most its size.
void CopyFromRing(SharedMemory& memory, const RingRecord& record, uint64_t position,
                  uint8_t* destination, size_t length);

}  // namespace audio
