// The sync port and clock under test: the host implementations on Linux, the Windows adapters
// under Wine.
#pragma once
#include <memory>

#include "platform/sync.h"

namespace platform::testing {

std::unique_ptr<Sync> MakeSync();
// The real clock of the platform (not a virtual one).
std::unique_ptr<Clock> MakeClock();

}  // namespace platform::testing
