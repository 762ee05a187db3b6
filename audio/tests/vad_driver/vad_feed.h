// The audio engine's side of the stand-in driver: private requests that start a stream, hand
// over audio, change the format and the stream state.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "vad_layout.h"

namespace vad {

VadWaveFormat PcmFormat(uint32_t samples_per_sec, uint16_t channels, uint16_t bits);

class Feed {
 public:
  Feed() = default;
  Feed(const Feed&) = delete;
  Feed& operator=(const Feed&) = delete;
  ~Feed();

  // Opens the driver's feed device; the Windows error code, 0 on success.
  DWORD Open();
  // Each returns the Windows error code, 0 on success.
  DWORD Start(const VadWaveFormat& format, uint32_t* stream_id);
  DWORD Write(const void* bytes, DWORD length);
  DWORD SetFormat(const VadWaveFormat& format);
  DWORD SetState(uint32_t state);
  // The driver's request journal, oldest first.
  DWORD Journal(std::vector<VadJournalEntry>* entries);

 private:
  DWORD Send(DWORD code, const void* in, DWORD in_size, void* out, DWORD out_size);
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace vad
