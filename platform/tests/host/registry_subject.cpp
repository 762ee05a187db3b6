#include "registry_subject.h"
#include "platform/sim/sim_registry.h"

namespace registry_contract {

std::unique_ptr<platform::Registry> MakeRegistry() {
  return std::make_unique<platform::sim::SimRegistry>();
}

bool HasSeparate64BitView() { return false; }

}  // namespace registry_contract
