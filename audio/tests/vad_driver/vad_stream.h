/* The driver's side of the shared memory: keeps the status block and the two ring regions as a
 * reader expects them. Plain C over caller-given memory, so the same code runs in the driver and
 * in host tests. Not thread-safe: the driver serialises calls. */
#ifndef VAD_STREAM_H
#define VAD_STREAM_H

#include "vad_layout.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum VadResult {
  VAD_OK = 0,
  VAD_BAD_FORMAT,    /* not a plain PCM or float format this driver can carry */
  VAD_NO_STREAM,     /* no stream started yet */
  VAD_NOT_RUNNING,   /* audio arrives while the stream is paused or stopped */
  VAD_PARTIAL_FRAME, /* audio length is not a whole number of frames */
  VAD_BAD_STATE      /* not one of VAD_STATE_* */
} VadResult;

typedef struct VadStream {
  VadStatusBlock* block;
  uint8_t* data; /* VAD_DATA_AREA_SIZE bytes */
} VadStream;

/* Clears the block: no stream, ready, regions laid out, record 0 current. */
void vad_stream_init(VadStream* stream, VadStatusBlock* block, uint8_t* data);
int vad_format_is_valid(const VadWaveFormat* format);
/* A new running stream on the other region, its write position 0; the previous region keeps its
 * position so a reader can finish it. */
VadResult vad_stream_start(VadStream* stream, const VadWaveFormat* format, uint32_t now_ms,
                           uint32_t* stream_id);
VadResult vad_stream_write(VadStream* stream, const uint8_t* bytes, uint32_t length);
VadResult vad_stream_set_format(VadStream* stream, const VadWaveFormat* format);
VadResult vad_stream_set_state(VadStream* stream, uint32_t state);

#ifdef __cplusplus
}
#endif

#endif
