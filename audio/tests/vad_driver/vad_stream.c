#include "vad_stream.h"

#include <string.h>

#define VAD_FORMAT_PCM 1u
#define VAD_FORMAT_IEEE_FLOAT 3u

/* The block starts a mapped page, so `ready`, its first word, is aligned though the record is
 * packed. */
static uint32_t* ready_word(VadStream* stream) {
  return (uint32_t*)__builtin_assume_aligned(&stream->block->ready, 4);
}

/* A reader takes its snapshot only while `ready` is set, so every change of the block happens
 * with it cleared. */
static void begin_update(VadStream* stream) {
  __atomic_store_n(ready_word(stream), 0u, __ATOMIC_SEQ_CST);
}

static void end_update(VadStream* stream) {
  __atomic_store_n(ready_word(stream), 1u, __ATOMIC_SEQ_CST);
}

static VadRingRecord* current_record(VadStream* stream) {
  return &stream->block->record[stream->block->current_record & 1u];
}

void vad_stream_init(VadStream* stream, VadStatusBlock* block, uint8_t* data) {
  stream->block = block;
  stream->data = data;
  memset(block, 0, sizeof *block);
  for (uint32_t i = 0; i < 2; ++i) {
    block->record[i].offset = i * VAD_REGION_SIZE;
    block->record[i].size = VAD_REGION_SIZE;
  }
  end_update(stream);
}

int vad_format_is_valid(const VadWaveFormat* format) {
  if (format->format_tag != VAD_FORMAT_PCM && format->format_tag != VAD_FORMAT_IEEE_FLOAT) return 0;
  if (format->extra_size != 0) return 0;
  if (format->channels == 0 || format->channels > 8) return 0;
  const uint16_t bits = format->bits_per_sample;
  if (format->format_tag == VAD_FORMAT_PCM && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return 0;
  if (format->format_tag == VAD_FORMAT_IEEE_FLOAT && bits != 32) return 0;
  if (format->samples_per_sec < 1000 || format->samples_per_sec > 384000) return 0;
  if (format->block_align != format->channels * (bits / 8)) return 0;
  return format->avg_bytes_per_sec == format->samples_per_sec * format->block_align;
}

VadResult vad_stream_start(VadStream* stream, const VadWaveFormat* format, uint32_t now_ms,
                           uint32_t* stream_id) {
  if (!vad_format_is_valid(format)) return VAD_BAD_FORMAT;
  VadStatusBlock* block = stream->block;
  begin_update(stream);
  /* Ids grow as signed values and are never 0 ("no stream"). */
  uint32_t id = block->stream_id + 1u;
  if ((int32_t)id <= 0) id = 1;
  block->stream_id = id;
  block->start_stamp = now_ms;
  block->current_record = (block->current_record + 1u) & 1u;
  current_record(stream)->write_position = 0;
  block->format = *format;
  block->stream_state = VAD_STATE_RUNNING;
  end_update(stream);
  *stream_id = id;
  return VAD_OK;
}

VadResult vad_stream_write(VadStream* stream, const uint8_t* bytes, uint32_t length) {
  VadStatusBlock* block = stream->block;
  if (block->stream_id == 0) return VAD_NO_STREAM;
  if (block->stream_state != VAD_STATE_RUNNING) return VAD_NOT_RUNNING;
  if (length % block->format.block_align != 0) return VAD_PARTIAL_FRAME;
  VadRingRecord* record = current_record(stream);
  uint8_t* region = stream->data + record->offset;
  uint64_t position = record->write_position;
  /* Only the last region's worth of a longer write can survive in the ring. */
  uint32_t skip = length > record->size ? length - record->size : 0;
  position += skip;
  for (uint32_t done = skip; done < length;) {
    const uint32_t at = (uint32_t)(position % record->size);
    uint32_t span = record->size - at;
    if (span > length - done) span = length - done;
    memcpy(region + at, bytes + done, span);
    done += span;
    position += span;
  }
  /* The bytes are in place before the position that announces them. */
  begin_update(stream);
  record->write_position = position;
  end_update(stream);
  return VAD_OK;
}

VadResult vad_stream_set_format(VadStream* stream, const VadWaveFormat* format) {
  if (stream->block->stream_id == 0) return VAD_NO_STREAM;
  if (!vad_format_is_valid(format)) return VAD_BAD_FORMAT;
  begin_update(stream);
  stream->block->format = *format;
  end_update(stream);
  return VAD_OK;
}

VadResult vad_stream_set_state(VadStream* stream, uint32_t state) {
  if (stream->block->stream_id == 0) return VAD_NO_STREAM;
  if (state > VAD_STATE_RUNNING) return VAD_BAD_STATE;
  begin_update(stream);
  stream->block->stream_state = state;
  end_update(stream);
  return VAD_OK;
}
