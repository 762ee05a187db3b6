#include "audio/core/ring_reader.h"

#include <algorithm>

namespace audio {

bool IsReadableRegion(const RingRecord& record, uint64_t data_area_bytes) {
  return record.size != 0 && uint64_t{record.offset} + record.size <= data_area_bytes;
}

void CopyFromRing(SharedMemory& memory, const RingRecord& record, uint64_t position,
                  uint8_t* destination, size_t length) {
  uint64_t at = position % record.size;
  while (length > 0) {
    const size_t span = static_cast<size_t>(std::min<uint64_t>(length, record.size - at));
    memory.CopyFromDataArea(record.offset + at, destination, span);
    destination += span;
    length -= span;
    at = 0;
  }
}

}  // namespace audio
