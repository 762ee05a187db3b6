// Windows error codes as the ports report them: the values of the Win32 API.
#pragma once
#include <cstdint>

namespace platform {

using WinError = uint32_t;

inline constexpr WinError kErrorSuccess = 0;
inline constexpr WinError kErrorFileNotFound = 2;
inline constexpr WinError kErrorPathNotFound = 3;
inline constexpr WinError kErrorAccessDenied = 5;
inline constexpr WinError kErrorInvalidHandle = 6;
inline constexpr WinError kErrorNotEnoughMemory = 8;
inline constexpr WinError kErrorInvalidData = 13;
inline constexpr WinError kErrorNoMoreFiles = 18;
inline constexpr WinError kErrorNotSupported = 50;
inline constexpr WinError kErrorInvalidParameter = 87;
inline constexpr WinError kErrorInsufficientBuffer = 122;
inline constexpr WinError kErrorAlreadyExists = 183;
inline constexpr WinError kErrorMoreData = 234;
inline constexpr WinError kErrorNoMoreItems = 259;
inline constexpr WinError kErrorKeyDeleted = 1018;
inline constexpr WinError kErrorInvalidClass = 0xE0000209;  // setup API: unknown setup class

}  // namespace platform
