// The removal steps the component mask selects, in their fixed order.
#pragma once
#include <cstdint>
#include <memory>

#include "drvsetup/core/progress_windows.h"
#include "drvsetup/core/setup_ports.h"

namespace drvsetup {

// The hardware id of the component being removed is held in a buffer of this size.
inline constexpr size_t kHardwareIdBufferBytes = 100;

// Runs the steps of values 1, 2, 8, 16 and 4, each when its flag is set; failures do not
// stop the sequence. The progress window of the audio step is handed back, so it stays
// until the program ends.
std::unique_ptr<ProgressBar> RunRemovalSequence(SetupPorts& ports, uint32_t components);

}  // namespace drvsetup
