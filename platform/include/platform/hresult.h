// COM status codes with their Windows values, as ports and COM-shaped interfaces return them.
#pragma once
#include <cstdint>

namespace platform {

using HResult = int32_t;

inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kENotImpl = static_cast<HResult>(0x80004001);
inline constexpr HResult kENoInterface = static_cast<HResult>(0x80004002);
inline constexpr HResult kEPointer = static_cast<HResult>(0x80004003);
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005);
inline constexpr HResult kEUnexpected = static_cast<HResult>(0x8000FFFF);
inline constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057);
inline constexpr HResult kEOutOfMemory = static_cast<HResult>(0x8007000E);
inline constexpr HResult kENotFound = static_cast<HResult>(0x80070490);
inline constexpr HResult kClassEClassNotAvailable = static_cast<HResult>(0x80040111);
inline constexpr HResult kRegdbEClassNotReg = static_cast<HResult>(0x80040154);
inline constexpr HResult kCoENotInitialized = static_cast<HResult>(0x800401F0);
inline constexpr HResult kRpcEChangedMode = static_cast<HResult>(0x80010106);
inline constexpr HResult kDsErrBufferLost = static_cast<HResult>(0x88780096);
inline constexpr HResult kDsErrInvalidCall = static_cast<HResult>(0x88780032);

constexpr bool Succeeded(HResult hr) { return hr >= 0; }
constexpr bool Failed(HResult hr) { return hr < 0; }

}  // namespace platform
