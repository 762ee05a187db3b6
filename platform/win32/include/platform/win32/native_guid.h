// The boundary between the core's Guid and the Windows GUID: the same fields in the same
// layout, copied across.
#pragma once
#include <windows.h>

#include <cstring>

#include "platform/guid.h"

namespace platform::win32 {

static_assert(sizeof(GUID) == sizeof(Guid), "the core's Guid has the Windows layout");

inline GUID ToGuid(const Guid& guid) {
  GUID out;
  std::memcpy(static_cast<void*>(&out), &guid, sizeof out);
  return out;
}

inline Guid FromGuid(const GUID& guid) {
  Guid out;
  std::memcpy(static_cast<void*>(&out), &guid, sizeof out);
  return out;
}

}  // namespace platform::win32
