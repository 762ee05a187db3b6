#include "panel/win32/win32_ombrivue_library.h"

#include "panel/win32/ombrivue_lib_exports.h"

// wchar_t is UTF-16 on Windows, so the panel's char16_t text passes through unchanged.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

namespace panel::win32 {
namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

int32_t OmbrivueLibrary::LibraryInit() { return ZYNOV_LibraryInit(); }
void OmbrivueLibrary::LibraryDestroy() { ZYNOV_LibraryDestroy(); }
int32_t OmbrivueLibrary::ServiceInit(int32_t receiver) { return ZYNOV_ServiceInit(receiver); }
void OmbrivueLibrary::BackgroundTask(LibraryEvent* event) { ZYNOV_BackgroundTask(event); }
int32_t OmbrivueLibrary::GetDeviceCount() { return ZYNOV_GetDeviceCount(); }
void OmbrivueLibrary::GetDeviceInfo(int32_t receiver, ReceiverInfo* info) {
  ZYNOV_GetDeviceInfo(receiver, info);
}
void OmbrivueLibrary::GetDeviceUniqueName(int32_t receiver, char16_t* buffer, int32_t capacity) {
  ZYNOV_GetDeviceUniqueName(receiver, reinterpret_cast<wchar_t*>(buffer), capacity);
}
void OmbrivueLibrary::SetSelectDevice(int32_t receiver) { ZYNOV_SetSelectDevice(receiver); }
void OmbrivueLibrary::Rediscovery() { ZYNOV_Rediscovery(); }
int32_t OmbrivueLibrary::SetCommand(int32_t receiver, const char16_t* command,
                                    const char16_t* parameter) {
  return ZYNOV_SetCommand(receiver, Wide(command), Wide(parameter));
}
int32_t OmbrivueLibrary::GetVideoMode() { return ZYNOV_GetVideoMode(); }
void OmbrivueLibrary::SetVideoMode(int32_t mode) { ZYNOV_SetVideoMode(mode); }
int32_t OmbrivueLibrary::GetLocalAudio() { return ZYNOV_GetLocalAudio(); }
void OmbrivueLibrary::SetLocalAudio(int32_t on) { ZYNOV_SetLocalAudio(on); }
int32_t OmbrivueLibrary::ExistH264Encoder() { return ZYNOV_ExistH264Encoder(); }
int32_t OmbrivueLibrary::GetPortNumber() { return ZYNOV_GetPortNumber(); }
int32_t OmbrivueLibrary::ExistExtensionScreen() { return ZYNOV_ExistExtensionScreen(); }
int32_t OmbrivueLibrary::GetExtensionScreen() { return ZYNOV_GetExtensionScreen(); }
void OmbrivueLibrary::SetExtensionScreen(int32_t on) { ZYNOV_SetExtensionScreen(on); }
void OmbrivueLibrary::SetVirtualExtend(int32_t value) { ZYNOV_SetVirtualExtend(value); }

}  // namespace panel::win32
