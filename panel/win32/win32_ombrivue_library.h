// The streaming library port over the exports of OmbrivueLib.dll.
#pragma once
#include "panel/core/streaming_library.h"

namespace panel::win32 {

class OmbrivueLibrary : public StreamingLibrary {
 public:
  int32_t LibraryInit() override;
  void LibraryDestroy() override;
  int32_t ServiceInit(int32_t receiver) override;
  void BackgroundTask(LibraryEvent* event) override;
  int32_t GetDeviceCount() override;
  void GetDeviceInfo(int32_t receiver, ReceiverInfo* info) override;
  void GetDeviceUniqueName(int32_t receiver, char16_t* buffer, int32_t capacity) override;
  void SetSelectDevice(int32_t receiver) override;
  void Rediscovery() override;
  int32_t SetCommand(int32_t receiver, const char16_t* command, const char16_t* parameter) override;
  int32_t GetVideoMode() override;
  void SetVideoMode(int32_t mode) override;
  int32_t GetLocalAudio() override;
  void SetLocalAudio(int32_t on) override;
  int32_t ExistH264Encoder() override;
  int32_t GetPortNumber() override;
  int32_t ExistExtensionScreen() override;
  int32_t GetExtensionScreen() override;
  void SetExtensionScreen(int32_t on) override;
  void SetVirtualExtend(int32_t value) override;
};

}  // namespace panel::win32
