// The service's state variable and action. The service is a placeholder: both answer
// "not implemented" and it keeps no value.
#pragma once
#include <cstdint>

#include "platform/hresult.h"

namespace upnp {

// varNull (property get); value is the caller's VARIANT_BOOL and is never written.
inline platform::HResult ReadVarNull(const int16_t* value) {
  return value == nullptr ? platform::kEPointer : platform::kENotImpl;
}

// SetNull, for either boolean value.
inline platform::HResult SetNull(int16_t /*value*/) { return platform::kENotImpl; }

}  // namespace upnp
