// The memory the virtual audio driver maps into the process: the status block and the data
// area that holds the rings. It is written by the driver at any time and is the trust
// boundary: the core reads it only through these copies and keeps every read inside the
// extent the system reports.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "audio/core/driver_records.h"

namespace audio {

class SharedMemory {
 public:
  virtual ~SharedMemory() = default;
  // Copies the whole 80-byte status block as it is now.
  virtual void SnapshotStatusBlock(StatusBlock* snapshot) = 0;
  // Bytes of the data area that can be read, as the system knows the mapping.
  virtual uint64_t DataAreaBytes() const = 0;
  // Copies [offset, offset + length) of the data area. The caller keeps the range inside
  // DataAreaBytes.
  virtual void CopyFromDataArea(uint64_t offset, void* destination, size_t length) = 0;
};

class SharedMemoryResolver {
 public:
  virtual ~SharedMemoryResolver() = default;
  // The mapping behind the driver's two 32-bit addresses; nullptr when they do not name
  // readable memory (a status block shorter than 80 bytes, or no data area).
  virtual std::unique_ptr<SharedMemory> Resolve(const SharedAddresses& addresses) = 0;
};

}  // namespace audio
