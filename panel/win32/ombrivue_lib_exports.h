// The exports of OmbrivueLib.dll: plain C functions, 32-bit integers, UTF-16 text, 0 for
// success where a status is returned.
#pragma once
#include <cstdint>

#include "panel/core/library_records.h"

#ifdef OMBRIVUE_LIB_BUILD
#define OMBRIVUE_API extern "C" __declspec(dllexport)
#else
#define OMBRIVUE_API extern "C" __declspec(dllimport)
#endif

OMBRIVUE_API int32_t ZYNOV_LibraryInit();
OMBRIVUE_API void ZYNOV_LibraryDestroy();
OMBRIVUE_API int32_t ZYNOV_ServiceInit(int32_t receiver);
OMBRIVUE_API void ZYNOV_BackgroundTask(panel::LibraryEvent* event);
OMBRIVUE_API int32_t ZYNOV_GetDeviceCount();
OMBRIVUE_API void ZYNOV_GetDeviceInfo(int32_t receiver, panel::ReceiverInfo* info);
OMBRIVUE_API void ZYNOV_GetDeviceUniqueName(int32_t receiver, wchar_t* buffer, int32_t capacity);
OMBRIVUE_API void ZYNOV_SetSelectDevice(int32_t receiver);
OMBRIVUE_API void ZYNOV_Rediscovery();
OMBRIVUE_API int32_t ZYNOV_SetCommand(int32_t receiver, const wchar_t* command,
                                      const wchar_t* parameter);
OMBRIVUE_API int32_t ZYNOV_GetVideoMode();
OMBRIVUE_API void ZYNOV_SetVideoMode(int32_t mode);
OMBRIVUE_API int32_t ZYNOV_GetLocalAudio();
OMBRIVUE_API void ZYNOV_SetLocalAudio(int32_t on);
OMBRIVUE_API int32_t ZYNOV_ExistH264Encoder();
OMBRIVUE_API int32_t ZYNOV_GetPortNumber();
OMBRIVUE_API int32_t ZYNOV_ExistExtensionScreen();
OMBRIVUE_API int32_t ZYNOV_GetExtensionScreen();
OMBRIVUE_API void ZYNOV_SetExtensionScreen(int32_t on);
OMBRIVUE_API void ZYNOV_SetVirtualExtend(int32_t value);
