#include "vad_property.h"

#include <string.h>

static int is_shared_audio_set(const VadGuid* set) {
  static const VadGuid kSharedAudio = {VAD_PROPSET_DATA1, VAD_PROPSET_DATA2, VAD_PROPSET_DATA3,
                                       VAD_PROPSET_DATA4};
  return memcmp(set, &kSharedAudio, sizeof kSharedAudio) == 0;
}

VadRequest vad_classify_property(const VadProperty* property, uint32_t property_length,
                                 uint32_t value_length) {
  if (property == NULL || property_length != sizeof(VadProperty)) return VAD_REQUEST_BAD_SIZE;
  if (!is_shared_audio_set(&property->set)) return VAD_REQUEST_UNKNOWN;
  VadRequest request;
  uint32_t flags;
  uint32_t expected_length;
  switch (property->id) {
    case VAD_PROPID_QUERY:
      request = VAD_REQUEST_QUERY;
      flags = VAD_PROPERTY_GET;
      expected_length = sizeof(VadQueryReply);
      break;
    case VAD_PROPID_MAP:
      request = VAD_REQUEST_MAP;
      flags = VAD_PROPERTY_GET;
      expected_length = sizeof(VadSharedAddresses);
      break;
    case VAD_PROPID_CONFIRM:
      request = VAD_REQUEST_CONFIRM;
      flags = VAD_PROPERTY_SET;
      expected_length = sizeof(VadSharedAddresses);
      break;
    case VAD_PROPID_UNMAP:
      request = VAD_REQUEST_UNMAP;
      flags = VAD_PROPERTY_SET;
      expected_length = sizeof(VadSharedAddresses);
      break;
    default:
      return VAD_REQUEST_UNKNOWN;
  }
  if (property->flags != flags) return VAD_REQUEST_UNKNOWN;
  return value_length == expected_length ? request : VAD_REQUEST_BAD_SIZE;
}
