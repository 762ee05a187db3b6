// The display topology on this PC: the real version, system metrics, display configuration,
// display devices and debug output wired to the core's ApplyTopology.
#pragma once

namespace panel::win32 {

// Applies topology 1 ("only"), 2 ("copy") or 4 ("exp"). Returns 1 when a path ran, 0 when
// nothing was done.
int ApplyTopologyOnThisSystem(int topology);

}  // namespace panel::win32
