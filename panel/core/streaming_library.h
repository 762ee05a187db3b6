// The streaming library as the control panel calls it: one operation per ZYNOV_ export, with
// its argument and result conventions (32-bit integers, 0 for success, UTF-16 text).
#pragma once
#include <cstdint>

#include "panel/core/library_records.h"

namespace panel {

inline constexpr char16_t kCommandSetPlay[] = u"SetPlay";
inline constexpr char16_t kCommandSetStop[] = u"SetStop";
inline constexpr char16_t kVariablePlay[] = u"varPlay";

class StreamingLibrary {
 public:
  virtual ~StreamingLibrary() = default;
  virtual int32_t LibraryInit() = 0;
  virtual void LibraryDestroy() = 0;
  virtual int32_t ServiceInit(int32_t receiver) = 0;
  // Fills at most one event; Code 0 when there is none.
  virtual void BackgroundTask(LibraryEvent* event) = 0;
  virtual int32_t GetDeviceCount() = 0;
  virtual void GetDeviceInfo(int32_t receiver, ReceiverInfo* info) = 0;
  // capacity in characters; the text is always terminated within it.
  virtual void GetDeviceUniqueName(int32_t receiver, char16_t* buffer, int32_t capacity) = 0;
  virtual void SetSelectDevice(int32_t receiver) = 0;
  virtual void Rediscovery() = 0;
  virtual int32_t SetCommand(int32_t receiver, const char16_t* command,
                             const char16_t* parameter) = 0;
  virtual int32_t GetVideoMode() = 0;
  virtual void SetVideoMode(int32_t mode) = 0;
  virtual int32_t GetLocalAudio() = 0;
  virtual void SetLocalAudio(int32_t on) = 0;
  virtual int32_t ExistH264Encoder() = 0;
  virtual int32_t GetPortNumber() = 0;
  virtual int32_t ExistExtensionScreen() = 0;
  virtual int32_t GetExtensionScreen() = 0;
  virtual void SetExtensionScreen(int32_t on) = 0;
  virtual void SetVirtualExtend(int32_t value) = 0;
};

}  // namespace panel
