// The benchmark's command line: the option walk, the usage text, the conflict rules and the
// option dump.
#pragma once
#include "bench/core/debug_log.h"
#include "bench/core/options.h"

namespace vexmark {

// command_line is the text after the program name; null when there is none.
void vProcessCMDLine(const char* command_line, VexmarkOptions& options, DebugLog& log);

}  // namespace vexmark
