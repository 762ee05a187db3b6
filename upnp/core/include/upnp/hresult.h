// COM status codes with their Windows values, as the library's interfaces return them.
#pragma once
#include <cstdint>

namespace upnp {

using Hresult = int32_t;

inline constexpr Hresult kSOk = 0;
inline constexpr Hresult kSFalse = 1;
inline constexpr Hresult kENotImpl = static_cast<Hresult>(0x80004001);
inline constexpr Hresult kENoInterface = static_cast<Hresult>(0x80004002);
inline constexpr Hresult kEPointer = static_cast<Hresult>(0x80004003);
inline constexpr Hresult kEFail = static_cast<Hresult>(0x80004005);
inline constexpr Hresult kEOutOfMemory = static_cast<Hresult>(0x8007000E);
inline constexpr Hresult kClassENoAggregation = static_cast<Hresult>(0x80040110);
inline constexpr Hresult kClassEClassNotAvailable = static_cast<Hresult>(0x80040111);

inline constexpr bool Failed(Hresult hr) { return hr < 0; }

}  // namespace upnp
