#include "sync_subject.h"

#include "platform/sim/sim_sync.h"

namespace platform::testing {

std::unique_ptr<Sync> MakeSync() { return std::make_unique<sim::HostSync>(); }
std::unique_ptr<Clock> MakeClock() { return std::make_unique<sim::HostClock>(); }

}  // namespace platform::testing
