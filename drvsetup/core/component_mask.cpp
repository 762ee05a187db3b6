#include "drvsetup/core/component_mask.h"

namespace drvsetup {

uint32_t EffectiveComponentMask(uint32_t chosen, bool windows7_or_later) {
  if (chosen != 0) return chosen;
  constexpr uint32_t kDefault =
      kComponentVfbdd | kComponentVqmdd | kComponentNetworkPackage | kComponentVirtualAudio;
  return windows7_or_later ? kDefault | kComponentFilterDriver : kDefault;
}

}  // namespace drvsetup
