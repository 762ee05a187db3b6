// The component mask: one flag per removable component.
#pragma once
#include <cstdint>

namespace drvsetup {

inline constexpr uint32_t kComponentVfbdd = 1;           // virtual display device
inline constexpr uint32_t kComponentVqmdd = 2;           // virtual display device
inline constexpr uint32_t kComponentNetworkPackage = 4;  // USB network adapter driver package
inline constexpr uint32_t kComponentVirtualAudio = 8;    // virtual audio device
inline constexpr uint32_t kComponentFilterDriver = 16;   // display filter driver
inline constexpr uint32_t kAllComponents = 31;

// The mask to work with: the chosen one, or when none is chosen everything except the
// filter driver, which is added from Windows 7 on.
uint32_t EffectiveComponentMask(uint32_t chosen, bool windows7_or_later);

}  // namespace drvsetup
