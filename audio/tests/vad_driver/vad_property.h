/* Sorts a kernel-streaming property request into what the driver does with it, from the request
 * and the two buffer lengths alone. */
#ifndef VAD_PROPERTY_H
#define VAD_PROPERTY_H

#include "vad_layout.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum VadRequest {
  VAD_REQUEST_QUERY,
  VAD_REQUEST_MAP,
  VAD_REQUEST_CONFIRM,
  VAD_REQUEST_UNMAP,
  VAD_REQUEST_BAD_SIZE, /* known request, wrong request or value length */
  VAD_REQUEST_UNKNOWN   /* another property set, id, or get/set flag */
} VadRequest;

/* `property` may be null (no input buffer); it is read only when `property_length` is 24. */
VadRequest vad_classify_property(const VadProperty* property, uint32_t property_length,
                                 uint32_t value_length);

#ifdef __cplusplus
}
#endif

#endif
