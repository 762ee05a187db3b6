#include "vad_feed.h"

namespace vad {

VadWaveFormat PcmFormat(uint32_t samples_per_sec, uint16_t channels, uint16_t bits) {
  const uint16_t block_align = static_cast<uint16_t>(channels * (bits / 8));
  return VadWaveFormat{1,    channels, samples_per_sec, samples_per_sec * block_align, block_align,
                       bits, 0};
}

Feed::~Feed() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

DWORD Feed::Open() {
  handle_ = CreateFileW(VAD_FEED_WIN32_PATH, GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  return handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0;
}

DWORD Feed::Send(DWORD code, const void* in, DWORD in_size, void* out, DWORD out_size) {
  DWORD returned = 0;
  if (DeviceIoControl(handle_, code, const_cast<void*>(in), in_size, out, out_size, &returned,
                      nullptr)) {
    return 0;
  }
  return GetLastError();
}

DWORD Feed::Start(const VadWaveFormat& format, uint32_t* stream_id) {
  const VadFeedStart start{format, GetTickCount()};
  return Send(VAD_IOCTL_FEED_START, &start, sizeof start, stream_id, sizeof *stream_id);
}

DWORD Feed::Write(const void* bytes, DWORD length) {
  return Send(VAD_IOCTL_FEED_WRITE, bytes, length, nullptr, 0);
}

DWORD Feed::SetFormat(const VadWaveFormat& format) {
  return Send(VAD_IOCTL_FEED_FORMAT, &format, sizeof format, nullptr, 0);
}

DWORD Feed::SetState(uint32_t state) {
  return Send(VAD_IOCTL_FEED_STATE, &state, sizeof state, nullptr, 0);
}

DWORD Feed::Journal(std::vector<VadJournalEntry>* entries) {
  entries->assign(VAD_JOURNAL_SIZE, VadJournalEntry{});
  DWORD returned = 0;
  if (!DeviceIoControl(handle_, VAD_IOCTL_FEED_JOURNAL, nullptr, 0, entries->data(),
                       static_cast<DWORD>(entries->size() * sizeof(VadJournalEntry)), &returned,
                       nullptr)) {
    entries->clear();
    return GetLastError();
  }
  entries->resize(returned / sizeof(VadJournalEntry));
  return 0;
}

}  // namespace vad
