// The service's state variable and action. The service is a placeholder: both answer
// "not implemented" and it keeps no value.
#pragma once
#include <cstdint>

#include "upnp/hresult.h"

namespace upnp {

// varNull (property get); value is the caller's VARIANT_BOOL and is never written.
inline Hresult ReadVarNull(const int16_t* value) {
  return value == nullptr ? kEPointer : kENotImpl;
}

// SetNull, for either boolean value.
inline Hresult SetNull(int16_t /*value*/) { return kENotImpl; }

}  // namespace upnp
